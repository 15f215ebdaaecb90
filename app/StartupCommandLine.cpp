#include "app/StartupCommandLine.h"

#include "net/TextEncoding.h"

std::wstring DecodeStartupCommandLine(const char* narrowCommandLine)
{
    return Utf8ToWide(narrowCommandLine ? narrowCommandLine : "");
}

CommandLineOptions ReadStartupCommandLine(const char* narrowCommandLine)
{
    return ParseCommandLine(DecodeStartupCommandLine(narrowCommandLine));
}
