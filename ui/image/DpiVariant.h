#pragma once
#include <string>
#include <vector>

#include "ui/base/UIGeometry.h"

// Image variants drawn for higher display scales: "btn.png" has "btn@1.25x.png", "btn@1.5x.png",
// "btn@1.75x.png" and "btn@2x.png" beside it.
namespace SkinUI {

// `value` as printf's "%g" writes it (six significant digits, no trailing zeros), but always with
// "." as the decimal separator whatever the C locale says: 1.5 -> "1.5", 2.0 -> "2", 1.15 -> "1.15".
std::wstring FormatScaleFactor(double value);

// The variant name for a display scale in percent: every "." of `name` is replaced by
// "@<scale / 100>x.", so at 150 "btn.png" becomes "btn@1.5x.png" and "a.b.png" becomes
// "a@1.5x.b@1.5x.png". A name without "." comes back unchanged.
std::wstring MakeDpiVariantName(const std::wstring& name, int scalePercent);

// The scales whose variants are tried, best first, before falling back to the plain image: the
// scale itself, then 25 less at a time while still above 100. 200 -> 200, 175, 150, 125;
// 115 -> 115; 100 (or a scale that is not positive) -> none.
std::vector<int> DpiProbeScales(int scalePercent);

// The name of the image to draw for `name` at `scalePercent`: the first variant of
// DpiProbeScales that loads, or `name` itself. `imageScale` receives that image's own scale
// (scale / 100 for a variant, 1.0 for the plain image). Probes go through the process-wide image
// cache, so a variant found here is decoded once, and each (name, scale) is resolved once.
std::wstring ResolveDpiVariant(const std::wstring& name, const std::wstring& resType, UIColor mask, int scalePercent,
                               double& imageScale);

}  // namespace SkinUI
