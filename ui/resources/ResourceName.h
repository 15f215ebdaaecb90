#pragma once
#include <string>

// Names of skin members: how a name given by a layout document is compared with the names stored
// in the archive, and the UTF-8 form the archive stores them in.
namespace SkinUI {

// Folds a name for case-insensitive comparison: "\" becomes "/", and letters are mapped to lower
// case. Beyond ASCII this covers Latin-1, Latin Extended-A, Greek, Cyrillic and full-width Latin,
// which is enough for file names; scripts without case (Chinese) are left as they are.
std::wstring FoldResourceName(const std::wstring& name);

// UTF-8 <-> wide strings, independent of the C locale. Wide strings are UTF-16 where wchar_t has
// 16 bits (surrogate pairs) and UTF-32 elsewhere. Malformed input becomes U+FFFD, never an error.
std::string EncodeUtf8(const std::wstring& text);
std::wstring DecodeUtf8(const std::string& text);

}  // namespace SkinUI
