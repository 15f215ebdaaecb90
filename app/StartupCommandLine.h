#pragma once
#include <string>

#include "app/CommandLine.h"

// The process's narrow command line decoded as UTF-8 (not the ANSI code page); bytes that are not
// UTF-8 become U+FFFD, so keys around them are still found.
std::wstring DecodeStartupCommandLine(const char* narrowCommandLine);

// Decodes and reads it. An empty or missing line reads as no options.
CommandLineOptions ReadStartupCommandLine(const char* narrowCommandLine);
