#pragma once
#include <string>

// Names of skin members: how a name given by a layout document is compared with the names stored
// in the archive (which stores them in UTF-8: see ui/text/TextCodecs.h).
namespace SkinUI {

// Folds a name for case-insensitive comparison: "\" becomes "/", and letters are mapped to lower
// case. These are file names, compared as the file system compares them, so unlike the names of
// the markup (ui/text/AsciiCase.h) they fold beyond ASCII too: Latin-1, Latin Extended-A, Greek,
// Cyrillic and full-width Latin, which is enough for file names; scripts without case (Chinese)
// are left as they are.
std::wstring FoldResourceName(const std::wstring& name);

}  // namespace SkinUI
