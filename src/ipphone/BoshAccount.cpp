#include "BoshAccount.h"

#include <wrl/client.h>

#include <algorithm>

#include "ComHolders.h"
#include "MSDom.h"
#include "UrlCodec.h"

using Microsoft::WRL::ComPtr;

namespace IPPhone {
namespace {
bool EqualsNoCase(const wchar_t* a, const wchar_t* b) noexcept {
    return ::CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

CStringEx ReadText(IUnknown* root, const wchar_t* path) {
    CStringEx value;
    CMSDom::GetChildNodeValue(root, Bstr(path).get(), value);
    return value;
}
}  // namespace

bool MessagingAccount::PasswordWrong() const noexcept {
    return !success && EqualsNoCase(errorMessage.c_str(), L"UserPasswordIsWrong");
}

std::wstring WithoutScheme(const std::wstring& address) {
    const size_t scheme = address.find(L"://");
    if (scheme == std::wstring::npos || scheme == 0) return address;
    return address.substr(scheme + 3);
}

MessagingAccount ParseMessagingAccount(const wchar_t* accountXml) {
    MessagingAccount account;
    if (!accountXml) return account;
    ComPtr<IUnknown> doc;
    if (FAILED(CMSDom::CreateFromString(Bstr(accountXml).get(), doc.GetAddressOf())) || !doc) return account;
    ComPtr<IUnknown> root;
    if (FAILED(CMSDom::GetRootNode(doc.Get(), root.GetAddressOf())) || !root) return account;
    account.loaded = true;

    account.success = EqualsNoCase(ReadText(root.Get(), L"//GetParleyAccount/Result").c_str(), L"Success");
    if (!account.success) {
        CMSDom::GetChildNodeValue(root.Get(), Bstr(L"//GetParleyAccount/ErrorID").get(), account.errorId);
        account.errorMessage = ReadText(root.Get(), L"//GetParleyAccount/ErrorMessage").str();
        return account;
    }
    const std::wstring name = ReadText(root.Get(), L"//Information/Name").str();
    account.password = ToUtf8(ReadText(root.Get(), L"//Information/Password").c_str());
    account.boshUrl = ToUtf8(WithoutScheme(ReadText(root.Get(), L"//Information/ParleyBoshUrl").str()).c_str());
    const size_t at = name.find(L'@');
    if (at == std::wstring::npos) {
        // A name without a domain part stands for both.
        account.node = account.domain = ToUtf8(name.c_str());
    } else {
        account.node = ToUtf8(name.substr(0, at).c_str());
        account.domain = ToUtf8(name.substr(at + 1).c_str());
    }
    return account;
}

Backoff NextBackoff(int delay, int base, unsigned random) noexcept {
    // A delay still set means no sign-in has succeeded since the last failure.
    int next = delay != 0 ? std::min(base * 2, kLongestBackoffBase) : kFirstBackoffSeconds;
    if (next <= 0) next = kFirstBackoffSeconds;
    return {next + static_cast<int>(random % static_cast<unsigned>(next)), next};
}
}  // namespace IPPhone
