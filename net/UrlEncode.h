#pragma once
#include <string>

// Percent-encodes bytes for a URL the way the downloader expects:
//  - 0x21..0x7E pass through unchanged (so delimiters and an existing "%41" survive),
//  - a space becomes "+",
//  - every other byte becomes "%XX" with upper-case hexadecimal digits.
std::string UrlEncode(const std::string& bytes);
