#include "app/LogLine.h"

#include <cstdio>

#include "ui/text/TextCodecs.h"

std::string FormatLogLine(const LogTime& time, const std::wstring& text)
{
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d  ", time.year, time.month, time.day,
                  time.hour, time.minute, time.second, time.millisecond);
    std::wstring clean = text;
    for (wchar_t& c : clean)
        if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029) c = L' ';
    return stamp + SkinUI::EncodeUtf8(clean) + "\r\n";
}

std::wstring DefaultLogFileName(const LogTime& time)
{
    wchar_t name[48];
    std::swprintf(name, sizeof name / sizeof name[0], L"KPSetup_%04d%02d%02d_%02d%02d%02d.log", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return name;
}

std::wstring HexCode(unsigned long code)
{
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"0x%08lX", code & 0xFFFFFFFFul);
    return text;
}
