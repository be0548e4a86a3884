#pragma once
// The meeting-pages object: scheduling, editing, the site's pages, help and
// the about box. Nothing is shown; each call is written to the call log and
// answered with the configured result.
#include <windows.h>

#include "QkMeetingLibs.h"
#include "shared/ComServer.h"

class CCallLine;

namespace MeetingLib {

class CMeetingPages final : public CSingleInterfaceObject<IQKMeetingPages>, public CServerObject {
public:
    CMeetingPages() = default;


    // IQKMeetingPages
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ScheduleMeeting(HWND owner) override;
    HRESULT STDMETHODCALLTYPE EditMeeting(BSTR meetingReference) override;
    HRESULT STDMETHODCALLTYPE OpenAddress(HWND owner, BSTR address) override;
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved12() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GoToMeetingSite() override;
    HRESULT STDMETHODCALLTYPE Reserved14() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved15() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved16() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved17() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowHelp(LONG topic) override;
    HRESULT STDMETHODCALLTYPE ShowAboutBox(HWND owner) override;
    HRESULT STDMETHODCALLTYPE Reserved20() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved21() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ConnectToMyComputer(HWND owner) override;
    HRESULT STDMETHODCALLTYPE IsLibraryCurrent() override;

private:
    // Writes the line and answers the configured result of an action.
    static HRESULT Record(const CCallLine& line) noexcept;

};
}  // namespace MeetingLib
