#pragma once
// The user's instant-messaging account as the suite's service hands it over
// (the <GetParleyAccount> document), and the pieces the messaging client
// signs in with.
#include <windows.h>

#include <string>

namespace IPPhone {
struct MessagingAccount {
    bool loaded = false;   // the document parsed and has a root
    bool success = false;  // "Result" is "Success": the fields below are filled
    std::string node;      // UTF-8, before the first "@" (the whole name without one)
    std::string domain;    // UTF-8, after the first "@" (the whole name without one)
    std::string password;  // UTF-8
    std::string boshUrl;   // UTF-8, the service address without its scheme
    LONG errorId = 0;
    std::wstring errorMessage;

    // The service rejected the stored password: the user has to be told.
    [[nodiscard]] bool PasswordWrong() const noexcept;
};

MessagingAccount ParseMessagingAccount(const wchar_t* accountXml);

// Everything up to and including the first "://" goes, unless it starts the text.
std::wstring WithoutScheme(const std::wstring& address);

// Reads the back-off after a failed sign-in. `delay` is the last delay (0 when
// the last sign-in succeeded), `base` the last base; `random` any number.
struct Backoff {
    int delay;
    int base;
};
inline constexpr int kFirstBackoffSeconds = 30;
inline constexpr int kLongestBackoffBase = 300;
Backoff NextBackoff(int delay, int base, unsigned random) noexcept;
}  // namespace IPPhone
