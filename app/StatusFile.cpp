#include "app/StatusFile.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <clocale>

namespace {

constexpr DWORD kValueChars = 260;

// Empty when the shell cannot say; the folder then ends up under the current drive's root.
std::wstring LocalAppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE);
    return folder;
}

// The runtime library's locale is switched before every access; a runtime without this locale
// refuses, which changes nothing and is ignored.
void UseStatusLocale() { _wsetlocale(LC_ALL, L"en_GB.UTF-8"); }

std::wstring ReadValue(const std::wstring& file, const wchar_t* key)
{
    wchar_t value[kValueChars] = {};
    GetPrivateProfileStringW(kStatusSection, key, kStatusDefault, value, kValueChars, file.c_str());
    return value;
}

void WriteValue(const std::wstring& file, const wchar_t* key, const wchar_t* value)
{
    WritePrivateProfileStringW(kStatusSection, key, value, file.c_str());
}

bool MakeFolder(const std::wstring& folder)
{
    if (PathFileExistsW(folder.c_str())) return true;
    // Another process (the setup package) may make it between the test and the creation.
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

std::wstring GetRoamingDataDir() { return RoamingDataDirFrom(LocalAppDataFolder()); }

std::wstring GetStatusFilePath()
{
    const std::wstring folder = GetRoamingDataDir();
    EnsureDirectory(folder);
    return StatusFilePathIn(folder);
}

bool EnsureDirectory(const std::wstring& path)
{
    const auto steps = DirectoryCreationSteps(path);
    if (!steps) return false;
    for (const std::wstring& folder : *steps)
        if (!MakeFolder(folder)) return false;
    return true;
}

void PrepareStatusFile() { PrepareStatusFile(GetStatusFilePath()); }

void PrepareStatusFile(const std::wstring& statusFile)
{
    UseStatusLocale();
    if (ChannelNeedsSeed(ReadValue(statusFile, kChannelKey))) WriteValue(statusFile, kChannelKey, kSeedChannel);
    WriteValue(statusFile, kActiveKey, kActiveAtStart);
}

std::wstring PollStatusFile() { return PollStatusFile(GetStatusFilePath()); }

std::wstring PollStatusFile(const std::wstring& statusFile)
{
    UseStatusLocale();
    return ReadValue(statusFile, kActiveKey);
}
