#pragma once
#include <string>

#include "ui/image/ImageAttribute.h"

// One image attribute of a control (bkimage, normalimage, ...): the text as the markup wrote it and
// its parsed form for the window's current display scale.
namespace SkinUI {

// The window a slot is drawn in, as far as images care: its display scale in percent, and the
// file to draw for an image at that scale (the sharpest variant that exists) with that file's own
// scale. The paint manager is one.
class IImageScaleSource {
public:
    virtual int GetScale() const = 0;
    virtual std::wstring ResolveImageVariant(const std::wstring& file, const std::wstring& resType, UIColor mask,
                                             double& imageScale) const = 0;

protected:
    ~IImageScaleSource() = default;
};

class CImageSlot {
public:
    // Stores `value`; it is parsed for the window's scale when first asked for (Get).
    void Set(const std::wstring& value, const IImageScaleSource* window);
    const std::wstring& GetValue() const { return m_value; }
    bool IsEmpty() const { return m_value.empty(); }

    // The parsed attribute for `window`'s current scale (100 % without a window), with the image
    // variant drawn at that scale chosen; parsed again when the scale changed since the last call.
    // `file` names the variant to draw.
    const TDrawInfo& Get(const IImageScaleSource* window) const;
    // The own scale of the image named by Get(): 2.0 for an "@2x" variant, 1.0 for a plain image.
    double GetImageScale(const IImageScaleSource* window) const;

private:
    void Parse(const IImageScaleSource* window, int scale) const;

    std::wstring m_value;
    mutable TDrawInfo m_info;
    mutable double m_imageScale = 1.0;
    mutable int m_parsedScale = 0;  // 0: not parsed yet
};

}  // namespace SkinUI
