#include "KPCore/inner/UninstallEntry.h"

#include "KPCore/inner/ProductInfo.h"

std::wstring UninstallSubKey(bool wow64)
{
    return std::wstring(wow64 ? kUninstallRootWow64 : kUninstallRoot) + L"\\" + kProductGuid;
}

std::vector<UninstallValue> UninstallValues(const std::wstring& installDir)
{
    return {
        {L"DisplayName", kProductName},
        {L"DisplayIcon", installDir + kAppExeSuffix},
        // Quoted: Windows runs this string as a command line, and an unquoted path with spaces
        // ("C:\Program Files\...") would first be tried as "C:\Program.exe".
        {L"UninstallString", L"\"" + installDir + kUninstallerExeSuffix + L"\""},
        {L"InstallLocation", installDir},
        {L"DisplayVersion", kProductVersion},
        {L"Publisher", kProductPublisher},
    };
}
