#include "CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace {
struct LocalFreeDeleter {
    void operator()(LPWSTR* arguments) const noexcept { ::LocalFree(arguments); }
};
}  // namespace

std::optional<std::wstring> ArgumentsAfterProgram(const wchar_t* commandLine) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> arguments(
        ::CommandLineToArgvW(commandLine ? commandLine : L"", &count));
    if (!arguments) return std::nullopt;
    std::wstring text;
    for (int i = 1; i < count; ++i) text += arguments.get()[i];
    return text;
}
