#pragma once
#include <cstdint>
#include <vector>

#include "ui/render/Canvas.h"
#include "ui/render/ImageView.h"

// Drawing one rectangle of an image into one rectangle of the canvas, stretched or tiled.
//
// Each axis is mapped separately: every destination pixel gets a short list of source pixels
// with integer weights that add up to 256.
//   - Same size: one source pixel, weight 256, so a 1:1 draw copies pixels exactly.
//   - Enlarging: bilinear, between the two source pixels around the destination pixel's centre
//     mapped into the source ((d + 0.5) * src / dst - 0.5), clamped at the cell's edges so the
//     neighbouring nine-grid cells never bleed in.
//   - Shrinking: box filter, each source pixel weighted by how much of it the destination pixel
//     covers (weights from rounded cumulative coverage, so they add up to exactly 256).
// The two axes combine as sum(wx * wy * c) over the taps, rounded once: (sum + 32768) >> 16.
// Weights are computed in double precision; pixel arithmetic is all integer.
namespace SkinUI {
namespace Render {

// One axis of a draw: `srcLen` source pixels from `srcStart` drawn over `destLen` canvas pixels
// from `destStart` (64-bit, since a destination may lie far outside the canvas). With a
// `tileLen` above 0 the source is drawn repeatedly, each copy `tileLen` pixels long (stretched to
// it when that differs from srcLen); the last copy is cut at the end of the destination.
struct TAxisSpan {
    long long destStart = 0;
    long long destLen = 0;
    int srcStart = 0;
    int srcLen = 0;
    long long tileLen = 0;
};

// Taps of the destination pixels visible on one axis.
class CAxisMap {
public:
    // Maps canvas pixels [visibleStart, visibleEnd), which must lie within the span's destination.
    CAxisMap(const TAxisSpan& span, int visibleStart, int visibleEnd);

    int Size() const { return static_cast<int>(m_first.size()); }
    // Source pixel of the first tap of entry i (relative to srcStart), the number of taps and
    // a pointer to their weights.
    int First(int i) const { return m_first[static_cast<std::size_t>(i)]; }
    int Count(int i) const { return m_count[static_cast<std::size_t>(i)]; }
    const std::uint16_t* Weights(int i) const
    {
        return &m_weights[static_cast<std::size_t>(m_offset[static_cast<std::size_t>(i)])];
    }
    // Every entry is a single tap of weight 256 (a copy, possibly repeated).
    bool IsCopy() const { return m_copy; }
    // Lowest first tap and one past the highest tap over all entries.
    int SourceBegin() const { return m_srcBegin; }
    int SourceEnd() const { return m_srcEnd; }

private:
    void Add(int first, const std::uint16_t* weights, int count);

    std::vector<int> m_first;
    std::vector<int> m_count;
    std::vector<int> m_offset;
    std::vector<std::uint16_t> m_weights;
    bool m_copy = true;
    int m_srcBegin = 0;
    int m_srcEnd = 0;
};

// Draws the source cell described by the two spans (both within the image) over the canvas,
// source-over, with the constant alpha `fade` (0..255) applied to every source pixel. Only the
// part of the destination inside the canvas clip is computed.
void DrawImageCell(CCanvas& canvas, const TImageView& image, const TAxisSpan& x, const TAxisSpan& y, int fade);

}  // namespace Render
}  // namespace SkinUI
