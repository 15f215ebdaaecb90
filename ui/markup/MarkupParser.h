#pragma once
#include <string>

#include "ui/markup/MarkupDocument.h"

namespace SkinUI {

// Reads the document `text` into `doc` (which must be empty) in one forward pass. On failure
// returns false with the message and a short excerpt of the text where reading stopped.
bool ParseMarkup(const std::wstring& text, MarkupDocument& doc, std::wstring& error, std::wstring& excerpt);

}  // namespace SkinUI
