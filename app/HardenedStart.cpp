#include "app/HardenedStart.h"

#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/RedirectionTrust.h"

const wchar_t kDllSearchUnavailableText[] =
    L"此版本的 Windows 缺少安全更新 KB2533623，安装程序无法安全运行。\n"
    L"请先通过 Windows 更新安装该更新，然后重新运行安装程序。";

bool HardenProcess(SetDefaultDllDirectoriesFunction setDefault, const std::function<void(const wchar_t*)>& tell)
{
    if (!HardenDllSearch(setDefault)) {
        tell(kDllSearchUnavailableText);
        return false;
    }
    // Missing under Wine and before Windows 10 2004; the status file's own checks still hold.
    EnableRedirectionTrust();
    return true;
}

void ShowHardeningRefusal(const wchar_t* text)
{
    ::MessageBoxW(nullptr, text, kProductName, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
