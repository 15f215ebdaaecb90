#include "KPCore/inner/FolderPicker.h"

#include <shlobj.h>

#include <vector>

namespace {

// The dialog's path buffer; the display-name output and the initial selection share it.
constexpr std::size_t kDialogBufferChars = 4096;

}  // namespace

int CALLBACK FolderDialogCallback(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

std::wstring ShowShellFolderDialog(const std::wstring& currentPath, HWND owner)
{
    std::vector<wchar_t> buffer(kDialogBufferChars, L'\0');
    currentPath.copy(buffer.data(), kDialogBufferChars - 1);

    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = buffer.data();
    info.lpszTitle = L"请选择文件路径";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_UAHINT | BIF_BROWSEINCLUDEFILES;
    info.lpfn = FolderDialogCallback;
    info.lParam = reinterpret_cast<LPARAM>(buffer.data());

    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr) return std::wstring();
    // SHGetPathFromIDListW writes at most MAX_PATH characters, well inside the buffer.
    const BOOL converted = SHGetPathFromIDListW(chosen, buffer.data());
    CoTaskMemFree(chosen);
    // An item with no file-system path (a virtual folder) counts as no choice.
    return converted ? std::wstring(buffer.data()) : std::wstring();
}
