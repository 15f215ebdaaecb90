#include "KPCore/inner/UninstallRegistration.h"

#include "KPCore/inner/KPReg2.h"
#include "KPCore/inner/UninstallEntry.h"

LONG RegisterUninstallEntry(const std::wstring& installDir, Wow64Probe isWow64)
{
    // No view flag: a 32-bit process on 64-bit Windows is redirected to the 32-bit view, which
    // is the same key that the explicit Wow6432Node path names.
    KPReg2 key;
    LONG result = key.Create(HKEY_LOCAL_MACHINE, UninstallSubKey(isWow64()), KEY_ALL_ACCESS);
    if (result != ERROR_SUCCESS) return result;
    for (const UninstallValue& value : UninstallValues(installDir)) {
        const LONG status = key.WriteString(value.name.c_str(), value.data.c_str());
        if (result == ERROR_SUCCESS) result = status;
    }
    key.Close();
    return result;
}
