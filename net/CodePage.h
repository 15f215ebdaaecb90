#pragma once
#include <string>

// Conversions between the program's UTF-16 strings and narrow strings in a Windows code page.
// They never throw for text that cannot be converted: they return an empty string instead.
// The input is read up to its first null character. UTF-8 (65001) goes through the program's one
// UTF-8 codec (ui/text/TextCodecs.h), so it follows the same rules everywhere.

// codePage 0 is the ANSI code page, 65001 is UTF-8.
std::string WideToMultiByte(const std::wstring& text, unsigned int codePage);
std::wstring MultiByteToWide(const std::string& text, unsigned int codePage);
