#include "ui/render/FontFace.h"

namespace SkinUI {
namespace Render {

std::wstring ChooseFontFace(const std::wstring& requested, const std::function<bool(const std::wstring&)>& isInstalled,
                            const std::wstring& defaultFace)
{
    if (requested.empty()) return defaultFace;
    std::wstring face = requested.substr(0, kMaxFaceLength);
    if (isInstalled(face)) return face;
    for (const wchar_t* fallback : {L"Microsoft YaHei", L"SimSun"})
        if (face != fallback && isInstalled(fallback)) return fallback;
    return defaultFace;
}

}  // namespace Render
}  // namespace SkinUI
