#include "pages/InstallFolderRule.h"

namespace {

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

FolderRefusal CheckInstallFolderText(const std::wstring& folder)
{
    if (folder.empty()) return FolderRefusal::Empty;
    // The command line is checked before the characters: a double quote is both, and the user is
    // better served by hearing why the package cannot take it.
    if (folder.find(L'"') != std::wstring::npos || folder.find(L" -") != std::wstring::npos)
        return FolderRefusal::BreaksCommandLine;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const wchar_t c = folder[i];
        const bool driveColon = c == L':' && i == 1;
        if (c < 0x20 || c == L'<' || c == L'>' || c == L'|' || c == L'?' || c == L'*' || (c == L':' && !driveColon))
            return FolderRefusal::BadCharacter;
    }
    if (folder.size() < 4 || !IsDriveLetter(folder[0]) || folder[1] != L':' ||
        (folder[2] != L'\\' && folder[2] != L'/'))
        return FolderRefusal::NotAbsolute;
    if (folder.size() > kMaxInstallFolderLength) return FolderRefusal::TooLong;
    return FolderRefusal::None;
}

std::wstring FolderRefusalText(FolderRefusal refusal)
{
    switch (refusal) {
    case FolderRefusal::None: return {};
    case FolderRefusal::Empty: return L"请选择安装目录";
    case FolderRefusal::NotAbsolute: return L"请填写以盘符开头的完整路径，例如 D:\\Programs";
    case FolderRefusal::BreaksCommandLine: return L"安装目录不能包含双引号或“ -”";
    case FolderRefusal::BadCharacter: return L"安装目录不能包含 < > : | ? * 等字符";
    case FolderRefusal::TooLong: return L"安装目录太长，请选择较短的路径";
    case FolderRefusal::IsFile: return L"所选位置是一个文件，请选择文件夹";
    }
    return {};
}
