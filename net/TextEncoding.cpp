#include "net/TextEncoding.h"

#include <windows.h>

#include <cstring>
#include <iostream>

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

std::wstring UrlEncodeWide(const std::wstring& url)
{
    return MultiByteToWide(UrlEncode(WideToMultiByte(url, CP_UTF8)), CP_UTF8);
}

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty()) {
        std::cout << "str_in is empty" << std::endl;
        return std::wstring();
    }
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) {
        std::cout << "The result of WideCharToMultiByte is Invalid!" << std::endl;
        return std::wstring();
    }
    std::wstring result(static_cast<size_t>(size - 1), L'\0');
    const int inputLength = static_cast<int>(std::strlen(text.c_str()));
    if (result.empty() || MultiByteToWideChar(CP_UTF8, 0, text.c_str(), inputLength, &result[0], size - 1) == 0)
        std::cout << "Can't transfer String to WString" << std::endl;
    return result;
}
