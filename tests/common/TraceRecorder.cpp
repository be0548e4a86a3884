#include "TraceRecorder.h"

#include "Trace.h"
#include "support/TestSupport.h"

TraceRecorder::TraceRecorder(HMODULE library) {
    if (!library) return;
    m_count = reinterpret_cast<CountFn>(::GetProcAddress(library, "RecordedCount"));
    m_call = reinterpret_cast<CallFn>(::GetProcAddress(library, "RecordedCall"));
    m_clear = reinterpret_cast<ClearFn>(::GetProcAddress(library, "ClearRecorded"));
}

std::vector<RecordedTrace> TraceRecorder::Calls() const {
    std::vector<RecordedTrace> calls;
    if (!Valid()) return calls;
    std::string buffer(8192, '\0');
    for (int i = 0, count = m_count(); i < count; ++i) {
        RecordedTrace call{};
        if (!m_call(i, &call.level, &call.reservedSum, buffer.data(), static_cast<int>(buffer.size()))) break;
        call.text = buffer.c_str();
        calls.push_back(call);
    }
    return calls;
}

std::vector<std::string> TraceRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const RecordedTrace& call : Calls()) texts.push_back(call.text);
    return texts;
}

void TraceRecorder::Clear() const {
    if (m_clear) m_clear();
}

TraceRecorder TraceRecorder::Beside() {
    TraceText(2, "warm up");
    TraceRecorder recorder(::GetModuleHandleW((testsupport::BinFolder() + L"zvntrace.dll").c_str()));
    recorder.Clear();
    return recorder;
}
