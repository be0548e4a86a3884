#include "HostileRecords.h"

namespace fuzz {
namespace {
// What a second instance writes before its arguments: its own program.
const std::wstring kProgram = L"\"C:\\suite\\qkhost.exe\" ";

std::vector<BYTE> Bytes(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.data());
    return {first, first + text.size() * sizeof(wchar_t)};
}

DWORD SizeOf(const std::wstring& text) { return static_cast<DWORD>(text.size() * sizeof(wchar_t)); }

std::wstring Repeat(const wchar_t* piece, size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i) text += piece;
    return text;
}
}  // namespace

std::vector<HostileRecord> HostileRecords() {
    const std::wstring hello = kProgram + L"/Hello";
    const std::wstring terminated = hello + L'\0';
    const std::wstring longer = hello + L"AndMore";
    const std::wstring embedded = hello + std::wstring(1, L'\0') + L"/OpenSetting";
    const std::wstring large = kProgram + std::wstring(1u << 18, L'A');
    const std::wstring huge = kProgram + std::wstring(2u << 20, L'A');
    const std::wstring many = kProgram + Repeat(L"/a ", 20000);
    const std::wstring surrogate = kProgram + L"/He\xD800llo";
    const std::wstring unbalanced = L"\"C:\\suite\\qkhost.exe /Hello";
    std::vector<BYTE> noise(4096);
    unsigned state = 12345;
    for (BYTE& b : noise) b = static_cast<BYTE>((state = state * 1103515245u + 12345u) >> 16);

    return {
        {"terminated", kCommandLineTag, Bytes(terminated), SizeOf(terminated), false, L"/Hello"},
        {"no terminator", kCommandLineTag, Bytes(hello), SizeOf(hello), false, L"/Hello"},
        {"size short of the text", kCommandLineTag, Bytes(longer), SizeOf(hello), false, L"/Hello"},
        {"odd size", kCommandLineTag, Bytes(hello + L"X"), SizeOf(hello) + 1, false, L"/Hello"},
        {"odd size inside the last character", kCommandLineTag, Bytes(hello), SizeOf(hello) - 1, false, L"/Hell"},
        {"one byte", kCommandLineTag, {0x41}, 1, false, L""},
        {"zero size with data", kCommandLineTag, Bytes(hello), 0, false, std::nullopt},
        {"null data with a size", kCommandLineTag, {}, 64, true, std::nullopt},
        {"unknown tag 0", 0, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"unknown tag 1", 1, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"unknown tag 0xFFFFFFFE", 0xFFFFFFFE, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"sign-extended tag", ~ULONG_PTR{0}, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"tag above 32 bits", ULONG_PTR{0x1FFFFFFFF}, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"embedded terminator", kCommandLineTag, Bytes(embedded), SizeOf(embedded), false, L"/Hello"},
        {"unbalanced quote", kCommandLineTag, Bytes(unbalanced), SizeOf(unbalanced), false, L""},
        {"lone surrogate", kCommandLineTag, Bytes(surrogate), SizeOf(surrogate), false, L"/He\xD800llo"},
        {"20000 arguments", kCommandLineTag, Bytes(many), SizeOf(many), false, Repeat(L"/a", 20000)},
        {"512 KB", kCommandLineTag, Bytes(large), SizeOf(large), false, std::wstring(1u << 18, L'A')},
        {"4 MB", kCommandLineTag, Bytes(huge), SizeOf(huge), false, std::wstring(2u << 20, L'A')},
        {"binary noise", kCommandLineTag, noise, static_cast<DWORD>(noise.size()), false, L"*"},
    };
}
}  // namespace fuzz
