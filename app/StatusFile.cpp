#include "app/StatusFile.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <clocale>

namespace {

constexpr DWORD kValueChars = 260;

// Empty when the shell cannot say.
std::wstring LocalAppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE)) return std::wstring();
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
    if (folder.empty()) return std::wstring();
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

bool IsReparsePoint(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

namespace {

// The path Windows reaches through `handle`, every link resolved; empty when it cannot say.
std::wstring FinalPath(HANDLE handle)
{
    wchar_t path[1024] = {};
    const DWORD length = GetFinalPathNameByHandleW(handle, path, 1024, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < 1024 ? std::wstring(path, length) : std::wstring();
}

// APP.ini may be missing (the first run). Otherwise it must be a plain file of the folder held as
// `folder`: no reparse point, no folder, no second name (a hard link), and reached as itself.
// The last test finds the links that carry no reparse attribute (Wine's symbolic links to files).
bool IsPlainFileOrMissing(const std::wstring& file, HANDLE folder)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) return false;
    HANDLE opened =
        CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool oneName = GetFileInformationByHandle(opened, &info) && info.nNumberOfLinks == 1;
    const std::wstring reached = FinalPath(opened);
    CloseHandle(opened);
    const std::wstring expected = FinalPath(folder) + L"\\" + file.substr(file.find_last_of(L"\\/") + 1);
    return oneName && !reached.empty() && reached.size() == expected.size() &&
           CompareStringOrdinal(reached.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Whether one of the `levels` nearest parents of `path` is a reparse point.
bool HasLinkedParent(std::wstring path, int levels)
{
    for (int level = 0; level < levels; ++level) {
        const std::size_t slash = path.find_last_of(L"\\/");
        if (slash == std::wstring::npos || slash < 3) return false;  // the drive's root is no parent of ours
        path.erase(slash);
        if (IsReparsePoint(path)) return true;
    }
    return false;
}

StatusFolderProblem Report(StatusFolderProblem* out, StatusFolderProblem problem)
{
    if (out) *out = problem;
    return problem;
}

}  // namespace

std::unique_ptr<CStatusFileFolder> CStatusFileFolder::Open(const std::wstring& folder, StatusFolderProblem* problem)
{
    Report(problem, StatusFolderProblem::None);
    if (folder.empty()) {
        Report(problem, StatusFolderProblem::NoProfile);
        return nullptr;
    }
    // A link found before anything is made is never followed, not even to make the folder. Its
    // two parents ("AppData\Roaming") belong to the user as much as the folder does; once the
    // folder is held open, Windows lets nobody rename them either.
    if (IsReparsePoint(folder) || HasLinkedParent(folder, 2)) {
        Report(problem, StatusFolderProblem::Redirected);
        return nullptr;
    }
    if (!EnsureDirectory(folder)) {
        Report(problem, StatusFolderProblem::NotCreated);
        return nullptr;
    }
    // The folder itself, not what a link there would lead to; shared for everything but deletion,
    // so the package can use it while nobody can move it away.
    HANDLE handle =
        CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Report(problem, StatusFolderProblem::NotCreated);
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != FALSE;
    // Checked again on the open folder and by its path: a link may have been put there between
    // the first look and the opening.
    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsReparsePoint(folder)) {
        CloseHandle(handle);
        Report(problem, known ? StatusFolderProblem::Redirected : StatusFolderProblem::NotCreated);
        return nullptr;
    }
    std::unique_ptr<CStatusFileFolder> held(new CStatusFileFolder(handle, StatusFilePathIn(folder)));
    if (!IsPlainFileOrMissing(held->m_file, handle)) {
        Report(problem, StatusFolderProblem::Redirected);
        return nullptr;
    }
    return held;
}

CStatusFileFolder::~CStatusFileFolder() { CloseHandle(static_cast<HANDLE>(m_handle)); }

bool CStatusFileFolder::Prepare()
{
    if (!IsPlainFileOrMissing(m_file, static_cast<HANDLE>(m_handle))) return false;
    PrepareStatusFile(m_file);
    return true;
}

std::wstring CStatusFileFolder::Poll()
{
    if (!IsPlainFileOrMissing(m_file, static_cast<HANDLE>(m_handle))) return kStatusDefault;
    return PollStatusFile(m_file);
}
