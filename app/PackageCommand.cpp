#include "app/PackageCommand.h"

#include "pages/VendorAddress.h"

namespace {

constexpr wchar_t kPackageQuery[] = L"/openapi/download?ch=10009&app=10000";

// `digits` upper-case hexadecimal digits of `value`, most significant first.
void AppendHex(std::wstring& out, std::uint32_t value, int digits)
{
    static const wchar_t hex[] = L"0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += hex[(value >> shift) & 0xF];
}

}  // namespace

std::wstring PackageUrl() { return VendorAddress(kPackageQuery); }

std::wstring PackageCommandLine(const std::wstring& installDir, bool desktopShortcut)
{
    return L"-instdir=" + installDir + L" -dsc=" + (desktopShortcut ? L"true" : L"false");
}

std::wstring PackageFileName(std::uint32_t data1, std::uint16_t data2, std::uint16_t data3,
                             const std::uint8_t (&data4)[8])
{
    std::wstring name;
    AppendHex(name, data1, 8);
    AppendHex(name, data2, 4);
    AppendHex(name, data3, 4);
    for (std::uint8_t byte : data4) AppendHex(name, byte, 2);
    return name + L".exe";
}
