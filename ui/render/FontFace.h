#pragma once
#include <functional>
#include <string>

// Which installed face a font is created with.
namespace SkinUI {
namespace Render {

// GDI keeps at most 31 characters of a face name; longer names are cut to that.
constexpr std::size_t kMaxFaceLength = 31;

// The requested face (cut to kMaxFaceLength) when `isInstalled` says it is installed. Otherwise
// the first installed of "Microsoft YaHei" and "SimSun", which cover the Chinese texts of the skin,
// and failing those `defaultFace` (the system's default GUI font), so that text is never drawn
// with a face that does not exist. An empty request asks for `defaultFace`.
std::wstring ChooseFontFace(const std::wstring& requested, const std::function<bool(const std::wstring&)>& isInstalled,
                            const std::wstring& defaultFace);

}  // namespace Render
}  // namespace SkinUI
