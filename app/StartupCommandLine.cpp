#include "app/StartupCommandLine.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::wstring ArgumentsOfCommandLine(const std::wstring& fullCommandLine)
{
    std::size_t i = 0;
    if (i < fullCommandLine.size() && fullCommandLine[i] == L'"') {
        const std::size_t closing = fullCommandLine.find(L'"', 1);
        i = closing == std::wstring::npos ? fullCommandLine.size() : closing + 1;
    }
    while (i < fullCommandLine.size() && !IsBlank(fullCommandLine[i])) ++i;
    while (i < fullCommandLine.size() && IsBlank(fullCommandLine[i])) ++i;
    return fullCommandLine.substr(i);
}

CommandLineOptions ReadStartupCommandLine(const std::wstring& fullCommandLine)
{
    return ParseCommandLine(ArgumentsOfCommandLine(fullCommandLine));
}
