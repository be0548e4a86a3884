#include "UrlCodec.h"

#include <vector>

namespace IPPhone {
namespace {
int HexValue(wchar_t c) noexcept {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

std::wstring Utf8ToWide(const char* bytes, int count) {
    if (count <= 0) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes, count, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes, count, text.data(), length);
    return text;
}
}  // namespace

wchar_t* UrlDecodeUtf8(const wchar_t* input, wchar_t* output, int outputLength) {
    if (!input || !output || outputLength < 1 || !*input) return nullptr;
    std::vector<char> bytes;
    bytes.reserve(static_cast<size_t>(outputLength));
    for (const wchar_t* p = input; *p && static_cast<int>(bytes.size()) < outputLength; ++p) {
        if (*p == L'%') {
            // A "%" without two digits after it stays itself; p[1] is checked
            // before p[2] so nothing past the terminator is read.
            const int high = HexValue(p[1]);
            const int low = high >= 0 ? HexValue(p[2]) : -1;
            if (high >= 0 && low >= 0) {
                bytes.push_back(static_cast<char>(high * 16 + low));
                p += 2;
                continue;
            }
            bytes.push_back('%');
        } else if (*p == L'+') {
            bytes.push_back(' ');
        } else {
            bytes.push_back(static_cast<char>(*p & 0xFF));
        }
    }
    const std::wstring text = Utf8ToWide(bytes.data(), static_cast<int>(bytes.size()));
    if (static_cast<int>(text.size()) + 1 > outputLength) return nullptr;
    text.copy(output, text.size());
    output[text.size()] = L'\0';
    return output;
}

std::wstring UrlDecodeToString(const wchar_t* input, int outputLength) {
    if (outputLength < 1) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(outputLength), L'\0');
    if (!UrlDecodeUtf8(input, buffer.data(), outputLength)) return {};
    return buffer.data();
}

std::string ToUtf8(const wchar_t* text) {
    if (!text || !*text) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size - 1));
    return utf8;
}

std::string EncodeMessageBody(const wchar_t* text) {
    const std::string utf8 = ToUtf8(text);
    if (utf8.empty()) return {};

    static constexpr char kHex[] = "0123456789abcdef";
    std::string encoded;
    encoded.reserve(utf8.size() * 3);
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            byte == '-' || byte == '_' || byte == '*' || byte == '.') {
            encoded += c;
        } else if (byte == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::wstring DecodeMessageBody(const char* body) {
    if (!body || !*body) return {};
    const std::wstring wide = Utf8ToWide(body, static_cast<int>(std::char_traits<char>::length(body)));
    if (wide.empty()) return {};
    return UrlDecodeToString(wide.c_str(), static_cast<int>(wide.size()) + 1);
}
}  // namespace IPPhone
