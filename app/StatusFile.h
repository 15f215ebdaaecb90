#pragma once
#include <string>

#include "app/StatusFileRules.h"

// The status file APP.ini in the product's roaming data folder: the installer seeds it before each
// download and polls its "active" key until the setup package writes "1".

// The product's roaming data folder (for example ...\AppData\Roaming\KPCapture). Not created.
std::wstring GetRoamingDataDir();

// The status file's path; creates its folder first.
std::wstring GetStatusFilePath();

// Creates `path` and every missing parent. False for a path of 261 characters or more, or when a
// folder cannot be created.
bool EnsureDirectory(const std::wstring& path);

// Before a download: keeps "channel" unless it reads as "error" (then seeds it), and writes
// "active" = "0", so a "1" left by an earlier run cannot end the new install early.
void PrepareStatusFile();
void PrepareStatusFile(const std::wstring& statusFile);

// On each poll tick: the value of "active", or "error" when it cannot be read.
std::wstring PollStatusFile();
std::wstring PollStatusFile(const std::wstring& statusFile);
