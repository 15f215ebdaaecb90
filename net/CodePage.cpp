#include "net/CodePage.h"

#include <windows.h>

#include "ui/text/TextCodecs.h"

std::string WideToMultiByte(const std::wstring& text, unsigned int codePage)
{
    if (codePage == CP_UTF8) return SkinUI::EncodeUtf8(text.substr(0, text.find(L'\0')));
    const int size = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string buffer(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, 0, text.c_str(), -1, &buffer[0], size, nullptr, nullptr) <= 0)
        return std::string();
    return std::string(buffer.c_str());
}

std::wstring MultiByteToWide(const std::string& text, unsigned int codePage)
{
    if (codePage == CP_UTF8) return SkinUI::DecodeUtf8(text.substr(0, text.find('\0')));
    const int size = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring buffer(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.c_str(), -1, &buffer[0], size) <= 0) return std::wstring();
    return std::wstring(buffer.c_str());
}
