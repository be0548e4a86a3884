#pragma once
// The meetings of the one day that the day view shows. The day's meetings
// document from the web-API component is kept as it came; every read goes to
// it, and the provider decides which meetings fit into the visible window.
// The root's children are held in order, so that a meeting is found by its
// index without walking the list to it.
#include <windows.h>
#include <wrl/client.h>

#include <vector>

#include "StringEx.h"
#include "DailyMeetingSink.h"
#include "FrameServices.h"
#include "ResourceIds.h"

class CBubblePara;
class CMeetingFields;

class CMeetingDataProvider : public IDailyMeetingSink {
public:
    // Row units of the visible window; a prominent meeting takes two of them,
    // and at most this many prominent meetings are drawn tall.
    static constexpr int kWindowUnits = 6;
    static constexpr int kTallMeetings = 3;
    static constexpr UINT kRefreshCommand = ID_MEETING_REFRESH;

    // `frame` supplies the synchronisation object and takes refresh requests.
    explicit CMeetingDataProvider(IFrameServices* frame);
    ~CMeetingDataProvider() override;
    CMeetingDataProvider(const CMeetingDataProvider&) = delete;
    CMeetingDataProvider& operator=(const CMeetingDataProvider&) = delete;

    // IDailyMeetingSink
    DATE GetCurrentDate() override { return m_dtCurrentDate; }
    BOOL SetCurrentDate(DATE day) override;
    INT32 GetMeetingCount() override { return m_nCount; }
    INT32 GetFirstVisibleIndex() override { return m_nFirst; }
    INT32 GetLastVisibleIndex() override { return m_nLast; }
    BOOL ScrollUp() override;
    BOOL ScrollDown() override;
    HRESULT GetMeeting(UINT32 index, CMeetingRecord* record) override;

    // Fetches the shown day from the web-API component. With `keep`, the
    // meeting shown first stays first when it is still there, unchanged.
    void LoadDay(BOOL keep);
    // Shows `day` (null: now) with nothing loaded yet.
    void ResetDay(const DATE* day);
    // The periodic check: TRUE when the day must be drawn again.
    BOOL CheckForChanges();
    // Brings a meeting into view; its index or -1.
    INT32 ShowMeeting(const wchar_t* key, const wchar_t* confId, const wchar_t* entryId);
    BOOL GetMeetingDetailUrl(const wchar_t* key, const wchar_t* confId, CStringEx& url);
    BOOL GetMeetingDetailInfo(INT32 index, CBubblePara* para);

    [[nodiscard]] BOOL IsFollowingNow() const noexcept { return m_bFollowNow; }
    [[nodiscard]] BOOL IsToday() const noexcept { return m_bIsToday; }

    // Index of the meeting whose entry id, key or conference id (the first of
    // them given, in that order) matches exactly; -1 when none does.
    INT32 FindMeeting(const wchar_t* key, const wchar_t* confId, const wchar_t* entryId, BOOL backwards);

private:
    IFrameServices* m_frame;
    using Meetings = std::vector<Microsoft::WRL::ComPtr<IUnknown>>;
    // FALSE unless `document` is a meetings document; `meetings` are the root's children.
    static BOOL GetMeetingList(IUnknown* document, Meetings* meetings);

    void ComputeVisibleWindow(BOOL autoPosition);
    // The meeting node at `index` of the held document, or null.
    Microsoft::WRL::ComPtr<IUnknown> MeetingAt(INT32 index) const;
    // Which meetings are visible and which of them are prominent, in one number.
    LONG WindowFingerprint() const;
    void FillTimeText(const CMeetingFields& meeting, CBubblePara* para) const;

    DATE m_dtCurrentDate = 0.0;
    DATE m_dtNow = 0.0;
    Microsoft::WRL::ComPtr<IUnknown> m_spDoc;
    Meetings m_meetings;
    INT32 m_nCount = 0;
    INT32 m_nFirst = -1;
    INT32 m_nLast = -1;
    BOOL m_bFollowNow = TRUE;
    BOOL m_bIsToday = TRUE;
};
