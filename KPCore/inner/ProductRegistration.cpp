#include "KPCore/inner/ProductRegistration.h"

#include "KPCore/inner/PathText.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ShellLink.h"
#include "KPCore/inner/UninstallRegistration.h"

RegistrationResult RegisterInstalledProduct(const std::wstring& appFolder)
{
    const std::wstring application = appFolder + kAppExeSuffix;
    const std::wstring uninstaller = appFolder + kUninstallerExeSuffix;
    RegistrationResult result;
    result.uninstallEntry = RegisterUninstallEntry(appFolder);
    result.shortcuts = CreateProgramShortcuts(application, uninstaller, appFolder, kProductName,
                                              ShortcutDescription(kProductName, appFolder));
    return result;
}

std::wstring DescribeRegistration(const RegistrationResult& result)
{
    std::wstring text = L"uninstall entry: ";
    text += result.uninstallEntry == ERROR_SUCCESS ? L"written"
                                                   : L"failed, error " + std::to_wstring(result.uninstallEntry);
    text += L"; Start-menu shortcuts: ";
    text += result.shortcuts ? L"written" : L"failed";
    return text;
}
