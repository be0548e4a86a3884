#pragma once
// Reads back the calls a trace-library double recorded.
#include <windows.h>

#include <string>
#include <vector>

struct RecordedTrace {
    int level;
    int reservedSum;
    std::string text;
    bool operator==(const RecordedTrace&) const = default;
};

class TraceRecorder {
public:
    // `library` is the loaded double (null gives an empty recorder).
    explicit TraceRecorder(HMODULE library);
    // The double beside this executable, loaded by a first trace and emptied.
    static TraceRecorder Beside();
    [[nodiscard]] bool Valid() const noexcept { return m_count && m_call && m_clear; }
    [[nodiscard]] std::vector<RecordedTrace> Calls() const;
    [[nodiscard]] std::vector<std::string> Texts() const;
    void Clear() const;

private:
    using CountFn = int (*)();
    using CallFn = BOOL (*)(int, int*, int*, char*, int);
    using ClearFn = void (*)();
    CountFn m_count = nullptr;
    CallFn m_call = nullptr;
    ClearFn m_clear = nullptr;
};
