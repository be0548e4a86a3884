#pragma once
// Trace lines for the suite's trace library ("zvntrace.dll" beside the module).
// A line is composed in full, then handed to the library in pieces of at most
// 2047 characters; without the library every line is silently dropped.
#include <windows.h>

#include <initializer_list>
#include <string>

// The text form of one traced value, in the ANSI code page.
class CVarAdapter {
public:
    explicit CVarAdapter(int value);
    CVarAdapter(double value, int precision);
    explicit CVarAdapter(const void* pointer);
    explicit CVarAdapter(const char* text);
    explicit CVarAdapter(const wchar_t* text);
    explicit CVarAdapter(const std::wstring& text) : CVarAdapter(text.c_str()) {}
    virtual ~CVarAdapter() = default;

    [[nodiscard]] const char* Text() const noexcept { return m_text.c_str(); }

private:
    std::string m_text;
};

// A named value of a trace line; either part may be null.
struct TraceArg {
    const char* name;
    const CVarAdapter* value;
};

namespace Trace {
inline constexpr int kMaxArgs = 10;
inline constexpr size_t kMaxPiece = 2047;

// Composes a line: the prefix and a space (when a prefix is given), then each
// argument as "name=" (when named) and "value," — stopping at the first null
// argument or after ten.
std::string ComposeLine(const char* prefix, const TraceArg* const* args);
// Composes and delivers one line at `level`.
void WriteTraceLine(int level, const char* prefix, const TraceArg* const* args);
// Delivers an already composed line in pieces.
void Deliver(int level, const std::string& line);
// Frees the trace library (when the module stops, outside the loader lock); a
// later line loads it again.
void ReleaseLibrary() noexcept;

// Wide to ANSI code page.
std::string ToAnsi(const wchar_t* text);
}  // namespace Trace

// The message entry points: each argument goes out as "name=value," or "value,".
void TraceMessage2(std::initializer_list<TraceArg> args);
void TraceMessage4(std::initializer_list<TraceArg> args);
void TraceMessage8(std::initializer_list<TraceArg> args);

// One text at a level: " text,\n".
void TraceText(int level, const char* text);
void TraceText(int level, const wchar_t* text);
inline void TraceError(const char* text) { TraceText(8, text); }

// Writes "--> label \n" now and "<-- label \n" when the scope ends.
class CAutoFunTrace {
public:
    explicit CAutoFunTrace(const char* label);
    explicit CAutoFunTrace(const wchar_t* label);
    virtual ~CAutoFunTrace();
    CAutoFunTrace(const CAutoFunTrace&) = delete;
    CAutoFunTrace& operator=(const CAutoFunTrace&) = delete;

private:
    std::string m_label;
};
