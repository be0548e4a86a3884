#pragma once
// The frame's services as the benchmarks need them: the suite's web-API
// component loaded from the program's own folder, as the module loads it, and
// a hidden window that swallows the commands posted to the frame. Meeting
// operations are not part of any timed work and do nothing.
#include <windows.h>
#include <wrl/client.h>

#include "DLLHandle.h"
#include "IdleFrameServices.h"
#include "UniqueHandle.h"

namespace bench {
class BenchFrame final : public CIdleFrameServices {
public:
    BenchFrame();
    ~BenchFrame();
    BenchFrame(const BenchFrame&) = delete;
    BenchFrame& operator=(const BenchFrame&) = delete;

    [[nodiscard]] HWND FrameWindow() const noexcept override { return m_window.get(); }
    HRESULT GetSyncObject(IQKWebApiSync** sync, BOOL reset) override;

    // Runs one synchronisation to its end, as the meeting list view does
    // before the day is loaded; TRUE when it succeeded.
    BOOL Synchronise();

private:
    CDLLHandle m_library;
    Microsoft::WRL::ComPtr<IQKWebApiSync> m_sync;
    UniqueHwnd m_window;
};
}  // namespace bench
