#pragma once
#include <string>

// The program's UTF-8 text at the edges of the network and the command line, through the one
// UTF-8 codec (ui/text/TextCodecs.h): malformed bytes become U+FFFD, nothing throws. The input is
// read up to its first null character.

// UTF-8 encode, percent-encode (see UrlEncode), and widen the (ASCII) result.
std::wstring UrlEncodeWide(const std::wstring& url);

// Decodes UTF-8 (the command line). Reports empty input on the standard output, which a GUI
// process does not show.
std::wstring Utf8ToWide(const std::string& text);
