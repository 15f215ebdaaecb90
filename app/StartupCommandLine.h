#pragma once
#include "app/CommandLine.h"

// Decodes the process's narrow command line as UTF-8 (not the ANSI code page) and reads it.
// An empty or undecodable line reads as no options.
CommandLineOptions ReadStartupCommandLine(const char* narrowCommandLine);
