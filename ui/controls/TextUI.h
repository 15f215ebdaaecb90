#pragma once
#include "ui/controls/LabelUI.h"

namespace SkinUI {

// Text over several lines: wraps at word boundaries, top aligned, unless the markup says
// otherwise.
class CTextUI : public CLabelUI {
public:
    CTextUI();

    std::wstring GetClass() const override { return L"TextUI"; }
};

}  // namespace SkinUI
