// The package's address, its parameters and its file name.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwctype>

#include "app/PackageCommand.h"

TEST(PackageCommand, TheAddressIsHttpsOnTheVendorHostWithTheFixedPathAndQuery)
{
    const std::wstring url = PackageUrl();
    const std::wstring host = std::wstring(L"https://") + L"" KP_VENDOR_HOST + L"/";
    EXPECT_EQ(0u, url.find(host)) << "https, then the configured host";
    EXPECT_EQ(host.size() - 1, url.find(L"/openapi/download?ch=10009&app=10000"));
    EXPECT_EQ(host.size() - 1 + 36, url.size());
}

TEST(PackageCommand, TheFolderGoesInVerbatimAndTheShortcutChoiceAsTrueOrFalse)
{
    EXPECT_EQ(L"-instdir=C:\\Program Files (x86)\\KPCapture -dsc=true",
              PackageCommandLine(L"C:\\Program Files (x86)\\KPCapture", true));
    EXPECT_EQ(L"-instdir=D:\\my apps\\ 两 空格 \\KPCapture -dsc=false",
              PackageCommandLine(L"D:\\my apps\\ 两 空格 \\KPCapture", false));
    // A folder with quotes or a trailing backslash is not "repaired": the package gets what the
    // user chose.
    EXPECT_EQ(L"-instdir=\"D:\\x\"\\ -dsc=true", PackageCommandLine(L"\"D:\\x\"\\", true));
    EXPECT_EQ(L"-instdir= -dsc=false", PackageCommandLine(L"", false));
}

TEST(PackageCommand, TheFileNameIsTheGuidsThirtyTwoUpperCaseDigits)
{
    const std::uint8_t bytes[8] = {0x8C, 0x6D, 0x00, 0x0F, 0xA0, 0xB1, 0xC2, 0xFF};
    EXPECT_EQ(L"0A1B2C3D00E5F0078C6D000FA0B1C2FF.exe", PackageFileName(0x0A1B2C3Du, 0x00E5, 0xF007, bytes));

    const std::uint8_t zeros[8] = {};
    EXPECT_EQ(L"00000000000000000000000000000000.exe", PackageFileName(0, 0, 0, zeros));
    const std::uint8_t ones[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const std::wstring name = PackageFileName(0xFFFFFFFFu, 0xFFFF, 0xFFFF, ones);
    EXPECT_EQ(36u, name.size());
    EXPECT_EQ(std::wstring(32, L'F') + L".exe", name);
}
