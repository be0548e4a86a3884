#pragma once
// The phone's message bodies travel as percent-encoded UTF-8, and so do some
// parameter values inside the request.
#include <windows.h>

#include <string>

namespace IPPhone {
// Percent-decodes `input` ("%hh" a byte, "+" a space, anything else the low
// byte of its code unit), stopping after `outputLength` bytes, then reads the
// bytes as UTF-8 into `output`. Null when an argument is missing, the input is
// empty, or the text with its terminator does not fit (the output untouched).
wchar_t* UrlDecodeUtf8(const wchar_t* input, wchar_t* output, int outputLength);

// UrlDecodeUtf8 into a buffer of `outputLength` characters; empty on failure.
std::wstring UrlDecodeToString(const wchar_t* input, int outputLength);

// The text as UTF-8; empty for a null text.
std::string ToUtf8(const wchar_t* text);

// UTF-8 of the text with everything but letters, digits and "-_*." escaped as
// "%hh" (lower case) and spaces written as "+".
std::string EncodeMessageBody(const wchar_t* text);

// A received body back to the XML text; empty when it cannot be decoded.
std::wstring DecodeMessageBody(const char* body);
}  // namespace IPPhone
