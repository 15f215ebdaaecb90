#include "net/TextEncoding.h"

#include <cstdio>

#include "net/UrlEncode.h"
#include "ui/text/TextCodecs.h"

namespace {

// A line on standard output, flushed at once: a trace for a console or a redirected output, and
// nothing in a windowed process. stdio rather than iostreams keeps the locale machinery of the C++
// library out of the program.
void TraceLine(const char* line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

std::wstring UrlEncodeWide(const std::wstring& url)
{
    const std::string encoded = UrlEncode(SkinUI::EncodeUtf8(url.substr(0, url.find(L'\0'))));
    return std::wstring(encoded.begin(), encoded.end());
}

std::wstring Utf8ToWide(const std::string& text)
{
    const std::string untilNul = text.substr(0, text.find('\0'));
    if (untilNul.empty()) {
        TraceLine("str_in is empty");
        return std::wstring();
    }
    return SkinUI::DecodeUtf8(untilNul);
}
