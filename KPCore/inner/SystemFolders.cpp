#include "KPCore/inner/SystemFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "KPCore/inner/PathText.h"

std::wstring GetModuleDir()
{
    // Usually within 260 characters; a longer location gets a bigger buffer rather than a cut path.
    for (DWORD size = kPathBufferChars; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return std::wstring();
        if (length < size) return DirectoryOfPath(std::wstring(buffer.data(), length));
    }
    return std::wstring();
}

std::wstring GetSpecialFolder(int csidl)
{
    // The shell writes up to MAX_PATH characters: the buffer must hold that many.
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return std::wstring();
    return std::wstring(buffer);
}

std::wstring GetDefaultInstallDir() { return DefaultInstallDirIn(GetSpecialFolder(CSIDL_PROGRAM_FILES)); }
