#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Asks the user for a folder. Returns the chosen folder, or an empty string when cancelled.
// Goes through the current folder picker: the shell's dialog unless a test has put in its own.
std::wstring BrowseForFolder(const std::wstring& currentPath, HWND owner);

// A folder picker: given the current path and the owner window, the chosen folder or empty.
using FolderPicker = std::function<std::wstring(const std::wstring& currentPath, HWND owner)>;

// Puts in another folder picker for as long as this object lives (on the UI thread), then puts
// back the one before it.
class ScopedFolderPicker {
public:
    explicit ScopedFolderPicker(FolderPicker picker);
    ~ScopedFolderPicker();
    ScopedFolderPicker(const ScopedFolderPicker&) = delete;
    ScopedFolderPicker& operator=(const ScopedFolderPicker&) = delete;

private:
    FolderPicker previous_;
};

// The shell's folder dialog, titled "请选择文件路径", opened on currentPath, with an edit box.
// COM must be initialised on the calling thread.
std::wstring ShowShellFolderDialog(const std::wstring& currentPath, HWND owner);

// The dialog's callback: when the dialog is ready it selects the path that data points to.
int CALLBACK FolderDialogCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM data);
