#include "support/DebugOutput.h"

#include <utility>

namespace testsupport {
namespace {
DebugOutputCapture* g_active = nullptr;

#ifndef DBG_PRINTEXCEPTION_WIDE_C
constexpr DWORD DBG_PRINTEXCEPTION_WIDE_C = 0x4001000A;
#endif
}  // namespace

DebugOutputCapture::DebugOutputCapture() : m_thread(::GetCurrentThreadId()) {
    g_active = this;
    m_handler = ::AddVectoredExceptionHandler(1, &Handler);
}

DebugOutputCapture::~DebugOutputCapture() {
    ::RemoveVectoredExceptionHandler(m_handler);
    g_active = nullptr;
}

std::vector<std::wstring> DebugOutputCapture::Take() {
    return std::exchange(m_texts, {});
}

LONG CALLBACK DebugOutputCapture::Handler(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    const DWORD code = record->ExceptionCode;
    if (code != DBG_PRINTEXCEPTION_WIDE_C && code != DBG_PRINTEXCEPTION_C) return EXCEPTION_CONTINUE_SEARCH;
    DebugOutputCapture* self = g_active;
    if (!self || ::GetCurrentThreadId() != self->m_thread || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    // Both carry the character count (with the terminator) and the text; the
    // wide form is raised first, and handling it keeps the narrow one back.
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    const auto address = record->ExceptionInformation[1];
    if (code == DBG_PRINTEXCEPTION_WIDE_C) {
        const auto* text = reinterpret_cast<const wchar_t*>(address);
        self->m_texts.emplace_back(text, length ? length - 1 : 0);
    } else {
        const auto* text = reinterpret_cast<const char*>(address);
        const int narrow = static_cast<int>(length ? length - 1 : 0);
        std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text, narrow, nullptr, 0)), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, text, narrow, wide.data(), static_cast<int>(wide.size()));
        self->m_texts.push_back(std::move(wide));
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}
}  // namespace testsupport
