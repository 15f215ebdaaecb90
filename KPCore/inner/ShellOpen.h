#pragma once
#include <windows.h>

#include <string>

// Opens a document or web address with the program associated with it, shown normally.
// Returns what ShellExecuteW returns: a value above 32 on success.
HINSTANCE OpenWithShell(const std::wstring& file);
