#pragma once
#include <windows.h>

// Whether this process is a 32-bit process on 64-bit Windows. Code that must choose a registry
// view takes the answer as a Wow64Probe, so a test can give the other answer.
using Wow64Probe = bool (*)();

bool IsWow64();

// The decision behind IsWow64, given the IsWow64Process export (null when kernel32 lacks it):
// false without the export and false when the call fails.
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
bool Wow64Answer(IsWow64ProcessFunction isWow64Process, HANDLE process);
