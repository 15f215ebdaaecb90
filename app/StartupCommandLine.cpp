#include "app/StartupCommandLine.h"

#include "net/TextEncoding.h"

CommandLineOptions ReadStartupCommandLine(const char* narrowCommandLine)
{
    return ParseCommandLine(Utf8ToWide(narrowCommandLine ? narrowCommandLine : ""));
}
