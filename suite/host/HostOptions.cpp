#include "host/HostOptions.h"

#include <cwctype>

namespace {
bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    for (size_t i = 0; prefix[i]; ++i) {
        if (i >= text.size() || std::towlower(text[i]) != std::towlower(prefix[i])) return false;
    }
    return true;
}
}  // namespace

std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') quoted.append(backslashes * 2 + 1, L'\\');
        else quoted.append(backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

HostOptions ParseHostOptions(const std::vector<std::wstring>& arguments) {
    HostOptions options;
    if (arguments.empty()) return options;
    // The program name is always quoted, as the shell starts programs.
    options.moduleCommandLine = L"\"" + arguments[0] + L"\"";
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (StartsWithNoCase(argument, L"/module:")) {
            options.module = argument.substr(8);
        } else if (StartsWithNoCase(argument, L"/dll:")) {
            options.dllPath = argument.substr(5);
        } else if (argument.size() == 14 && StartsWithNoCase(argument, L"/quitwhenready")) {
            options.quitWhenReady = true;
        } else if (StartsWithNoCase(argument, L"/param:")) {
            const std::wstring parameter = argument.substr(7);
            const size_t equals = parameter.find(L'=');
            const std::wstring name = parameter.substr(0, equals);
            if (name.empty()) {
                options.error = L"a start parameter needs a name: " + argument;
                return options;
            }
            options.parameters[name] = equals == std::wstring::npos ? std::wstring() : parameter.substr(equals + 1);
        } else {
            options.moduleCommandLine += L' ';
            options.moduleCommandLine += QuoteArgument(argument);
        }
    }
    if (options.module.empty()) options.error = L"/module: needs a ProgID or a class id";
    return options;
}
