#pragma once
// Site addresses as the user types them, turned into the forms the suite uses.
#include <windows.h>

#include "StringEx.h"

// "site.example.com" or "http://site.example.com" -> "https://site.example.com".
BOOL MakeHttpsUrl(CStringEx& url);
// "https://a.b.c/a" -> host "a.b.c", site "a"; a bare host names its site by its first label.
BOOL SplitSiteUrl(const CStringEx& url, CStringEx& host, CStringEx& site);
// Rewrites a site address into "https://host/site-name".
BOOL NormalizeSiteUrl(CStringEx& url);
