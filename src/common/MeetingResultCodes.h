#pragma once
// What the codes of the meetings library's GetResult mean to its callers, the
// frame and the phone bridge: started or joined, and the codes after which
// the user must sign in again, which differ by operation and caller.
#include <windows.h>

#include <algorithm>
#include <iterator>

namespace MeetingResult {
inline constexpr LONG kStarted = 2;

// The frame's own operations.
inline constexpr LONG kInstantSignInAgain[] = {12, 15, 16, 36};
inline constexpr LONG kStartSignInAgain[] = {12, 16};
inline constexpr LONG kJoinSignInAgain[] = {12, 15, 16};
inline constexpr LONG kPersonalSignInAgain[] = {4, 5, 6};

// Every operation the phone asks for: a sign-in again with the error, or a
// plain new sign-in.
inline constexpr LONG kPhoneSignInAgain[] = {3, 5, 11, 12, 15, 16};
inline constexpr LONG kPhoneReSignin[] = {19, 33};

template <size_t N>
[[nodiscard]] constexpr bool IsOneOf(LONG code, const LONG (&codes)[N]) noexcept {
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}
}  // namespace MeetingResult
