#include "ui/render/Resample.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {
namespace Render {

namespace {

constexpr int kWeightOne = 256;

// A premultiplied pixel spread into four 16-bit lanes (B, G, R, A from the low end), so that a
// weighted sum of up to 256 can be accumulated without carries between channels.
inline std::uint64_t Spread(Pixel p)
{
    return (p & 0xFFu) | (static_cast<std::uint64_t>(p & 0xFF00u) << 8) |
           (static_cast<std::uint64_t>(p & 0xFF0000u) << 16) | (static_cast<std::uint64_t>(p & 0xFF000000u) << 24);
}

// Taps for destination pixel `pos` of a copy `unitLen` long showing `srcLen` source pixels:
// fills `weights`, sets `first` and returns the number of taps.
int ComputeTaps(long long pos, long long unitLen, int srcLen, int& first, std::vector<std::uint16_t>& weights)
{
    weights.clear();
    if (unitLen == srcLen) {
        first = static_cast<int>(pos);
        weights.push_back(kWeightOne);
        return 1;
    }
    double ratio = static_cast<double>(srcLen) / static_cast<double>(unitLen);
    if (unitLen > srcLen) {
        // Enlarging: bilinear around the mapped pixel centre.
        double u = (static_cast<double>(pos) + 0.5) * ratio - 0.5;
        if (u <= 0) {
            first = 0;
            weights.push_back(kWeightOne);
            return 1;
        }
        double base = std::floor(u);
        int i0 = static_cast<int>(std::min(base, static_cast<double>(srcLen - 1)));
        int frac = static_cast<int>(std::lround((u - base) * kWeightOne));
        if (frac == kWeightOne) {
            ++i0;
            frac = 0;
        }
        if (i0 >= srcLen - 1) {
            first = srcLen - 1;
            weights.push_back(kWeightOne);
            return 1;
        }
        first = i0;
        weights.push_back(static_cast<std::uint16_t>(kWeightOne - frac));
        if (frac == 0) return 1;
        weights.push_back(static_cast<std::uint16_t>(frac));
        return 2;
    }
    // Shrinking: box filter over the source interval [a, b) that the destination pixel covers.
    double a = static_cast<double>(pos) * ratio;
    double b = std::min(static_cast<double>(pos + 1) * ratio, static_cast<double>(srcLen));
    int k0 = std::min(static_cast<int>(std::floor(a)), srcLen - 1);
    int k1 = std::max(std::min(static_cast<int>(std::ceil(b)), srcLen), k0 + 1);
    double width = b - a;
    auto cumulative = [&](double x) {
        if (width <= 0) return x > a ? kWeightOne : 0;
        double t = (std::min(std::max(x, a), b) - a) / width;
        return static_cast<int>(std::lround(t * kWeightOne));
    };
    first = k0;
    int previous = cumulative(k0);
    for (int k = k0; k < k1; ++k) {
        int next = k + 1 == k1 ? kWeightOne : cumulative(k + 1);
        weights.push_back(static_cast<std::uint16_t>(next - previous));
        previous = next;
    }
    // Zero weights at either end (a sliver of a pixel rounded away) are dropped.
    int count = static_cast<int>(weights.size());
    int lead = 0;
    while (lead < count - 1 && weights[static_cast<std::size_t>(lead)] == 0) ++lead;
    while (count - 1 > lead && weights[static_cast<std::size_t>(count - 1)] == 0) --count;
    if (lead > 0) {
        weights.erase(weights.begin(), weights.begin() + lead);
        first += lead;
    }
    weights.resize(static_cast<std::size_t>(count - lead));
    return count - lead;
}

}  // namespace

CAxisMap::CAxisMap(const TAxisSpan& span, int visibleStart, int visibleEnd)
{
    if (visibleEnd <= visibleStart || span.srcLen <= 0 || span.destLen <= 0) return;
    std::size_t n = static_cast<std::size_t>(visibleEnd - visibleStart);
    m_first.reserve(n);
    m_count.reserve(n);
    m_offset.reserve(n);
    m_srcBegin = span.srcLen;
    m_srcEnd = 0;
    long long unitLen = span.tileLen > 0 ? span.tileLen : span.destLen;
    std::vector<std::uint16_t> taps;
    for (int i = visibleStart; i < visibleEnd; ++i) {
        long long local = static_cast<long long>(i) - span.destStart;
        long long pos = span.tileLen > 0 ? local % span.tileLen : local;
        int first = 0;
        int count = ComputeTaps(pos, unitLen, span.srcLen, first, taps);
        Add(first, taps.data(), count);
    }
}

void CAxisMap::Add(int first, const std::uint16_t* weights, int count)
{
    m_first.push_back(first);
    m_count.push_back(count);
    m_offset.push_back(static_cast<int>(m_weights.size()));
    m_weights.insert(m_weights.end(), weights, weights + count);
    if (count != 1 || weights[0] != kWeightOne) m_copy = false;
    m_srcBegin = std::min(m_srcBegin, first);
    m_srcEnd = std::max(m_srcEnd, first + count);
}

namespace {

// Both axes copy pixels: no filtering, exact values.
void DrawCopied(CCanvas& canvas, const TImageView& image, const TAxisSpan& xs, const TAxisSpan& ys, const CAxisMap& xm,
                const CAxisMap& ym, const UIRect& visible, std::uint32_t fade)
{
    for (int row = 0; row < ym.Size(); ++row) {
        int sy = ys.srcStart + ym.First(row);
        Pixel* dst = canvas.Row(visible.top + row) + visible.left;
        for (int col = 0; col < xm.Size(); ++col) {
            Pixel src = image.At(xs.srcStart + xm.First(col), sy);
            if (fade != 255) src = ScalePixel(src, fade);
            dst[col] = SourceOver(src, dst[col]);
        }
    }
}

// The general case: a vertical pass into 16-bit lanes over the source columns in use, then a
// horizontal pass that applies the column weights and rounds once.
void DrawFiltered(CCanvas& canvas, const TImageView& image, const TAxisSpan& xs, const TAxisSpan& ys,
                  const CAxisMap& xm, const CAxisMap& ym, const UIRect& visible, std::uint32_t fade)
{
    int colBegin = xm.SourceBegin();
    std::vector<std::uint64_t> column(static_cast<std::size_t>(xm.SourceEnd() - colBegin));
    constexpr std::uint64_t kLanes02 = 0x0000FFFF0000FFFFull;
    for (int row = 0; row < ym.Size(); ++row) {
        std::fill(column.begin(), column.end(), 0);
        const std::uint16_t* wy = ym.Weights(row);
        for (int t = 0; t < ym.Count(row); ++t) {
            int sy = ys.srcStart + ym.First(row) + t;
            std::uint64_t w = wy[t];
            for (std::size_t c = 0; c < column.size(); ++c)
                column[c] += Spread(image.At(xs.srcStart + colBegin + static_cast<int>(c), sy)) * w;
        }
        Pixel* dst = canvas.Row(visible.top + row) + visible.left;
        for (int col = 0; col < xm.Size(); ++col) {
            const std::uint16_t* wx = xm.Weights(col);
            const std::uint64_t* v = &column[static_cast<std::size_t>(xm.First(col) - colBegin)];
            // Blue and red in the low 32-bit slots, green and alpha in the high ones: each slot
            // holds at most 256 * 65280, so no carry crosses slots.
            std::uint64_t br = 0, ga = 0;
            for (int t = 0; t < xm.Count(col); ++t) {
                br += (v[t] & kLanes02) * wx[t];
                ga += ((v[t] >> 16) & kLanes02) * wx[t];
            }
            std::uint32_t b = static_cast<std::uint32_t>(((br & 0xFFFFFFFFu) + 32768) >> 16);
            std::uint32_t r = static_cast<std::uint32_t>(((br >> 32) + 32768) >> 16);
            std::uint32_t g = static_cast<std::uint32_t>(((ga & 0xFFFFFFFFu) + 32768) >> 16);
            std::uint32_t a = static_cast<std::uint32_t>(((ga >> 32) + 32768) >> 16);
            Pixel src = MakePixel(a, r, g, b);
            if (fade != 255) src = ScalePixel(src, fade);
            dst[col] = SourceOver(src, dst[col]);
        }
    }
}

// The canvas pixels of an axis span that lie within [clipStart, clipEnd).
bool VisibleRange(const TAxisSpan& span, int clipStart, int clipEnd, int& start, int& end)
{
    long long s = std::max<long long>(span.destStart, clipStart);
    long long e = std::min<long long>(span.destStart + span.destLen, clipEnd);
    if (s >= e) return false;
    start = static_cast<int>(s);
    end = static_cast<int>(e);
    return true;
}

}  // namespace

void DrawImageCell(CCanvas& canvas, const TImageView& image, const TAxisSpan& x, const TAxisSpan& y, int fade)
{
    if (image.IsEmpty() || fade <= 0 || x.srcLen <= 0 || y.srcLen <= 0 || x.destLen <= 0 || y.destLen <= 0) return;
    if (x.srcStart < 0 || y.srcStart < 0 || x.srcStart + static_cast<long long>(x.srcLen) > image.width ||
        y.srcStart + static_cast<long long>(y.srcLen) > image.height)
        return;  // a cell outside the image is a caller's fault; drawing nothing is the safe answer
    UIRect visible;
    const UIRect& clip = canvas.Clip();
    if (!VisibleRange(x, clip.left, clip.right, visible.left, visible.right) ||
        !VisibleRange(y, clip.top, clip.bottom, visible.top, visible.bottom))
        return;
    CAxisMap xm(x, visible.left, visible.right);
    CAxisMap ym(y, visible.top, visible.bottom);
    std::uint32_t alpha = static_cast<std::uint32_t>(std::min(fade, 255));
    if (xm.IsCopy() && ym.IsCopy()) DrawCopied(canvas, image, x, y, xm, ym, visible, alpha);
    else DrawFiltered(canvas, image, x, y, xm, ym, visible, alpha);
}

}  // namespace Render
}  // namespace SkinUI
