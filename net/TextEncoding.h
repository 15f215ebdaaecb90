#pragma once
#include <string>

// Conversions between the program's UTF-16 strings and narrow strings in a Windows code page.
// They never throw for text that cannot be converted: they return an empty string instead.
// The input is read up to its first null character.

// codePage 0 is the ANSI code page, 65001 is UTF-8.
std::string WideToMultiByte(const std::wstring& text, unsigned int codePage);
std::wstring MultiByteToWide(const std::string& text, unsigned int codePage);

// UTF-8 encode, percent-encode (see UrlEncode), and decode back to a wide string.
std::wstring UrlEncodeWide(const std::wstring& url);

// Decodes UTF-8 (the command line). Reports problems on the standard output, which a GUI
// process does not show.
std::wstring Utf8ToWide(const std::string& text);
