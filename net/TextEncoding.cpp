#include "net/TextEncoding.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "net/UrlEncode.h"

std::string WideToMultiByte(const std::wstring& text, unsigned int codePage)
{
    const int size = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string buffer(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, 0, text.c_str(), -1, &buffer[0], size, nullptr, nullptr) <= 0)
        return std::string();
    return std::string(buffer.c_str());
}

std::wstring MultiByteToWide(const std::string& text, unsigned int codePage)
{
    const int size = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring buffer(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.c_str(), -1, &buffer[0], size) <= 0)
        return std::wstring();
    return std::wstring(buffer.c_str());
}

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
    return MultiByteToWide(UrlEncode(WideToMultiByte(url, CP_UTF8)), CP_UTF8);
}

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty()) {
        TraceLine("str_in is empty");
        return std::wstring();
    }
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) {
        TraceLine("The result of WideCharToMultiByte is Invalid!");
        return std::wstring();
    }
    std::wstring result(static_cast<size_t>(size - 1), L'\0');
    const int inputLength = static_cast<int>(std::strlen(text.c_str()));
    if (result.empty() || MultiByteToWideChar(CP_UTF8, 0, text.c_str(), inputLength, &result[0], size - 1) == 0)
        TraceLine("Can't transfer String to WString");
    return result;
}
