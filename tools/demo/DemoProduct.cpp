#include "tools/demo/DemoProduct.h"

#include <windows.h>
#include <shlobj.h>

#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/SystemFolders.h"

std::wstring DemoAppFolder(const std::wstring& installDir) { return installDir + L"\\" + kDefaultInstallFolderName; }

std::wstring DemoDesktopShortcut()
{
    return GetSpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + kProductName + L".lnk";
}

std::wstring DemoInstallLog(const std::wstring& appFolder) { return appFolder + L"\\install.log"; }

std::string DemoPayload(int resourceId)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return std::string();
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

bool DemoWriteFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

std::string DemoUtf8(const std::wstring& text)
{
    if (text.empty()) return std::string();
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}
