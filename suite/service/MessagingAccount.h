#pragma once
// The user's instant-messaging account, which the desktop client's phone
// bridge signs in with. It is configured per user under
// HKCU\SOFTWARE\Zorvan\Quillkit\Messaging: "Name" (node@domain), "Password",
// "BoshUrl"; "ErrorMessage" and "ErrorID" make the account request fail the
// way the messaging service reports a failure (for example "UserPasswordIsWrong").
#include <string>

namespace MessagingAccount {

struct Document {
    std::wstring xml;
    bool hasAccount = false;  // Result is "Success"
};

Document Load();

}  // namespace MessagingAccount
