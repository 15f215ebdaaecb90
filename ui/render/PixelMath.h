#pragma once
#include <cstdint>

#include "ui/base/UIGeometry.h"

// Arithmetic on premultiplied 32-bit pixels.
//
// A pixel is one uint32_t 0xAARRGGBB, which is B, G, R, A in memory on a little-endian machine:
// exactly the layout of a 32-bit DIB section and of the buffer UpdateLayeredWindow takes. Colour
// channels are premultiplied by alpha, so a valid pixel never has a channel above its alpha.
//
// Rounding: every scaling of a channel c by a factor a/255 (c, a in 0..255) gives
// round(c * a / 255), the nearest integer. Because 255 is odd the exact quotient is never
// halfway, so the result is the same as (c * a + 127) / 255; it is computed with the shift form
// t = c * a + 128; (t + (t >> 8)) >> 8, which equals it for every c and a in range (the tests check
// all 65536 pairs). All functions here are exact integer code: results are identical on every
// compiler and machine.
namespace SkinUI {
namespace Render {

using Pixel = std::uint32_t;

// round(c * a / 255) for c, a in 0..255.
inline std::uint32_t MulDiv255(std::uint32_t c, std::uint32_t a)
{
    std::uint32_t t = c * a + 128;
    return (t + (t >> 8)) >> 8;
}

// Every channel of a premultiplied pixel scaled by a/255 (a in 0..255), each rounded as MulDiv255.
// Two channels are computed at once in 16-bit lanes; a lane never exceeds 255 * 255 + 128 + 254,
// so no carry crosses into its neighbour.
inline Pixel ScalePixel(Pixel p, std::uint32_t a)
{
    std::uint32_t rb = (p & 0x00FF00FFu) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = ((p >> 8) & 0x00FF00FFu) * a + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// Source-over compositing of premultiplied pixels: src + dst * (255 - src alpha) / 255.
// With valid premultiplied inputs no channel can exceed 255.
inline Pixel SourceOver(Pixel src, Pixel dst)
{
    std::uint32_t inv = 255u - (src >> 24);
    if (inv == 0) return src;
    if (inv == 255) return dst;
    return src + ScalePixel(dst, inv);
}

// Composites src over *dst with an extra coverage (0..255) applied to src first.
inline void BlendCoverage(Pixel* dst, Pixel src, std::uint32_t coverage)
{
    if (coverage == 0) return;
    if (coverage != 255) src = ScalePixel(src, coverage);
    *dst = SourceOver(src, *dst);
}

// A straight-alpha #AARRGGBB colour as a premultiplied pixel.
inline Pixel Premultiply(UIColor color)
{
    std::uint32_t a = color >> 24;
    if (a == 255) return color;
    Pixel p = ScalePixel(color | 0xFF000000u, a);  // scales alpha 255 -> a as well
    return p;
}

inline std::uint32_t AlphaOf(Pixel p) { return p >> 24; }
inline std::uint32_t RedOf(Pixel p) { return (p >> 16) & 0xFFu; }
inline std::uint32_t GreenOf(Pixel p) { return (p >> 8) & 0xFFu; }
inline std::uint32_t BlueOf(Pixel p) { return p & 0xFFu; }
inline Pixel MakePixel(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace Render
}  // namespace SkinUI
