#pragma once
#include <windows.h>

#include <string>

// Keeps DLLs planted beside the program from being loaded into it. The program is usually started
// from a Downloads folder, where anybody's web page may have left a "version.dll" or "urlmon.dll".
//
// Two parts:
//  - HardenDllSearch, the first thing the program does, takes the program's own folder and the
//    current folder out of the DLL search.
//  - The executable imports only DLLs that every supported Windows maps from its KnownDLLs list
//    (the loader never searches for those). Every other system DLL is loaded at run time with its
//    full path in the system folder, through LoadSystemLibrary / SystemFunction.

// kernel32's SetDefaultDllDirectories, looked up at run time: null on Windows 7 without
// KB2533623, which the program then refuses to run on.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
SetDefaultDllDirectoriesFunction FindSetDefaultDllDirectories();

// Restricts the default DLL search to the system folder through `setDefault` (the real one unless
// a test hands in another), and removes the current folder from the search (SetDllDirectoryW with
// an empty string). Returns true when the search is restricted to the system folder; false when
// `setDefault` is null or fails, and the program must then not go on.
bool HardenDllSearch(SetDefaultDllDirectoriesFunction setDefault = FindSetDefaultDllDirectories());

// The full path of `fileName` in the system folder ("C:\Windows\system32\urlmon.dll"), or an
// empty string when the system folder cannot be found or the name would not fit.
// `fileName` must be a plain file name without a folder.
std::wstring SystemLibraryPath(const wchar_t* fileName);

// Loads a DLL of the system folder by its full path, and its own dependencies from the system
// folder only (LOAD_LIBRARY_SEARCH_SYSTEM32: never the current folder or PATH); null when it is
// missing there, or the name contains a folder. The DLL stays loaded for the life of the process (callers never free
// it), so the result of the first call is kept and returned again.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// A function of a system DLL loaded as above; null when the DLL or the function is missing.
FARPROC SystemProcAddress(const wchar_t* dllName, const char* functionName);

// The same, typed: SystemFunction<decltype(&URLDownloadToFileW)>(L"urlmon.dll", "URLDownloadToFileW").
template <typename Function>
Function SystemFunction(const wchar_t* dllName, const char* functionName)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemProcAddress(dllName, functionName)));
}
