#pragma once
#include <string>

#include "ui/ImageAttribute.h"

// One image attribute of a control (bkimage, normalimage, ...): the text as the markup wrote it and
// its parsed form for the window's current display scale.
namespace SkinUI {

class CPaintManagerUI;

class CImageSlot {
public:
    // Stores `value`; it is parsed for the window's scale when first asked for (Get).
    void Set(const std::wstring& value, const CPaintManagerUI* manager);
    const std::wstring& GetValue() const { return m_value; }
    bool IsEmpty() const { return m_value.empty(); }

    // The parsed attribute for `manager`'s current scale (100 % without a manager), with the image
    // variant drawn at that scale chosen; parsed again when the scale changed since the last call.
    // `file` names the variant to draw.
    const TDrawInfo& Get(const CPaintManagerUI* manager) const;
    // The own scale of the image named by Get(): 2.0 for an "@2x" variant, 1.0 for a plain image.
    double GetImageScale(const CPaintManagerUI* manager) const;

private:
    void Parse(const CPaintManagerUI* manager, int scale) const;

    std::wstring m_value;
    mutable TDrawInfo m_info;
    mutable double m_imageScale = 1.0;
    mutable int m_parsedScale = 0;  // 0: not parsed yet
};

}  // namespace SkinUI
