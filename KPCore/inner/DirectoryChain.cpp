#include "KPCore/inner/DirectoryChain.h"

#include <windows.h>
#include <shlwapi.h>

#include "KPCore/inner/PathText.h"

int CreateDirectoryChain(const std::wstring& path)
{
    const auto steps = DirectoryChainSteps(path);
    if (!steps) return ERROR_FILENAME_EXCED_RANGE;
    int result = 0;
    for (const std::wstring& directory : *steps) {
        if (PathFileExistsW(directory.c_str())) continue;
        // Go on after a failure: the directory may appear all the same (made by someone else).
        if (!CreateDirectoryW(directory.c_str(), nullptr)) {
            const DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && result == 0) result = static_cast<int>(error);
        }
    }
    if (steps->empty() || !PathIsDirectoryW(steps->back().c_str())) return result != 0 ? result : ERROR_PATH_NOT_FOUND;
    return 0;
}
