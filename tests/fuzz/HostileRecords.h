#pragma once
// Command-line records a second process hands to the running client, from the
// ordinary to the hostile. The sending program and the tests share the table.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace fuzz {
// The tag of a command-line record, zero-extended on 64-bit.
inline constexpr ULONG_PTR kCommandLineTag = 0xFFFFFFFF;

struct HostileRecord {
    const char* name;
    ULONG_PTR tag;
    std::vector<BYTE> bytes;  // what the record points to
    DWORD size;               // what the record says it holds
    bool noData;              // a null pointer however large the size
    // The command line the client keeps: none when it must ignore the record,
    // "*" when any text will do.
    std::optional<std::wstring> kept;
};

std::vector<HostileRecord> HostileRecords();
}  // namespace fuzz
