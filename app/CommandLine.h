#pragma once
#include <string>
#include <vector>

// What the setup program reads from its command line.
//
// Tokens are separated by spaces or tabs; a double-quoted stretch keeps its spaces (the quotes
// themselves are dropped). Keys count only at the start of a token:
//  - a token equal to one of the silent keys (case-sensitive) asks for a silent install;
//  - "/D=" takes everything after it up to the end of the line, spaces included, so it has to come
//    last (one pair of enclosing quotes is dropped);
//  - the other folder keys ("/DIR=", "/dir=", "/d=", "--insPath=", "--INSPATH=", "APPDIR=", "-o")
//    take the rest of their token, quoted or not;
//  - "/LOG=" (or "/log=") names the log file, quoted or not.
// Anything else is ignored.
enum class CommandLineProblem {
    None,
    SeveralFolders,  // more than one folder key: which one was meant is anybody's guess
    GarbledFolder,   // the folder holds bytes that were not UTF-8 (decoded as U+FFFD)
};

struct CommandLineOptions {
    bool silent = false;
    bool directoryGiven = false;  // a folder key was present, even with nothing after it
    std::wstring directory;
    std::wstring logPath;  // empty: the default name in the temporary folder
    CommandLineProblem problem = CommandLineProblem::None;
};

// The tokens of `line` as described above (a quote that is never closed runs to the end).
std::vector<std::wstring> SplitCommandLine(const std::wstring& line);

CommandLineOptions ParseCommandLine(const std::wstring& line);
