#pragma once
#include <functional>

#include "KPCore/inner/DllHardening.h"

// What the program does before anything else: the DLL search restricted to the system folder and,
// where Windows has it, redirection trust turned on.

// The message shown where Windows cannot restrict the DLL search (Windows 7 without KB2533623).
extern const wchar_t kDllSearchUnavailableText[];

// Hardens the process. Where the DLL search cannot be restricted, tells the user (`tell` gets
// kDllSearchUnavailableText) and returns false: the program must then end at once instead of
// running with the folder it was started from in its DLL search.
bool HardenProcess(SetDefaultDllDirectoriesFunction setDefault, const std::function<void(const wchar_t*)>& tell);

// The real `tell`: a plain system message box (the skin is not loaded yet).
void ShowHardeningRefusal(const wchar_t* text);
