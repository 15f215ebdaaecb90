#include "ui/image/ImageCache.h"

#include "ui/image/ImageLoader.h"
#include "ui/resources/ResourceName.h"

namespace SkinUI {

CImageCache::CImageCache(Loader loader) : m_loader(std::move(loader)) {}

CImageCache& CImageCache::Instance()
{
    static CImageCache cache(LoadImageByName);
    return cache;
}

std::shared_ptr<const TImageInfo> CImageCache::GetImage(const std::wstring& name, const std::wstring& resType,
                                                        UIColor mask)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return GetLocked(name, resType, mask, 0.0);
}

// ownScale 0 means "not known": a new image is plain (1.0) and a cached one is returned as it is.
// The lock stays held while loading, so two threads asking for one image decode it once.
std::shared_ptr<const TImageInfo> CImageCache::GetLocked(const std::wstring& name, const std::wstring& resType,
                                                         UIColor mask, double ownScale)
{
    const ImageKey key{FoldResourceName(name), FoldResourceName(resType), mask};
    auto found = m_images.find(key);
    if (found == m_images.end()) {
        ++m_loadCount;
        std::shared_ptr<TImageInfo> image = m_loader ? m_loader(name, resType, mask) : nullptr;
        if (image && ownScale > 0.0) {
            image->scale = ownScale;
        }
        found = m_images.emplace(key, std::move(image)).first;
    } else if (found->second && ownScale > 0.0 && found->second->scale != ownScale) {
        // Asked for plainly before a probe found it to be a variant: record its real scale
        // without disturbing holders of the earlier copy.
        auto copy = std::make_shared<TImageInfo>(*found->second);
        copy->scale = ownScale;
        found->second = std::move(copy);
    }
    return found->second;
}

std::wstring CImageCache::ResolveDpiVariant(const std::wstring& name, const std::wstring& resType, UIColor mask,
                                            int scalePercent, double& imageScale)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const VariantKey key{FoldResourceName(name), FoldResourceName(resType), mask, scalePercent};
    const auto known = m_resolutions.find(key);
    if (known != m_resolutions.end()) {
        imageScale = known->second.imageScale;
        return known->second.name;
    }
    Resolution resolution{name, 1.0};
    for (int scale : DpiProbeScales(scalePercent)) {
        const std::wstring variant = MakeDpiVariantName(name, scale);
        if (GetLocked(variant, resType, mask, scale / 100.0)) {
            resolution = Resolution{variant, scale / 100.0};
            break;
        }
    }
    m_resolutions.emplace(key, resolution);
    imageScale = resolution.imageScale;
    return resolution.name;
}

void CImageCache::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_images.clear();
    m_resolutions.clear();
}

size_t CImageCache::LoadCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_loadCount;
}

std::shared_ptr<const TImageInfo> GetImage(const std::wstring& name, const std::wstring& resType, UIColor mask)
{
    return CImageCache::Instance().GetImage(name, resType, mask);
}

}  // namespace SkinUI
