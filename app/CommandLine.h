#pragma once
#include <string>
#include <vector>

// What the setup program reads from its command line. Nothing in the run depends on it yet:
// the wizard always shows all pages and the folder always comes from the install settings.
struct CommandLineOptions {
    bool silent = false;
    std::wstring directory;
};

// Cuts the line at every single space. There is no quoting; two adjacent spaces give an empty
// token and a trailing space gives no extra token.
std::vector<std::wstring> SplitCommandLine(const std::wstring& line);

// Reads the tokens in order; a later token overrides an earlier one.
//  - A token equal to one of the silent keys (case-sensitive) sets silent.
//  - Otherwise every directory key is searched anywhere in the token, in a fixed order, and each
//    one found sets the directory to the rest of the token after it (so the last key found wins).
CommandLineOptions ParseCommandLine(const std::wstring& line);
