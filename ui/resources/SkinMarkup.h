#pragma once
#include <string>

#include "ui/markup/Markup.h"

namespace SkinUI {

// Loads the layout document `name` into `markup`: from the skin (archive or folder, at most
// kMaxDocumentBytes), or, for a name that starts with "<", the name itself as document text.
// On failure `markup` holds no tree and its last error says why.
bool LoadSkinMarkup(CMarkup& markup, const std::wstring& name, int encoding = XMLFILE_ENCODING_UTF8);

}  // namespace SkinUI
