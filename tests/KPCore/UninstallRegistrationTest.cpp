#include <gtest/gtest.h>

#include "KPCore/inner/UninstallRegistration.h"
#include "KPCoreTestSupport.h"

using namespace kpcoretest;

namespace {

const std::wstring kGuid = L"{5E1A0C42-7B3D-4F19-A8C6-2D9E04B7F153}";
const std::wstring kPlainKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kGuid;
const std::wstring kWowKey = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kGuid;

bool On64BitWindows() { return true; }
bool On32BitWindows() { return false; }

// Every test starts and ends without the product's entry in either view.
class RegisterUninstallEntryTest : public testing::Test {
protected:
    void SetUp() override { RemoveEntries(); }
    void TearDown() override { RemoveEntries(); }
    static void RemoveEntries()
    {
        DeleteKey(HKEY_LOCAL_MACHINE, kPlainKey, KEY_WOW64_64KEY);
        DeleteKey(HKEY_LOCAL_MACHINE, kPlainKey, KEY_WOW64_32KEY);
    }

    // The six values in the key, read back exactly: type, byte count, text with terminator.
    static void ExpectEntry(const std::wstring& subKey, REGSAM view, const std::wstring& dir)
    {
        const std::pair<const wchar_t*, std::wstring> expected[] = {
            {L"DisplayName", L"凯普视频工坊"},
            {L"DisplayIcon", dir + L"\\KPApp.exe"},
            {L"UninstallString", L"\"" + dir + L"\\KPUnInstall.exe\""},
            {L"InstallLocation", dir},
            {L"DisplayVersion", L"12.0.0.0"},
            {L"Publisher", L"凯普信息科技有限公司"},
        };
        for (const auto& value : expected) {
            const StoredValue stored = ReadStored(HKEY_LOCAL_MACHINE, subKey, view, value.first);
            ASSERT_EQ(stored.status, ERROR_SUCCESS) << value.first;
            EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ)) << value.first;
            EXPECT_EQ(stored.bytes, 2 * (value.second.size() + 1)) << value.first;
            EXPECT_EQ(stored.text, WithTerminator(value.second)) << value.first;
        }
    }
};

}  // namespace

TEST_F(RegisterUninstallEntryTest, On32BitWindowsWritesTheSixValuesUnderThePlainUninstallList)
{
    EXPECT_EQ(RegisterUninstallEntry(L"D:\\Tools\\Rec", On32BitWindows), ERROR_SUCCESS);

    // This test process is 64-bit, so "no view flag" on the plain path is the 64-bit view.
    ExpectEntry(kPlainKey, KEY_WOW64_64KEY, L"D:\\Tools\\Rec");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPlainKey, KEY_WOW64_32KEY));
}

TEST_F(RegisterUninstallEntryTest, UnderWow64WritesTheEntryIntoThe32BitView)
{
    EXPECT_EQ(RegisterUninstallEntry(L"D:\\Tools\\Rec", On64BitWindows), ERROR_SUCCESS);

    // The explicit Wow6432Node path and the 32-bit view of the plain path are one key.
    ExpectEntry(kWowKey, 0, L"D:\\Tools\\Rec");
    ExpectEntry(kPlainKey, KEY_WOW64_32KEY, L"D:\\Tools\\Rec");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPlainKey, KEY_WOW64_64KEY));
}

TEST_F(RegisterUninstallEntryTest, ASecondRunOverwritesItsValuesAndKeepsOthers)
{
    ASSERT_EQ(RegisterUninstallEntry(L"C:\\First", On32BitWindows), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPlainKey.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key),
              ERROR_SUCCESS);
    const DWORD size = 1234;
    RegSetValueExW(key, L"EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof size);
    RegCloseKey(key);

    EXPECT_EQ(RegisterUninstallEntry(L"E:\\第二次", On32BitWindows), ERROR_SUCCESS);

    ExpectEntry(kPlainKey, KEY_WOW64_64KEY, L"E:\\第二次");
    const StoredValue kept = ReadStored(HKEY_LOCAL_MACHINE, kPlainKey, KEY_WOW64_64KEY, L"EstimatedSize");
    EXPECT_EQ(kept.status, ERROR_SUCCESS);
    EXPECT_EQ(kept.type, static_cast<DWORD>(REG_DWORD));

    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPlainKey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key), ERROR_SUCCESS);
    DWORD subKeys = 0;
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 7u);
}

TEST_F(RegisterUninstallEntryTest, AnEmptyFolderIsStoredAsASingleNullCharacter)
{
    EXPECT_EQ(RegisterUninstallEntry(L"", On32BitWindows), ERROR_SUCCESS);

    const StoredValue location = ReadStored(HKEY_LOCAL_MACHINE, kPlainKey, KEY_WOW64_64KEY, L"InstallLocation");
    EXPECT_EQ(location.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(location.bytes, 2u);
    EXPECT_EQ(location.text, std::wstring(1, L'\0'));
    ExpectEntry(kPlainKey, KEY_WOW64_64KEY, L"");
}
