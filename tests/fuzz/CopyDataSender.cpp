// A second process handing one record of the hostile table to a window:
//   qkcopydatasend WINDOW INDEX
// WINDOW in hexadecimal. Exit code 0 when the window took the record, 2 when
// the system did not deliver it, 64 for bad arguments.
#include <windows.h>

#include <cstdlib>

#include "HostileRecords.h"

// A window program: a console one would make the system start a console for it.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int argc = __argc;
    char** const argv = __argv;
    if (argc != 3) return 64;
    const auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[1], nullptr, 16)));
    const std::vector<fuzz::HostileRecord> records = fuzz::HostileRecords();
    const size_t index = std::strtoul(argv[2], nullptr, 10);
    if (index >= records.size()) return 64;
    const fuzz::HostileRecord& record = records[index];
    COPYDATASTRUCT data{};
    data.dwData = record.tag;
    data.cbData = record.size;
    data.lpData = record.noData ? nullptr : const_cast<BYTE*>(record.bytes.data());
    DWORD_PTR result = 0;
    const LRESULT sent = ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                               SMTO_ABORTIFHUNG, 5000, &result);
    return sent ? 0 : 2;
}
