// Another process of the user that tries to replace the installer's downloaded package before it
// runs, for the end-to-end test:
//   kp_swap_package.exe ROOT REPLACEMENT SIZE WAIT_MS TRY_MS
// waits (up to 60 s) for a package of SIZE bytes in a folder under ROOT, then WAIT_MS more, then
// tries every 50 ms, for TRY_MS, to put REPLACEMENT's bytes in its place: by writing over the file,
// and by moving a copy over it. Prints "replaced after N refusals" and exits with 0 at the first
// success, or prints "refused N times (write error W, move error M)" and exits with 1; exits with 2
// when no package came.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The first "<folder>\*.exe" under `root` whose size is `size`.
std::wstring FindPackage(const std::wstring& root, ULONGLONG size)
{
    WIN32_FIND_DATAW folder{};
    HANDLE folders = FindFirstFileW((root + L"\\*").c_str(), &folder);
    if (folders == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring found;
    do {
        const std::wstring name = folder.cFileName;
        if (name == L"." || name == L".." || !(folder.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        WIN32_FIND_DATAW file{};
        HANDLE files = FindFirstFileW((root + L"\\" + name + L"\\*.exe").c_str(), &file);
        if (files == INVALID_HANDLE_VALUE) continue;
        if ((static_cast<ULONGLONG>(file.nFileSizeHigh) << 32 | file.nFileSizeLow) == size)
            found = root + L"\\" + name + L"\\" + file.cFileName;
        FindClose(files);
    } while (found.empty() && FindNextFileW(folders, &folder));
    FindClose(folders);
    return found;
}

bool ReadAll(const std::wstring& path, std::vector<char>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    const bool ok =
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
    CloseHandle(file);
    return ok;
}

// Writes `bytes` over the file at `path`; the Windows error when it cannot be opened for writing.
DWORD Overwrite(const std::wstring& path, const std::vector<char>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && SetEndOfFile(file);
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    return error;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 6) {
        std::fputs("usage: kp_swap_package.exe ROOT REPLACEMENT SIZE WAIT_MS TRY_MS\n", stderr);
        return 3;
    }
    const std::wstring root = argv[1];
    const std::wstring replacement = argv[2];
    const ULONGLONG size = _wcstoui64(argv[3], nullptr, 10);
    const DWORD waitMs = wcstoul(argv[4], nullptr, 10);
    const DWORD tryMs = wcstoul(argv[5], nullptr, 10);

    std::wstring package;
    for (int i = 0; i < 1200 && package.empty(); ++i) {
        package = FindPackage(root, size);
        if (package.empty()) Sleep(50);
    }
    if (package.empty()) {
        std::puts("no package came");
        return 2;
    }
    Sleep(waitMs);

    std::vector<char> bytes;
    if (!ReadAll(replacement, bytes)) {
        std::puts("cannot read the replacement");
        return 3;
    }
    // Moved over the package from a copy of the attacker's own.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + L"kp-swap-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    const DWORD start = GetTickCount();
    int refusals = 0;
    DWORD writeError = 0, moveError = 0;
    do {
        writeError = Overwrite(package, bytes);
        if (writeError == ERROR_SUCCESS) {
            std::printf("replaced after %d refusals\n", refusals);
            return 0;
        }
        if (!CopyFileW(replacement.c_str(), copy.c_str(), FALSE)) {
            std::printf("cannot copy the replacement (error %lu)\n", GetLastError());
            return 3;
        }
        if (MoveFileExW(copy.c_str(), package.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
            std::printf("replaced after %d refusals\n", refusals);
            return 0;
        }
        moveError = GetLastError();
        ++refusals;
        Sleep(50);
    } while (GetTickCount() - start < tryMs);
    DeleteFileW(copy.c_str());
    std::printf("refused %d times (write error %lu, move error %lu)\n", refusals, writeError, moveError);
    return 1;
}
