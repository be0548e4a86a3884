#include "service/SuiteStateStore.h"

#include <wrl/client.h>

#include <vector>

#include "ComHolders.h"
#include "MsxmlIds.h"
#include "UniqueHandle.h"

namespace {
const wchar_t kStoreKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Service";
const wchar_t kAccountValue[] = L"AccountDocument";
const wchar_t kMeetingsValue[] = L"RunningMeetings";
const wchar_t kNoMeetings[] = L"<meetings/>";

bool WriteText(const wchar_t* name, const std::wstring& text) {
    UniqueHkey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
}  // namespace

namespace SuiteStateStore {
bool ReadUserText(const wchar_t* key, const wchar_t* name, std::wstring& text) {
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) != ERROR_SUCCESS)
        return false;
    text = buffer.data();
    return true;
}

const wchar_t* DemoAccount() {
    return L"<QuillkitSettings>"
           L"<Account>"
           L"<SiteName>demo.quillkit.example</SiteName>"
           L"<UserName>dana.demo@quillkit.example</UserName>"
           L"<Password>demo-password</Password>"
           L"<Remember>1</Remember>"
           L"<Z11SiteName>demo.quillkit.example/demo</Z11SiteName>"
           L"<DeskreachEnable>1</DeskreachEnable>"
           L"<SnapjoinEnable>1</SnapjoinEnable>"
           L"<SiteType>0</SiteType>"
           L"</Account>"
           L"<Tools><Outlook>1</Outlook></Tools>"
           L"</QuillkitSettings>";
}

bool IsWellFormed(const wchar_t* xml) {
    if (!xml || !*xml) return false;
    Microsoft::WRL::ComPtr<IXMLDOMDocument> document;
    if (FAILED(::CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&document))))
        return false;
    document->put_async(VARIANT_FALSE);
    // Documents come from other components: never fetch anything they point to.
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    Bstr text(xml);
    if (FAILED(document->loadXML(text.get(), &loaded)) || loaded != VARIANT_TRUE) return false;
    Microsoft::WRL::ComPtr<IXMLDOMElement> root;
    return SUCCEEDED(document->get_documentElement(&root)) && root;
}

std::wstring LoadAccount() {
    std::wstring text;
    if (ReadUserText(kStoreKey, kAccountValue, text) && !text.empty()) return text;
    return DemoAccount();
}

bool SaveAccount(const std::wstring& accountXml) { return WriteText(kAccountValue, accountXml); }

bool ResetAccount() {
    const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kStoreKey, kAccountValue);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::wstring LoadRunningMeetings() {
    std::wstring text;
    if (ReadUserText(kStoreKey, kMeetingsValue, text) && !text.empty()) return text;
    return kNoMeetings;
}

bool SaveRunningMeetings(const std::wstring& meetingsXml) { return WriteText(kMeetingsValue, meetingsXml); }
}  // namespace SuiteStateStore
