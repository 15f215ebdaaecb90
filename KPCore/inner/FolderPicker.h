#pragma once
#include <windows.h>

#include <string>

// The shell's folder dialog, titled "请选择文件路径", opened on currentPath, with an edit box.
// COM must be initialised on the calling thread.
std::wstring ShowShellFolderDialog(const std::wstring& currentPath, HWND owner);

// The dialog's callback: when the dialog is ready it selects the path that data points to.
int CALLBACK FolderDialogCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM data);
