#include "SiteUrl.h"

namespace {
bool StartsWithNoCase(const CStringEx& text, const wchar_t* prefix) {
    const int length = static_cast<int>(wcslen(prefix));
    return text.GetLength() >= length && text.Left(length).CompareNoCase(prefix) == 0;
}

// Length of a leading "https://" or "http://", without regard to case; else 0.
int SchemeLength(const CStringEx& text) {
    if (StartsWithNoCase(text, L"https://")) return 8;
    if (StartsWithNoCase(text, L"http://")) return 7;
    return 0;
}
}  // namespace

BOOL MakeHttpsUrl(CStringEx& url) {
    CStringEx trimmed = url;
    trimmed.Trim(L' ');
    if (trimmed.IsEmpty() || trimmed.Find(L'.') < 0 || trimmed.GetLength() < 3) return FALSE;
    url = CStringEx(L"https://") + trimmed.Mid(SchemeLength(trimmed));
    return TRUE;
}

BOOL SplitSiteUrl(const CStringEx& url, CStringEx& host, CStringEx& site) {
    CStringEx copy = url;
    copy.Trim(L' ').TrimRight(L'/');
    const int prefix = SchemeLength(copy);
    const int slash = copy.Find(L'/', prefix);
    if (slash >= 0) {
        host = copy.Mid(prefix, slash - prefix);
        site = copy.Mid(slash + 1);
        host.Trim(L' ');
        site.Trim(L' ');
    } else {
        host = copy.Mid(prefix);
        site.Empty();
    }
    if (!host.IsEmpty() && site.IsEmpty()) {
        if (host.Find(L'.', 1) > 0) site = host.Left(host.Find(L'.'));
    }
    return !host.IsEmpty() && !site.IsEmpty();
}

BOOL NormalizeSiteUrl(CStringEx& url) {
    // Trimming one character can uncover another of the set: repeat until stable.
    for (int previous = -1; previous != url.GetLength();) {
        previous = url.GetLength();
        for (wchar_t c : {L' ', L'\\', L'/', L'.'}) url.TrimRight(c);
    }
    for (int previous = -1; previous != url.GetLength();) {
        previous = url.GetLength();
        url.TrimLeft(L' ').TrimLeft(L'.');
    }

    const int scheme = url.Find(L"://");
    if (scheme >= 0) {
        const CStringEx name = url.Left(scheme);
        if (name.CompareNoCase(L"http") != 0 && name.CompareNoCase(L"https") != 0) return TRUE;
        url = url.Mid(scheme + 3);
    }
    if (url.Find(L'.') < 0 || url.GetLength() < 4) return FALSE;

    CStringEx lower = url.Left(1024);
    lower.MakeLower();
    lower = lower.Mid(SchemeLength(lower));
    const int slash = lower.Find(L'/');
    if (slash >= 0 && lower.Mid(slash).Compare(L"/zorvan") == 0) lower = lower.Left(slash);
    if (lower.Find(L'/') < 0) {
        const int dot = lower.Find(L'.');
        if (dot >= 0 && dot < 512) lower += CStringEx(L"/") + lower.Left(dot);
    }
    url = CStringEx(L"https://") + lower;
    return TRUE;
}
