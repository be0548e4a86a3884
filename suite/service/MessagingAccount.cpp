#include "service/MessagingAccount.h"

#include <windows.h>

#include "service/SuiteStateStore.h"
#include "shared/XmlText.h"

namespace {
const wchar_t kKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Messaging";
// Reported when nothing is configured: there is no account to hand out.
const wchar_t kNoAccountMessage[] = L"NoMessagingAccount";

std::wstring Text(const wchar_t* name) {
    std::wstring text;
    SuiteStateStore::ReadUserText(kKey, name, text);
    return text;
}

DWORD Number(const wchar_t* name, DWORD fallback) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
               ? value
               : fallback;
}
}  // namespace

namespace MessagingAccount {

Document Load() {
    const std::wstring name = Text(L"Name");
    std::wstring error = Text(L"ErrorMessage");
    if (error.empty() && name.empty()) error = kNoAccountMessage;
    Document document;
    document.hasAccount = error.empty();
    if (document.hasAccount) {
        document.xml = L"<GetParleyAccount><Result>Success</Result><ErrorID>0</ErrorID><ErrorMessage/>"
                       L"<Information><Name>" + EscapeXml(name) + L"</Name><Password>" + EscapeXml(Text(L"Password")) +
                       L"</Password><ParleyBoshUrl>" + EscapeXml(Text(L"BoshUrl")) +
                       L"</ParleyBoshUrl></Information></GetParleyAccount>";
    } else {
        document.xml = L"<GetParleyAccount><Result>Failure</Result><ErrorID>" + std::to_wstring(Number(L"ErrorID", 1)) +
                       L"</ErrorID><ErrorMessage>" + EscapeXml(error) + L"</ErrorMessage></GetParleyAccount>";
    }
    return document;
}

}  // namespace MessagingAccount
