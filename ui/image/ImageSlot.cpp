#include "ui/image/ImageSlot.h"

namespace SkinUI {

namespace {
int ScaleOf(const IImageScaleSource* window) { return window ? window->GetScale() : 100; }
}  // namespace

// Parsing (and with it finding the variant, which decodes it) waits for the first Get: a document
// names the images of every page, and most of them are not drawn for a long time or ever.
void CImageSlot::Set(const std::wstring& value, const IImageScaleSource*)
{
    m_value = value;
    m_parsedScale = 0;
}

const TDrawInfo& CImageSlot::Get(const IImageScaleSource* window) const
{
    const int scale = ScaleOf(window);
    if (scale != m_parsedScale) Parse(window, scale);
    return m_info;
}

double CImageSlot::GetImageScale(const IImageScaleSource* window) const
{
    Get(window);
    return m_imageScale;
}

void CImageSlot::Parse(const IImageScaleSource* window, int scale) const
{
    m_parsedScale = scale;
    m_imageScale = 1.0;
    m_info = ParseImageAttribute(m_value, scale / 100.0);
    // Only a window drawn above 100 % looks for a sharper variant of the file.
    if (window && scale != 100 && !m_info.file.empty()) {
        m_info.file = window->ResolveImageVariant(m_info.file, m_info.resType, m_info.mask, m_imageScale);
    }
}

}  // namespace SkinUI
