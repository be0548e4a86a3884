#pragma once
// The desktop client's icon in the notification area. The main frame owns it;
// what it shows follows the tooltip, image and balloon events on the host's bus.
#include <windows.h>
#include <shellapi.h>

#include "VelEvents.h"
#include "StringEx.h"
#include "UniqueHandle.h"
#include "ResourceIds.h"

class CTrayIcon : public CVelEventListener {
public:
    static constexpr UINT kSignedOutIcon = IDI_TRAY_SIGNED_OUT;
    static constexpr UINT kSignedInIcon = IDI_TRAY_SIGNED_IN;
    static constexpr int kImageSize = 16;
    // The version-2 record (balloons, no GUID) in this build's pointer width.
    static constexpr DWORD kRecordSize = NOTIFYICONDATAW_V2_SIZE;
    // What HandleEvent answers for a balloon without text or title.
    static constexpr HRESULT kIncompleteBalloon = static_cast<HRESULT>(-1);

    // Image states carried by the image event.
    enum ImageState : INT_PTR { SignedOut = 0, SignedIn = 1, ClearState = 2, SecondSignedIn = 3 };

    CTrayIcon();
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // CVelEventListener: 13 tooltip, 14 image state, 25 balloon.
    HRESULT HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;

    // Non-zero when the shell took the icon.
    BOOL Create(HWND owner, UINT callbackMessage, UINT id);
    void Destroy();
    // Take the icon out of the notification area and put it back with its
    // current image, tooltip and callback; a restarted shell has forgotten it.
    BOOL Remove();
    BOOL Add();

    // What was last handed to the shell, and the images it chooses from.
    [[nodiscard]] const NOTIFYICONDATAW& Record() const noexcept { return m_data; }
    [[nodiscard]] HICON SignedOutImage() const noexcept { return m_signedOut.get(); }
    [[nodiscard]] HICON SignedInImage() const noexcept { return m_signedIn.get(); }
    [[nodiscard]] HICON SecondSignedInImage() const noexcept { return m_secondSignedIn.get(); }
    [[nodiscard]] const CStringEx& Tooltip() const noexcept { return m_tooltip; }
    [[nodiscard]] INT_PTR LastImageState() const noexcept { return m_lastImageState; }
    [[nodiscard]] DWORD StateWord() const noexcept { return m_stateWord; }

private:
    void OnTooltip(const wchar_t* text);
    void OnImageState(INT_PTR state);
    HRESULT OnBalloon(const wchar_t* text, const wchar_t* title, INT_PTR timeoutMs);
    void ShowImage(HICON image);
    BOOL Modify(UINT flags);

    NOTIFYICONDATAW m_data;
    UniqueHicon m_signedOut;
    UniqueHicon m_signedIn;
    UniqueHicon m_secondSignedIn;
    DWORD m_stateWord = 0;
    CStringEx m_tooltip;
    INT_PTR m_lastImageState = SignedOut;
};
