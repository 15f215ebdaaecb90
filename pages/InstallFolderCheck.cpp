#include <windows.h>

#include "pages/InstallFolderRule.h"

FolderRefusal CheckInstallFolder(const std::wstring& folder)
{
    const FolderRefusal byText = CheckInstallFolderText(folder);
    if (byText != FolderRefusal::None) return byText;
    // A folder that does not exist yet is fine: the package creates it. Only an existing file in
    // its place is refused.
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return FolderRefusal::IsFile;
    return FolderRefusal::None;
}
