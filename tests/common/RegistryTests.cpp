// Typed registry access, under a private key that the test removes again.
#include <gtest/gtest.h>

#include <string>

#include "OsVersion.h"
#include "Registry.h"
#include "StringEx.h"
#include "UniqueHandle.h"

namespace {
class Registry : public ::testing::Test {
protected:
    const std::wstring key = L"Software\\QkTests\\Registry" + std::to_wstring(::GetCurrentProcessId());

    void SetUp() override {
        UniqueHkey k;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, k.receive(), nullptr));
        const DWORD number = 0x1234;
        const wchar_t text[] = L"hello";
        const BYTE blob[] = {1, 2, 3};
        ::RegSetValueExW(k.get(), L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
        ::RegSetValueExW(k.get(), L"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
        ::RegSetValueExW(k.get(), L"Blob", 0, REG_BINARY, blob, sizeof(blob));
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }
};

TEST_F(Registry, ReadsValuesOfTheirOwnTypeOnly) {
    DWORD number = 7;
    EXPECT_TRUE(CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), L"Number", &number));
    EXPECT_EQ(0x1234u, number);
    number = 7;
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), L"Text", &number));
    EXPECT_EQ(7u, number) << "a value of another type leaves the output untouched";

    wchar_t text[16];
    wmemset(text, L'#', 16);
    EXPECT_TRUE(CRegistry::ReadString(HKEY_CURRENT_USER, key.c_str(), L"Text", text, 16));
    EXPECT_STREQ(L"hello", text);
    wmemset(text, L'#', 16);
    EXPECT_FALSE(CRegistry::ReadString(HKEY_CURRENT_USER, key.c_str(), L"Number", text, 16));
    EXPECT_EQ(std::wstring(16, L'\0'), std::wstring(text, 16)) << "the buffer is zero-filled first";

    CStringEx value(L"old");
    EXPECT_TRUE(CRegistry::ReadStringEx(HKEY_CURRENT_USER, key.c_str(), L"Text", &value));
    EXPECT_STREQ(L"hello", value.c_str());
    EXPECT_EQ(5, value.GetLength());
    EXPECT_FALSE(CRegistry::ReadStringEx(HKEY_CURRENT_USER, key.c_str(), L"Missing", &value));
    EXPECT_TRUE(value.IsEmpty());

    BYTE blob[4] = {9, 9, 9, 9};
    EXPECT_TRUE(CRegistry::ReadBinary(HKEY_CURRENT_USER, key.c_str(), L"Blob", blob, sizeof(blob)));
    EXPECT_EQ(1, blob[0]);
    EXPECT_EQ(3, blob[2]);
    EXPECT_EQ(0, blob[3]);
    EXPECT_FALSE(CRegistry::ReadBinary(HKEY_CURRENT_USER, key.c_str(), L"Text", blob, sizeof(blob)));
}

TEST_F(Registry, MissingKeysValuesAndArgumentsAreFalse) {
    DWORD number = 7;
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, (key + L"\\Nope").c_str(), L"Number", &number));
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), L"Nope", &number));
    EXPECT_FALSE(CRegistry::ReadDword(nullptr, key.c_str(), L"Number", &number));
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, nullptr, L"Number", &number));
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), nullptr, &number));
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), L"Number", nullptr));
    EXPECT_FALSE(CRegistry::ReadString(HKEY_CURRENT_USER, key.c_str(), L"Text", nullptr, 8));
    EXPECT_FALSE(CRegistry::WriteDword(HKEY_CURRENT_USER, key.c_str(), nullptr, 1));
    EXPECT_EQ(7u, number);
}

TEST_F(Registry, WriteDwordCreatesItsKey) {
    const std::wstring deeper = key + L"\\New\\Deeper";
    EXPECT_TRUE(CRegistry::WriteDword(HKEY_CURRENT_USER, deeper.c_str(), L"ShowOnceSchedule", 1));
    DWORD value = 0;
    EXPECT_TRUE(CRegistry::ReadDword(HKEY_CURRENT_USER, deeper.c_str(), L"ShowOnceSchedule", &value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(CRegistry::WriteDword(HKEY_CURRENT_USER, deeper.c_str(), L"ShowOnceSchedule", 0));
    EXPECT_TRUE(CRegistry::ReadDword(HKEY_CURRENT_USER, deeper.c_str(), L"ShowOnceSchedule", &value));
    EXPECT_EQ(0u, value);

    UniqueHkey created(CRegistry::CreateKey(HKEY_CURRENT_USER, (key + L"\\Made").c_str()));
    EXPECT_TRUE(created);
    EXPECT_EQ(nullptr, CRegistry::CreateKey(HKEY_CURRENT_USER, nullptr));
}

TEST(OsVersion, ClassifiesThePlatformVersions) {
    struct Case {
        DWORD platform, major, minor;
        int expected;
    };
    for (const Case& c : {Case{VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1}, Case{VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2},
                          Case{VER_PLATFORM_WIN32_WINDOWS, 4, 90, 4}, Case{VER_PLATFORM_WIN32_NT, 4, 0, 3},
                          Case{VER_PLATFORM_WIN32_NT, 5, 0, 5}, Case{VER_PLATFORM_WIN32_NT, 5, 1, 6},
                          Case{VER_PLATFORM_WIN32_NT, 5, 2, 0}, Case{VER_PLATFORM_WIN32_NT, 6, 1, 8},
                          Case{VER_PLATFORM_WIN32_NT, 10, 0, 8}, Case{VER_PLATFORM_WIN32s, 3, 1, 0}}) {
        OSVERSIONINFOW v{};
        v.dwPlatformId = c.platform;
        v.dwMajorVersion = c.major;
        v.dwMinorVersion = c.minor;
        EXPECT_EQ(c.expected, ClassifyOSVersion(v)) << c.platform << " " << c.major << "." << c.minor;
    }
    // Whatever the platform reports, an interactive test process keeps its own HKCU.
    EXPECT_EQ(HKEY_CURRENT_USER, CRegistry::GetCurrentUserKey());
}
}  // namespace

// An owner must never close a root key: on 64-bit builds their values are
// sign-extended, so a plain unsigned range misses all of them.
TEST(RegistryKeyOwner, LeavesEveryRootKeyOpenAndClosesOpenedKeys) {
    const HKEY roots[] = {HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER,     HKEY_LOCAL_MACHINE, HKEY_USERS,
                          HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,   HKEY_DYN_DATA,
                          HKEY_CURRENT_USER_LOCAL_SETTINGS, HKEY_PERFORMANCE_TEXT, HKEY_PERFORMANCE_NLSTEXT};
    for (const HKEY root : roots)
        EXPECT_TRUE(handle_traits::RegistryKey::IsPredefined(root)) << reinterpret_cast<ULONG_PTR>(root);
    UniqueHkey opened;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, opened.receive()));
    EXPECT_FALSE(handle_traits::RegistryKey::IsPredefined(opened.get()));
}
