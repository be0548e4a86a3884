// The contents of the detail bubble: title, table rows, files and button,
// laid out top to bottom; every row moves the layout cursor down by its height.
#include "BubbleInfor.h"

#include <algorithm>

#include "BubbleLayout.h"
#include "DcGuards.h"
#include "FileTypeIcons.h"
#include "FontPool.h"
#include "ModuleState.h"
#include "SJUISetting.h"
#include "Trace.h"
#include "VelGdiplus.h"

using namespace BubbleLayout;

namespace {
// Indexes into the shared font cache (all Tahoma).
enum FontIndex : int {
    kRegular11 = 1,
    kRegular13 = 3,
    kBold11 = 10,
    kBold16 = 14,
};
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOPREFIX;
constexpr int kIconSize = 16;
constexpr int kIconGap = 4;
constexpr int kMarkGap = 4;
constexpr int kMarkRise = 20;
constexpr int kAgendaGap = 10;
constexpr int kButtonGap = 12;
constexpr int kTitleGap = 10;
const wchar_t kNoInvitees[] = L"None";

CStringEx LoadText(UINT id) {
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), id);
    return text;
}

// Lines `text` needs word-wrapped at `width` in `font`, and its width on one line.
struct Measure {
    int lines = 1;
    int lineHeight = 1;
    int singleWidth = 0;
};
Measure MeasureText(const CStringEx& text, HFONT font, int width) {
    Measure measure;
    WindowDC screen(nullptr);
    UniqueMemDC dc(::CreateCompatibleDC(screen.get()));
    if (!dc) return measure;
    SelectGuard selected(dc.get(), font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    measure.lineHeight = std::max<int>(1, metrics.tmHeight);
    RECT wrapped{0, 0, width, 0};
    ::DrawTextW(dc.get(), text.c_str(), text.GetLength(), &wrapped,
                DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    measure.lines = std::max(1, static_cast<int>((wrapped.bottom + measure.lineHeight - 1) / measure.lineHeight));
    RECT single{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text.c_str(), text.GetLength(), &single, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    measure.singleWidth = single.right;
    return measure;
}

bool Z11SiteNameEmpty() {
    const CSJUISetting* settings = CSJUISetting::Existing();
    return !settings || settings->IsZ11SiteNameEmpty();
}

bool InviteesShown(const CStringEx& invitees) { return !invitees.IsEmpty() && invitees.Compare(kNoInvitees) != 0; }
}  // namespace

void CBubbleInfor::ComputeLabelWidth() {
    CStringEx longest;
    auto consider = [&longest](UINT id) {
        CStringEx label = LoadText(id);
        if (label.GetLength() > longest.GetLength()) longest = label;
    };
    consider(kTimeString);
    consider(kRecurrenceString);
    consider(kHostString);
    if (InviteesShown(m_para.m_strInvitees) || Z11SiteNameEmpty()) consider(kInviteesString);
    consider(kAgendaString);
    m_nLabelWidth = longest.IsEmpty() ? kInitialLabelWidth
                                      : MeasureText(longest, CFontPool::Instance().GetFont(kBold11), 0).singleWidth + 4;
}

void CBubbleInfor::CreateControls() {
    m_texts.clear();
    m_fileIcons.clear();
    m_nY = kTopMargin;
    CreateTitle();

    if (!m_para.m_strTime.IsEmpty()) {
        CreateItemName(kTimeString, kIdTimeLabel);
        CreateItemContent(LimitText(m_para.m_strTime), kIdTime);
    }
    if (!m_para.m_strRecurrence.IsEmpty()) {
        CreateItemName(kRecurrenceString, kIdRecurrenceLabel);
        CreateItemContentMultiLine(LimitText(m_para.m_strRecurrence), kIdRecurrence, 2);
        m_markFlags[0] = TRUE;
    } else {
        m_markFlags[0] = m_para.m_bRecurring ? TRUE : FALSE;
    }
    if (!m_para.m_strHostName.IsEmpty()) {
        CreateItemName(kHostString, kIdHostLabel);
        CreateItemContent(LimitText(m_para.m_strHostName), kIdHost);
    }
    if (InviteesShown(m_para.m_strInvitees)) {
        CreateItemName(kInviteesString, kIdInviteesLabel);
        CreateItemContentMultiLine(FormatInvitees(LimitText(m_para.m_strInvitees)), kIdInvitees, 2);
    } else if (Z11SiteNameEmpty()) {
        CreateItemName(kInviteesString, kIdInviteesLabel);
        CreateItemContentMultiLine(LoadText(kNoInviteesString), kIdInvitees, 2);
    }
    if (!m_para.m_strAgenda.IsEmpty()) {
        m_nY += kAgendaGap;
        CreateItemName(kAgendaString, kIdAgendaLabel);
        CreateItemContentMultiLine(LimitText(m_para.m_strAgenda), kIdAgenda, 3);
    }
    CreateFiles();
    m_nY += kButtonGap;
    CreateButton();

    m_markFlags[1] = m_para.m_bException ? TRUE : FALSE;
    m_markFlags[2] = m_para.m_bServiceRX ? TRUE : FALSE;
    m_markFlags[3] = m_para.m_bServiceRY ? TRUE : FALSE;
    m_markFlags[4] = m_para.m_bHasRecording ? TRUE : FALSE;
    RECT title{};
    if (HWND control = ::GetDlgItem(m_hWnd, kIdTitle)) {
        ::GetWindowRect(control, &title);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&title), 2);
    }
    CreateMarks(title);
}

HWND CBubbleInfor::CreateText(const CStringEx& text, int id, const RECT& rect, HFONT font) {
    HWND control = ::CreateWindowExW(0, L"STATIC", text.c_str(), kTextStyle, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleState::Instance(),
                                     nullptr);
    if (control) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void CBubbleInfor::CreateTitle() {
    HFONT font = CFontPool::Instance().GetFont(kBold16);
    const Measure measure = MeasureText(m_para.m_strTopic, font, kTitleWidth);
    const int lines = std::min(measure.lines, kTitleLines);
    const int left = kLeftMargin + TitleShift(m_nTailSide);
    const RECT rect{left, m_nY, left + kTitleWidth, m_nY + lines * measure.lineHeight};
    if (HWND title = CreateText(m_para.m_strTopic, kIdTitle, rect, font)) {
        m_texts.push_back({title, lines, measure.lines > kTitleLines});
    }
    m_nY = rect.bottom + kTitleGap;
}

void CBubbleInfor::CreateItemName(UINT stringId, int id) {
    const int left = kLeftMargin + RowShift(m_nTailSide);
    const RECT rect{left, m_nY, left + m_nLabelWidth, m_nY + kRowHeight};
    HWND label = CreateText(LoadText(stringId), id, rect, CFontPool::Instance().GetFont(kBold11));
    if (!label) {
        TraceError("CBubbleInfor::CreateItemName:NULL ==pEdit");
        return;
    }
    m_texts.push_back({label, 1, false});
}

void CBubbleInfor::CreateItemContent(const CStringEx& text, int id) {
    if (text.IsEmpty()) {
        TraceError("CBubbleInfor::CreateItemContent::invalid input");
        return;
    }
    CreateItemContentMultiLine(text, id, 1);
}

void CBubbleInfor::CreateItemContentMultiLine(const CStringEx& text, int id, int lines) {
    if (text.IsEmpty() || lines < 1) {
        TraceError("CBubbleInfor::CreateItemContentMultiLine::invalid input");
        return;
    }
    HFONT font = CFontPool::Instance().GetFont(kRegular11);
    const int width = ContentWidth(m_nLabelWidth);
    const Measure measure = MeasureText(text, font, width);
    const int shown = std::min(measure.lines, lines);
    const int left = ContentLeft(m_nLabelWidth) + RowShift(m_nTailSide);
    const RECT rect{left, m_nY, left + width, m_nY + shown * kRowHeight};
    HWND content = CreateText(text, id, rect, font);
    if (!content) return;
    // One line shows with an ellipsis; more lines are cut after the last that fits.
    const bool cut = measure.lines > lines || (lines == 1 && measure.singleWidth > width);
    m_texts.push_back({content, shown, cut});
    RECT actual{};
    ::GetWindowRect(content, &actual);
    m_nY += actual.bottom - actual.top;
}

void CBubbleInfor::CreateFiles() {
    if (m_para.m_files.empty()) return;
    CreateItemName(kFilesString, kIdFilesLabel);
    HFONT font = CFontPool::Instance().GetFont(kRegular11);
    const int left = ContentLeft(m_nLabelWidth) + RowShift(m_nTailSide);
    const int nameLeft = left + kIconSize + kIconGap;
    const int nameWidth = ContentWidth(m_nLabelWidth) - kIconSize - kIconGap;
    for (const CStringEx& file : m_para.m_files) {
        UniqueHicon icon(FileTypeIcons::CreateIcon(FileTypeIcons::ImageForFile(file.c_str())));
        HWND iconStatic = nullptr;
        if (icon) {
            iconStatic = ::CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL,
                                           left, m_nY + (kRowHeight - kIconSize) / 2, kIconSize, kIconSize, m_hWnd,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdFile)),
                                           ModuleState::Instance(), nullptr);
        }
        if (!iconStatic) {
            TraceError("CBubbleInfor::CreateFiles::get icon fail");
        } else {
            ::SendMessageW(iconStatic, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
            m_fileIcons.push_back(std::move(icon));
        }

        const CStringEx name = LimitText(file);
        const RECT rect{nameLeft, m_nY, nameLeft + nameWidth, m_nY + kRowHeight};
        HWND text = CreateText(name, kIdFile, rect, font);
        if (!text) {
            TraceError("CBubbleInfor::CreateFiles::NULL == pEdit");
        } else {
            const Measure measure = MeasureText(name, font, nameWidth);
            m_texts.push_back({text, 1, measure.singleWidth > nameWidth || measure.lines > 1});
        }
        m_nY += kRowHeight;
    }
}

void CBubbleInfor::CreateButton() {
    UINT caption = 0;
    int id = 0;
    CPngButton* button = nullptr;
    if (m_para.m_bValid == 0) {
        caption = kEditString;
        id = kIdEditButton;
        button = &m_editButton;
    } else if (m_para.m_bValid == 1) {
        caption = kViewString;
        id = kIdViewButton;
        button = &m_viewButton;
    } else {
        return;
    }
    const int left = ButtonLeft(m_nTailSide, kWidth);
    const RECT rect{left, m_nY, left + kButtonWidth, m_nY + kButtonHeight};
    const CStringEx text = LoadText(caption);
    if (!button->Create(m_hWnd, rect, static_cast<UINT>(id), text.c_str(), WS_CHILD | WS_VISIBLE)) return;
    button->SetImages(kButtonImages[0], kButtonImages[1], kButtonImages[2], kButtonImages[3]);
    button->SetCornerSize(kCornerSize);
    HFONT font = CFontPool::Instance().GetFont(kRegular13);
    button->SetFonts(font, font);
    button->SetTextColors(CBubblePaint::kTextColor, CBubblePaint::kTextColor);
    button->SetBackgroundColor(CBubblePaint::kBodyColor);
    button->SetToolTipText(text.str());
    m_nY += kButtonHeight;
}

void CBubbleInfor::CreateMarks(const RECT& title) {
    UINT images[3] = {};
    int count = 0;
    if (m_markFlags[0]) {
        images[count++] = kRecurringImage;
    } else if (m_markFlags[1]) {
        images[count++] = kExceptionImage;
    }
    if (m_markFlags[3]) {
        images[count++] = kServiceRyImage;
    } else if (m_markFlags[2]) {
        images[count++] = kServiceRxImage;
    }
    if (m_markFlags[4]) images[count++] = kRecordingImage;

    SIZE size{16, 16};
    CVelGdiplus::GetImageSize(size, kRecurringImage);
    std::vector<Mark> marks;
    int x = title.right + kMarkGap;
    for (int i = 0; i < count; ++i) {
        const int top = title.bottom - kMarkRise;
        marks.push_back({images[i], RECT{x, top, x + size.cx, top + size.cy}});
        x += size.cx + kMarkGap;
    }
    SetMarks(std::move(marks));
}
