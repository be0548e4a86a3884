// Self-registration under HKEY_CLASSES_ROOT.
#include <gtest/gtest.h>

#include <string>

#include "UniqueHandle.h"
#include "support/ModuleLibrary.h"
#include "support/TestSupport.h"

namespace {
struct ClassKeys {
    const wchar_t* classIdText;
    const wchar_t* friendlyName;
    const wchar_t* progId;
    const wchar_t* independentProgId;
    std::wstring ClassKey() const { return std::wstring(L"CLSID\\") + classIdText; }
};
const ClassKeys kClasses[] = {
    {L"{2DD8BA03-E8BC-421C-461F-4936E19F0103}", L"QK.UIModule.DesktopClient.0", L"qkSJUI 0.0.0.3", L"qkSJUI 0.0.0"},
    {L"{FEF76793-BAE4-4B89-6A14-2F6CB6875A50}", L"QK.UIModule.VelIPC.0", L"QKIPC 0.0.0.3", L"QKIPC 0.0.0"},
};

bool KeyExists(const std::wstring& path) {
    UniqueHkey key;
    return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

// The value as stored, including its terminating null when one was written.
std::wstring RawString(const std::wstring& path, const wchar_t* name) {
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return L"<no key>";
    wchar_t buffer[600] = {};
    DWORD bytes = sizeof(buffer);
    if (::RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS)
        return L"<no value>";
    return std::wstring(buffer, bytes / sizeof(wchar_t));
}

std::wstring Stored(const wchar_t* text) { return std::wstring(text) + L'\0'; }

class Registration : public ::testing::Test {
protected:
    ModuleLibrary library{testsupport::BinFolder() + L"qkSJUI.dll"};
    void SetUp() override { ASSERT_TRUE(library.Loaded() && library.RegisterServer && library.UnregisterServer); }
    void TearDown() override { library.UnregisterServer(); }
};

TEST_F(Registration, WritesEveryKeyOfBothClasses) {
    ASSERT_EQ(S_OK, library.RegisterServer());
    const std::wstring modulePath = testsupport::BinFolder() + L"qkSJUI.dll";
    for (const ClassKeys& c : kClasses) {
        SCOPED_TRACE(::testing::Message() << c.friendlyName);
        const std::wstring classKey = c.ClassKey();
        EXPECT_EQ(Stored(c.friendlyName), RawString(classKey, nullptr));
        EXPECT_EQ(Stored(modulePath.c_str()), RawString(classKey + L"\\InprocServer32", nullptr));
        EXPECT_EQ(Stored(L"Apartment"), RawString(classKey + L"\\InprocServer32", L"ThreadingModel"));
        EXPECT_EQ(Stored(c.progId), RawString(classKey + L"\\ProgID", nullptr));
        EXPECT_EQ(Stored(c.independentProgId), RawString(classKey + L"\\VersionIndependentProgID", nullptr));

        const std::wstring independent = c.independentProgId;
        EXPECT_EQ(Stored(c.friendlyName), RawString(independent, nullptr));
        EXPECT_EQ(Stored(c.classIdText), RawString(independent + L"\\CLSID", nullptr));
        EXPECT_EQ(Stored(c.progId), RawString(independent + L"\\CurVer", nullptr));

        const std::wstring progId = c.progId;
        EXPECT_EQ(Stored(c.friendlyName), RawString(progId, nullptr));
        EXPECT_EQ(Stored(c.classIdText), RawString(progId + L"\\CLSID", nullptr));
    }
}

TEST_F(Registration, UnregistrationLeavesNoKeyBehind) {
    ASSERT_EQ(S_OK, library.RegisterServer());
    ASSERT_TRUE(KeyExists(L"qkSJUI 0.0.0\\CurVer"));
    EXPECT_EQ(S_OK, library.UnregisterServer());
    for (const ClassKeys& c : kClasses) {
        for (const std::wstring& key :
             {c.ClassKey(), std::wstring(c.progId), std::wstring(c.independentProgId)}) {
            EXPECT_FALSE(KeyExists(key)) << "left behind: " << std::string(key.begin(), key.end());
        }
    }
    // Unregistering what is not there still succeeds.
    EXPECT_EQ(S_OK, library.UnregisterServer());
}

// A volatile class key cannot take the lasting server key below it: the
// registration is incomplete and must say so; the rest is still written.
TEST_F(Registration, AKeyThatCannotBeWrittenFailsTheRegistration) {
    const std::wstring classKey = kClasses[0].ClassKey();
    {
        UniqueHkey blocker;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CLASSES_ROOT, classKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                                   KEY_ALL_ACCESS, nullptr, blocker.receive(), nullptr));
    }
    const HRESULT hr = library.RegisterServer();
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_FALSE(KeyExists(classKey + L"\\InprocServer32"));
    EXPECT_EQ(Stored(kClasses[0].friendlyName), RawString(kClasses[0].progId, nullptr)) << "the other keys are written";
    EXPECT_EQ(Stored(kClasses[1].friendlyName), RawString(kClasses[1].ClassKey(), nullptr));
}
}  // namespace
