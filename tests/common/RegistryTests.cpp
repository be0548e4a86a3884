// Typed registry access, under a private key that the test removes again.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

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

TEST_F(Registry, ReadsValuesOfTheirOwnType) {
    CStringEx value(L"old");
    EXPECT_TRUE(CRegistry::ReadStringEx(HKEY_CURRENT_USER, key.c_str(), L"Text", &value));
    EXPECT_STREQ(L"hello", value.c_str());
    EXPECT_EQ(5, value.GetLength());
    EXPECT_FALSE(CRegistry::ReadStringEx(HKEY_CURRENT_USER, key.c_str(), L"Missing", &value));
    EXPECT_TRUE(value.IsEmpty());
    BYTE blob[4] = {9, 9, 9, 9};
    EXPECT_TRUE(CRegistry::ReadBinary(HKEY_CURRENT_USER, key.c_str(), L"Blob", blob, sizeof(blob)));
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 0}), std::vector<BYTE>(blob, blob + 4));
}

TEST_F(Registry, MissingKeysValuesAndArgumentsAreFalse) {
    DWORD number = 7;
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, (key + L"\\Nope").c_str(), L"Number", &number));
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), L"Nope", &number));
    EXPECT_FALSE(CRegistry::ReadDword(nullptr, key.c_str(), L"Number", &number));
    EXPECT_FALSE(CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), L"Number", nullptr));
    EXPECT_FALSE(CRegistry::ReadString(HKEY_CURRENT_USER, key.c_str(), L"Text", nullptr, 8));
    EXPECT_FALSE(CRegistry::WriteDword(HKEY_CURRENT_USER, key.c_str(), nullptr, 1));
    EXPECT_EQ(7u, number);
}

// Values of the wrong type or size, as a damaged or hand-edited registry holds
// them: every reader answers false with its safe output (untouched number,
// zero-filled buffer, empty string) or reads what fits, never past its buffer.
TEST_F(Registry, DamagedValuesReadAsMissingAndNeverOverrun) {
    auto bytes = [](const void* data, size_t size) {
        const BYTE* p = static_cast<const BYTE*>(data);
        return std::vector<BYTE>(p, p + size);
    };
    const DWORD one = 1;
    const ULONGLONG wide = 0x100000001ULL;
    const std::wstring longText(5000, L'x');
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
        bool dword, text;  // whether ReadDword / ReadString (8 characters) succeed
        const wchar_t* read;  // the text read when it does
    };
    const Case cases[] = {
        {"dword", REG_DWORD, bytes(&one, 4), true, false, nullptr},
        {"dword of two bytes", REG_DWORD, bytes(&one, 2), false, false, nullptr},
        {"dword of eight bytes", REG_DWORD, bytes(&wide, 8), false, false, nullptr},
        {"number as text", REG_SZ, bytes(L"1", 4), false, true, L"1"},
        {"empty text", REG_SZ, {}, false, true, L""},
        {"text longer than the buffer", REG_SZ, bytes(longText.c_str(), (longText.size() + 1) * 2), false, false,
         nullptr},
        {"text without its terminator", REG_SZ, bytes(unterminated, sizeof(unterminated)), false, true, L"abc"},
        {"text of an odd byte count", REG_SZ, bytes(L"ab", 3), false, true, nullptr},
        {"binary", REG_BINARY, bytes("\xFF\xFE\x00\x01", 4), false, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Damaged", c.type,
                                                   c.data.empty() ? nullptr : c.data.data(),
                                                   static_cast<DWORD>(c.data.size())));
        DWORD number = 7;
        EXPECT_EQ(c.dword, CRegistry::ReadDword(HKEY_CURRENT_USER, key.c_str(), L"Damaged", &number) != FALSE);
        EXPECT_EQ(c.dword ? 1u : 7u, number);

        // Eight characters for the reader, then a guard it must not touch.
        wchar_t buffer[12];
        wmemset(buffer, L'#', 12);
        EXPECT_EQ(c.text, CRegistry::ReadString(HKEY_CURRENT_USER, key.c_str(), L"Damaged", buffer, 8) != FALSE);
        EXPECT_EQ(std::wstring(4, L'#'), std::wstring(buffer + 8, 4));
        EXPECT_LT(std::wcslen(buffer), 8u);
        if (!c.text) {
            EXPECT_EQ(std::wstring(8, L'\0'), std::wstring(buffer, 8));
        }
        if (c.read) {
            EXPECT_STREQ(c.read, buffer);
        }

        BYTE blob[6];
        std::memset(blob, 0xAA, sizeof(blob));
        if (!CRegistry::ReadBinary(HKEY_CURRENT_USER, key.c_str(), L"Damaged", blob, 4)) {
            EXPECT_EQ(0, blob[0] | blob[1] | blob[2] | blob[3]);
        }
        EXPECT_EQ(0xAA, blob[4]);
        EXPECT_EQ(0xAA, blob[5]);
    }
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
