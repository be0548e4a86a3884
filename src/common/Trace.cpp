#include "Trace.h"

#include <cstdio>
#include <mutex>

#include "DLLHandle.h"

namespace {
using TraceEntry = int(__cdecl*)(int level, int reserved1, int reserved2, const char* text);

// The trace library, loaded by whichever thread traces first and kept until
// the module releases it. Lines are handed over one at a time, so the pieces
// of a long line stay together and a release never pulls the library from
// under a line being written.
class TraceSink {
public:
    void Deliver(int level, const std::string& line) {
        std::lock_guard<std::mutex> lock(m_lock);
        const TraceEntry entry = Entry();
        if (!entry) return;
        size_t offset = 0;
        while (offset < line.size()) {
            const size_t remaining = line.size() - offset;
            const size_t piece = remaining > Trace::kMaxPiece ? Trace::kMaxPiece : remaining;
            const std::string text = line.substr(offset, piece);
            entry(level, 0, 0, text.c_str());
            offset += piece;
        }
    }

    void Release() noexcept {
        std::lock_guard<std::mutex> lock(m_lock);
        delete m_library;
        m_library = nullptr;
        m_entry = nullptr;
    }

private:
    // Under m_lock.
    TraceEntry Entry() {
        if (!m_library) m_library = new CDLLHandle(L"zvntrace.dll", ModuleOfThisCode());
        if (!m_library->Handle()) return nullptr;
        // While the look-up fails it is repeated: a library might gain the export only after an update.
        if (!m_entry) m_entry = reinterpret_cast<TraceEntry>(::GetProcAddress(m_library->Handle(), "ZVNTRACERAWA"));
        return m_entry;
    }

    static HMODULE ModuleOfThisCode() {
        MEMORY_BASIC_INFORMATION info{};
        if (!::VirtualQuery(reinterpret_cast<const void*>(&ModuleOfThisCode), &info, sizeof(info))) return nullptr;
        return static_cast<HMODULE>(info.AllocationBase);
    }

    std::mutex m_lock;
    // Freed only by Release: at unload the loader lock is held, and a library
    // must not be freed under it.
    CDLLHandle* m_library = nullptr;
    TraceEntry m_entry = nullptr;
};

TraceSink& Sink() {
    // Never destroyed: static objects of the module may trace while they go.
    static TraceSink* const sink = new TraceSink();
    return *sink;
}

void WriteMessage(int level, std::initializer_list<TraceArg> args) {
    const TraceArg* pointers[Trace::kMaxArgs + 1] = {};
    size_t count = 0;
    for (const TraceArg& arg : args) {
        if (count == Trace::kMaxArgs) break;
        pointers[count++] = &arg;
    }
    Trace::WriteTraceLine(level, "", pointers);
}
}  // namespace

CVarAdapter::CVarAdapter(int value) : m_text(std::to_string(value)) {}

CVarAdapter::CVarAdapter(double value, int precision) {
    char buffer[512];
    std::snprintf(buffer, sizeof(buffer), "%#.*f", precision < 0 ? 0 : precision, value);
    m_text = buffer;
}

CVarAdapter::CVarAdapter(const void* pointer) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "0x%0*llX", static_cast<int>(sizeof(void*) * 2),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(pointer)));
    m_text = buffer;
}

CVarAdapter::CVarAdapter(const char* text) : m_text(text ? text : "") {}

CVarAdapter::CVarAdapter(const wchar_t* text) : m_text(Trace::ToAnsi(text)) {}

namespace Trace {
std::string ToAnsi(const wchar_t* text) {
    if (!text || !*text) return {};
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string result(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), bytes, nullptr, nullptr);
    result.resize(static_cast<size_t>(bytes - 1));
    return result;
}

std::string ComposeLine(const char* prefix, const TraceArg* const* args) {
    std::string line;
    if (prefix) {
        line += prefix;
        line += ' ';
    }
    for (int i = 0; args && i < kMaxArgs && args[i]; ++i) {
        const TraceArg& arg = *args[i];
        if (arg.name) {
            line += arg.name;
            line += '=';
        }
        if (arg.value) line += arg.value->Text();
        line += ',';
    }
    line += '\n';
    return line;
}

void Deliver(int level, const std::string& line) { Sink().Deliver(level, line); }

void ReleaseLibrary() noexcept { Sink().Release(); }

void WriteTraceLine(int level, const char* prefix, const TraceArg* const* args) {
    try {
        Deliver(level, ComposeLine(prefix, args));
    } catch (...) {
        // Tracing never fails its caller.
    }
}
}  // namespace Trace

void TraceMessage2(std::initializer_list<TraceArg> args) { WriteMessage(2, args); }
void TraceMessage4(std::initializer_list<TraceArg> args) { WriteMessage(4, args); }
void TraceMessage8(std::initializer_list<TraceArg> args) { WriteMessage(8, args); }

void TraceText(int level, const char* text) {
    const CVarAdapter value(text);
    WriteMessage(level, {{nullptr, &value}});
}

void TraceText(int level, const wchar_t* text) {
    const CVarAdapter value(text);
    WriteMessage(level, {{nullptr, &value}});
}

namespace {
void WriteFunctionLine(const char* arrow, const std::string& label) {
    const TraceArg* noArgs[1] = {nullptr};
    try {
        Trace::WriteTraceLine(2, (arrow + label).c_str(), noArgs);
    } catch (...) {
    }
}
}  // namespace

CAutoFunTrace::CAutoFunTrace(const char* label) : m_label(label ? label : "") { WriteFunctionLine("--> ", m_label); }

CAutoFunTrace::CAutoFunTrace(const wchar_t* label) : m_label(Trace::ToAnsi(label)) {
    WriteFunctionLine("--> ", m_label);
}

CAutoFunTrace::~CAutoFunTrace() { WriteFunctionLine("<-- ", m_label); }
