#include "webapi/MeetingStore.h"

#include <wrl/client.h>

#include <cwchar>

#include "ComHolders.h"
#include "MsxmlIds.h"
#include "UniqueHandle.h"

using Microsoft::WRL::ComPtr;

namespace webapitest {
namespace {
constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\Zorvan\\Quillkit\\WebApi";

std::wstring Escape(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'&') out += L"&amp;";
        else if (c == L'<') out += L"&lt;";
        else if (c == L'>') out += L"&gt;";
        else out += c;
    }
    return out;
}

void SetValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, type, data, size);
}
}  // namespace

DATE LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    DATE value = 0.0;
    ::SystemTimeToVariantTime(&now, &value);
    return value;
}

DATE Today() { return static_cast<DATE>(static_cast<long>(LocalNow())); }

DATE At(DATE day, int hour, int minute, int second) {
    return static_cast<DATE>(static_cast<long>(day)) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

StoreMeeting::StoreMeeting(const std::wstring& topic, DATE start, DATE end) {
    Set(L"meetingTopic", topic);
    Set(L"startTime", start);
    Set(L"endTime", end);
}

StoreMeeting& StoreMeeting::Set(const std::wstring& path, const std::wstring& value) {
    for (auto& field : m_fields) {
        if (field.first == path) {
            field.second = value;
            return *this;
        }
    }
    return Add(path, value);
}

StoreMeeting& StoreMeeting::Add(const std::wstring& path, const std::wstring& value) {
    m_fields.emplace_back(path, value);
    return *this;
}

StoreMeeting& StoreMeeting::Set(const std::wstring& path, DATE value) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.10f", value);
    return Set(path, std::wstring(text));
}

std::wstring StoreMeeting::Markup() const {
    std::wstring markup = L"<meeting>";
    for (const auto& [path, value] : m_fields) {
        std::vector<std::wstring> steps;
        size_t begin = 0;
        for (size_t slash; (slash = path.find(L'/', begin)) != std::wstring::npos; begin = slash + 1)
            steps.push_back(path.substr(begin, slash - begin));
        steps.push_back(path.substr(begin));
        for (const auto& step : steps) markup += L"<" + step + L">";
        markup += Escape(value);
        for (auto it = steps.rbegin(); it != steps.rend(); ++it) markup += L"</" + *it + L">";
    }
    return markup + L"</meeting>";
}

MeetingStore::MeetingStore() : m_path(m_folder.Path() + L"meetings.xml") {
    SetValue(L"MeetingStore", REG_SZ, m_path.c_str(), static_cast<DWORD>((m_path.size() + 1) * sizeof(wchar_t)));
    SetSyncMilliseconds(0);
    Write({});
}

MeetingStore::~MeetingStore() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

void MeetingStore::Write(const std::vector<StoreMeeting>& meetings) const {
    // Pretty-printed on purpose: a real store is, and the answer must not be.
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<meetings>\n";
    for (const auto& meeting : meetings) text += L"  " + meeting.Markup() + L"\n";
    text += L"</meetings>\n";
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();
    WriteText(utf8);
}

void MeetingStore::WriteText(const std::string& utf8) const {
    UniqueFileHandle file(::CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

void MeetingStore::SetSyncStatus(DWORD status) { SetValue(L"SyncStatus", REG_DWORD, &status, sizeof(status)); }

void MeetingStore::SetSyncMilliseconds(DWORD milliseconds) {
    SetValue(L"SyncMilliseconds", REG_DWORD, &milliseconds, sizeof(milliseconds));
}

void MeetingStore::UseDemo() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"MeetingStore"); }

std::vector<std::wstring> XmlValues(const std::wstring& xml, const wchar_t* xpath) {
    std::vector<std::wstring> values;
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(::CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(document.GetAddressOf()))))
        return values;
    Bstr text(xml);
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FAILED(document->loadXML(text.get(), &ok)) || ok != VARIANT_TRUE) return values;
    ComPtr<IXMLDOMDocument2> document2;
    if (SUCCEEDED(document.As(&document2))) {
        Bstr property(L"SelectionLanguage");
        document2->setProperty(property.get(), Variant(std::wstring_view(L"XPath")).get());
    }
    ComPtr<IXMLDOMNodeList> list;
    Bstr path(xpath);
    if (FAILED(document->selectNodes(path.get(), &list)) || !list) return values;
    long count = 0;
    list->get_length(&count);
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> node;
        Bstr value;
        if (list->get_item(i, &node) == S_OK && node && SUCCEEDED(node->get_text(value.receive())))
            values.push_back(value.str());
    }
    return values;
}
std::vector<StoreMeeting> HourlyMeetings(DATE day, int count, int firstHour, const wchar_t* status) {
    std::vector<StoreMeeting> meetings;
    for (int i = 0; i < count; ++i) {
        const std::wstring number = std::to_wstring(i);
        meetings.push_back(StoreMeeting(L"Meeting " + number, At(day, firstHour + i, 0), At(day, firstHour + i, 30))
                               .Set(L"meetingKey", L"k" + number)
                               .Set(L"entryID", L"e" + number)
                               .Set(L"meetingStatus", status));
    }
    return meetings;
}
}  // namespace webapitest
