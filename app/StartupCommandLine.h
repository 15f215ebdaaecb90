#pragma once
#include <string>

#include "app/CommandLine.h"

// What follows the program's name in the process's full command line (GetCommandLineW). The
// name ends at its closing quote when it starts with one, else at the first blank, as Windows
// reads it; the blanks after it are skipped. Reading the wide line keeps a folder's characters
// whatever the code page of the caller: the narrow line Windows hands WinMain is in the ANSI
// code page, where a Chinese folder of a script would arrive garbled.
std::wstring ArgumentsOfCommandLine(const std::wstring& fullCommandLine);

// The arguments read. An empty line reads as no options.
CommandLineOptions ReadStartupCommandLine(const std::wstring& fullCommandLine);
