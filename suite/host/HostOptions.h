#pragma once
// The host's own command line: which module to run and its start parameters.
// Everything the host does not consume is passed on to the module.
//
//   qkhost.exe [/module:<ProgID|{CLSID}>] [/dll:<path>] [/param:<name>[=<value>]]... [/quitwhenready]
//              [module arguments]
//
// /quitwhenready closes the host as soon as the module has started and its
// first messages are handled: how long a start takes, measured from outside.
#include <map>
#include <string>
#include <vector>

struct HostOptions {
    std::wstring module = L"qkSJUI 0.0.0.3";  // the desktop client
    std::wstring dllPath;                     // load from this file instead of the registry
    std::map<std::wstring, std::wstring> parameters;
    std::wstring moduleCommandLine;           // program name first
    bool quitWhenReady = false;
    std::wstring error;                       // set when the line could not be read
};

HostOptions ParseHostOptions(const std::vector<std::wstring>& arguments);
// Quotes an argument when the platform's splitter would otherwise cut it.
std::wstring QuoteArgument(const std::wstring& argument);
