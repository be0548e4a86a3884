// A stand-in for the trace library that keeps every call in memory, so a test
// can read back exactly what the module handed over.
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace {
struct Call {
    int level;
    int reserved1;
    int reserved2;
    std::string text;
};
std::mutex g_lock;
std::vector<Call> g_calls;
}  // namespace

#if defined(QK_TRACE_DOUBLE_WITH_ENTRY)
extern "C" __declspec(dllexport) int __cdecl ZVNTRACERAWA(int level, int reserved1, int reserved2, const char* text) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_calls.push_back({level, reserved1, reserved2, text ? text : "<null>"});
    return 1;
}
#endif

extern "C" __declspec(dllexport) int RecordedCount() {
    std::lock_guard<std::mutex> lock(g_lock);
    return static_cast<int>(g_calls.size());
}

// Copies call `index` out; false when there is no such call.
extern "C" __declspec(dllexport) BOOL RecordedCall(int index, int* level, int* reservedSum, char* text, int length) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (index < 0 || index >= static_cast<int>(g_calls.size()) || !text || length <= 0) return FALSE;
    const Call& call = g_calls[static_cast<size_t>(index)];
    *level = call.level;
    *reservedSum = call.reserved1 + call.reserved2;
    lstrcpynA(text, call.text.c_str(), length);
    return TRUE;
}

extern "C" __declspec(dllexport) void ClearRecorded() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_calls.clear();
}
