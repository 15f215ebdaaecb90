#include <gtest/gtest.h>

#include <cstring>

#include "KPCore/inner/KPReg2.h"
#include "KPCoreTestSupport.h"

using namespace kpcoretest;

namespace {

bool UnderWow64() { return true; }
bool NotUnderWow64() { return false; }

// A key of this process's own under HKEY_CURRENT_USER, removed before and after each test.
class KPReg2Test : public testing::Test {
protected:
    const std::wstring subKey = L"Software\\KPCoreTest\\Reg2-" + std::to_wstring(GetCurrentProcessId());

    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        DeleteKey(HKEY_CURRENT_USER, subKey, 0);
        DeleteKey(HKEY_CURRENT_USER, L"Software\\KPCoreTest", 0);
    }
};

}  // namespace

TEST_F(KPReg2Test, CreateOpensAKeyAndCloseLetsItGo)
{
    KPReg2 key;
    EXPECT_EQ(key.Handle(), nullptr);
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    EXPECT_NE(key.Handle(), nullptr);
    EXPECT_EQ(key.SubKey(), subKey);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, subKey, 0));

    // Creating an existing key opens it.
    ASSERT_EQ(key.WriteString(L"kept", L"yes"), ERROR_SUCCESS);
    KPReg2 again;
    ASSERT_EQ(again.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(again.ReadString(L"kept", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"yes");

    key.Close();
    EXPECT_EQ(key.Handle(), nullptr);
    key.Close();  // closing twice is harmless
    EXPECT_EQ(key.WriteString(L"late", L"x"), ERROR_INVALID_HANDLE);
}

TEST_F(KPReg2Test, AFailedCreateLeavesNoKeyOpen)
{
    KPReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    // A sub-key under a closed predefined key cannot be made.
    EXPECT_NE(key.Create(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x12345678)), L"x", KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    EXPECT_EQ(key.Handle(), nullptr);
    DWORD number = 7;
    std::wstring text = L"untouched";
    EXPECT_EQ(key.ReadDword(L"x", number), ERROR_INVALID_HANDLE);
    EXPECT_EQ(key.ReadString(L"x", text), ERROR_INVALID_HANDLE);
    EXPECT_EQ(key.WriteDword(L"x", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(key.DeleteValue(L"x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(text, L"untouched");
}

TEST_F(KPReg2Test, StringsAreStoredAsRegSzWithTheirTerminator)
{
    KPReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteString(L"Name", L"凯普 KP"), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteString(L"Empty", L""), ERROR_SUCCESS);
    EXPECT_EQ(key.WriteString(L"Null", nullptr), ERROR_INVALID_PARAMETER);

    const StoredValue name = ReadStored(HKEY_CURRENT_USER, subKey, 0, L"Name");
    EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(name.bytes, 12u);  // five characters and the terminator
    EXPECT_EQ(name.text, WithTerminator(L"凯普 KP"));
    const StoredValue empty = ReadStored(HKEY_CURRENT_USER, subKey, 0, L"Empty");
    EXPECT_EQ(empty.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(empty.bytes, 2u);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, subKey, 0, L"Null").status, ERROR_FILE_NOT_FOUND);

    std::wstring text;
    EXPECT_EQ(key.ReadString(L"Name", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"凯普 KP");
    EXPECT_EQ(key.ReadString(L"Empty", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"");
}

TEST_F(KPReg2Test, DwordsRoundTripAndTheOutputChangesOnlyOnSuccess)
{
    KPReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteDword(L"Size", 0xDEADBEEF), ERROR_SUCCESS);
    const StoredValue stored = ReadStored(HKEY_CURRENT_USER, subKey, 0, L"Size");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored.bytes, 4u);

    DWORD value = 0;
    EXPECT_EQ(key.ReadDword(L"Size", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 0xDEADBEEFu);

    value = 5;
    EXPECT_EQ(key.ReadDword(L"Missing", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 5u);
    // "a" with its terminator is four bytes too, but it is not a number.
    ASSERT_EQ(key.WriteString(L"Text", L"a"), ERROR_SUCCESS);
    EXPECT_EQ(key.ReadDword(L"Text", value), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(value, 5u);
}

TEST_F(KPReg2Test, ReadStringHoldsAtMost256CharactersAndRefusesOtherTypes)
{
    KPReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    const std::wstring longest(255, L'x');
    ASSERT_EQ(key.WriteString(L"Longest", longest.c_str()), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteString(L"TooLong", (longest + L"y").c_str()), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteDword(L"Number", 1), ERROR_SUCCESS);

    std::wstring text = L"before";
    EXPECT_EQ(key.ReadString(L"Longest", text), ERROR_SUCCESS);
    EXPECT_EQ(text, longest);
    text = L"before";
    EXPECT_EQ(key.ReadString(L"TooLong", text), ERROR_MORE_DATA);
    EXPECT_EQ(key.ReadString(L"Number", text), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(key.ReadString(L"Missing", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, L"before");
}

TEST_F(KPReg2Test, ReadStringTakesTheStoredCharactersWhenTheTerminatorIsMissing)
{
    KPReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    // 255 characters and no terminator after them.
    const std::wstring full(255, L'z');
    ASSERT_EQ(RegSetValueExW(key.Handle(), L"Full", 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()), 510),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Handle(), L"Short", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"abc"), 6),
              ERROR_SUCCESS);

    std::wstring text;
    EXPECT_EQ(key.ReadString(L"Full", text), ERROR_SUCCESS);
    EXPECT_EQ(text, full);
    EXPECT_EQ(key.ReadString(L"Short", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"abc");
}

TEST_F(KPReg2Test, ReadRawGivesTheStoredBytesAndTypeAndDeleteValueRemovesIt)
{
    KPReg2 key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteString(L"Raw", L"ab"), ERROR_SUCCESS);

    wchar_t buffer[8] = {};
    DWORD bytes = sizeof buffer;
    DWORD type = REG_NONE;
    EXPECT_EQ(key.ReadRaw(L"Raw", buffer, bytes, &type), ERROR_SUCCESS);
    EXPECT_EQ(bytes, 6u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(buffer, 3), WithTerminator(L"ab"));

    bytes = 2;
    EXPECT_EQ(key.ReadRaw(L"Raw", buffer, bytes), ERROR_MORE_DATA);
    EXPECT_EQ(bytes, 6u);

    EXPECT_EQ(key.DeleteValue(L"Raw"), ERROR_SUCCESS);
    EXPECT_EQ(key.DeleteValue(L"Raw"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, subKey, 0, L"Raw").status, ERROR_FILE_NOT_FOUND);
}

// HKEY_LOCAL_MACHINE\SOFTWARE has a 32-bit and a 64-bit view: OpenForWrite picks the 64-bit one
// under WOW64 and the 32-bit one otherwise.
TEST(KPReg2Views, OpenForWriteAndReadChooseTheViewByTheWow64Answer)
{
    const std::wstring subKey = L"SOFTWARE\\KPCoreViewTest-" + std::to_wstring(GetCurrentProcessId());
    HKEY made = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                              nullptr, &made, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(made);

    {
        KPReg2 key;
        EXPECT_EQ(key.OpenForWrite(HKEY_LOCAL_MACHINE, subKey, UnderWow64), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(key.Handle(), nullptr);
        ASSERT_EQ(key.OpenForWrite(HKEY_LOCAL_MACHINE, subKey, NotUnderWow64), ERROR_SUCCESS);
        EXPECT_EQ(key.WriteDword(L"View", 32), ERROR_SUCCESS);

        KPReg2 reader;
        ASSERT_EQ(reader.OpenForRead(HKEY_LOCAL_MACHINE, subKey, NotUnderWow64), ERROR_SUCCESS);
        DWORD view = 0;
        EXPECT_EQ(reader.ReadDword(L"View", view), ERROR_SUCCESS);
        EXPECT_EQ(view, 32u);
    }
    const StoredValue stored = ReadStored(HKEY_LOCAL_MACHINE, subKey, KEY_WOW64_32KEY, L"View");
    EXPECT_EQ(stored.status, ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, subKey, KEY_WOW64_64KEY));
    DeleteKey(HKEY_LOCAL_MACHINE, subKey, KEY_WOW64_32KEY);
}
