#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "ui/image/DpiVariant.h"
#include "ui/image/ImageInfo.h"

// Decoded images, shared by every window of the process.
namespace SkinUI {

class CImageCache {
public:
    // How an image that is not cached yet is obtained (LoadImageByName for the process-wide
    // cache; tests count or redirect loads through their own).
    using Loader =
        std::function<std::shared_ptr<TImageInfo>(const std::wstring& name, const std::wstring& resType, UIColor mask)>;

    explicit CImageCache(Loader loader);
    static CImageCache& Instance();  // loads with LoadImageByName

    // The image `name` (compared without regard to case or separator) from `resType` with `mask`,
    // loaded and decoded on the first request only. Null when it cannot be loaded; that failure is
    // remembered too, so a missing image costs one attempt, not one per paint.
    std::shared_ptr<const TImageInfo> GetImage(const std::wstring& name, const std::wstring& resType = std::wstring(),
                                               UIColor mask = 0);

    // See the free function ResolveDpiVariant (ui/image/DpiVariant.h).
    std::wstring ResolveDpiVariant(const std::wstring& name, const std::wstring& resType, UIColor mask,
                                   int scalePercent, double& imageScale);

    // Forgets every image and resolution (after the skin changed).
    void Clear();
    // How many times the loader has been called.
    size_t LoadCount() const;

private:
    using ImageKey = std::tuple<std::wstring, std::wstring, UIColor>;
    using VariantKey = std::tuple<std::wstring, std::wstring, UIColor, int>;
    struct Resolution {
        std::wstring name;
        double imageScale;
    };

    std::shared_ptr<const TImageInfo> GetLocked(const std::wstring& name, const std::wstring& resType, UIColor mask,
                                                double ownScale);

    Loader m_loader;
    mutable std::mutex m_mutex;
    std::map<ImageKey, std::shared_ptr<const TImageInfo>> m_images;
    std::map<VariantKey, Resolution> m_resolutions;
    size_t m_loadCount = 0;
};

// CImageCache::Instance().GetImage(...)
std::shared_ptr<const TImageInfo> GetImage(const std::wstring& name, const std::wstring& resType = std::wstring(),
                                           UIColor mask = 0);

}  // namespace SkinUI
