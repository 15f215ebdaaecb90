#pragma once
#include <windows.h>

#include <string>

#include "KPCore/inner/Wow64.h"

// Registers the product in the system's list of installed programs, under HKEY_LOCAL_MACHINE
// (which needs administrator rights). An existing entry is overwritten value by value; values
// written by others stay. Every value is attempted even when one fails.
// Returns ERROR_SUCCESS, or the first failing status; the installation goes on either way, so
// the caller may ignore it.
LONG RegisterUninstallEntry(const std::wstring& installDir, Wow64Probe isWow64 = IsWow64);
