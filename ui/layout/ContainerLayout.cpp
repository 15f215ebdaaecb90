#include "ui/layout/ContainerLayout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace SkinUI {

namespace {

// Every sum of lengths is taken in 64 bits: a few children of absurd size (or a rectangle spanning
// the whole int range) must not overflow. Coordinates are saturated when they leave this file.
using Len = long long;

int Saturate(Len v)
{
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

// A rectangle in 64-bit coordinates, so that widths and insets never overflow.
struct Box {
    Len left = 0;
    Len top = 0;
    Len right = 0;
    Len bottom = 0;

    Len Width() const { return right - left; }
    Len Height() const { return bottom - top; }
};

Box ToBox(const UIRect& r) { return Box{r.left, r.top, r.right, r.bottom}; }

Box Deflate(const Box& b, const UIRect& margin)
{
    return Box{b.left + margin.left, b.top + margin.top, b.right - margin.right, b.bottom - margin.bottom};
}

UIRect ToRect(const Box& b) { return UIRect{Saturate(b.left), Saturate(b.top), Saturate(b.right), Saturate(b.bottom)}; }

// A length clamped to [min, max] (the maximum winning), and never negative so that no child ever
// receives an inverted rectangle, whatever its limits say.
Len ClampLength(Len length, Len minimum, Len maximum)
{
    length = std::max(length, minimum);
    length = std::min(length, maximum);
    return std::max<Len>(length, 0);
}

struct Offer {
    Len w = 0;
    Len h = 0;
};

Offer Limit(const ILayoutItem& child, Offer offer)
{
    const int fixedW = child.GetFixedWidth();
    const int fixedH = child.GetFixedHeight();
    offer.w = std::min<Len>(offer.w, fixedW > 0 ? fixedW : child.GetMaxWidth());
    offer.h = std::min<Len>(offer.h, fixedH > 0 ? fixedH : child.GetMaxHeight());
    return offer;
}

UISize Estimate(ILayoutItem& child, Offer offer)
{
    return child.EstimateSize(UISize{Saturate(offer.w), Saturate(offer.h)});
}

bool IsStacked(const ILayoutItem* child) { return child && child->IsVisible() && !child->IsFloat(); }

// Where a block or a child sits within the room it is given along one axis.
enum class Place { Start, Center, End };

Place FromChildAlign(int align)
{
    return align == kAlignCenter ? Place::Center : align == kAlignRight ? Place::End : Place::Start;
}

Place FromChildVAlign(int valign)
{
    return valign == kVAlignCenter ? Place::Center : valign == kVAlignBottom ? Place::End : Place::Start;
}

enum class Direction { TopToBottom, LeftToRight };

// The two stacking layouts are one algorithm with the axes exchanged. "Main" is the stacking
// direction (heights of a vertical layout), "cross" the other one.
struct Axes {
    Direction direction;

    bool Vertical() const { return direction == Direction::TopToBottom; }

    Len Main(UISize s) const { return Vertical() ? s.cy : s.cx; }
    Len Cross(UISize s) const { return Vertical() ? s.cx : s.cy; }

    Len MainLength(const Box& b) const { return Vertical() ? b.Height() : b.Width(); }
    Len CrossLength(const Box& b) const { return Vertical() ? b.Width() : b.Height(); }
    Len MainStart(const Box& b) const { return Vertical() ? b.top : b.left; }
    Len CrossStart(const Box& b) const { return Vertical() ? b.left : b.top; }
    Len CrossEnd(const Box& b) const { return Vertical() ? b.right : b.bottom; }

    Len LeadMain(const UIRect& pad) const { return Vertical() ? pad.top : pad.left; }
    Len TrailMain(const UIRect& pad) const { return Vertical() ? pad.bottom : pad.right; }
    Len LeadCross(const UIRect& pad) const { return Vertical() ? pad.left : pad.top; }
    Len TrailCross(const UIRect& pad) const { return Vertical() ? pad.right : pad.bottom; }

    Len ClampMain(const ILayoutItem& c, Len v) const
    {
        return Vertical() ? ClampLength(v, c.GetMinHeight(), c.GetMaxHeight())
                          : ClampLength(v, c.GetMinWidth(), c.GetMaxWidth());
    }
    Len ClampCross(const ILayoutItem& c, Len v) const
    {
        return Vertical() ? ClampLength(v, c.GetMinWidth(), c.GetMaxWidth())
                          : ClampLength(v, c.GetMinHeight(), c.GetMaxHeight());
    }

    Offer MakeOffer(Len main, Len cross) const { return Vertical() ? Offer{cross, main} : Offer{main, cross}; }
    Len OfferedCross(const Offer& o) const { return Vertical() ? o.w : o.h; }

    Box MakeBox(Len mainStart, Len mainEnd, Len crossStart, Len crossEnd) const
    {
        return Vertical() ? Box{crossStart, mainStart, crossEnd, mainEnd}
                          : Box{mainStart, crossStart, mainEnd, crossEnd};
    }

    // The container attribute that aligns the stacked block along the main axis when no child
    // takes a share, and the one that aligns each child across it.
    Place BlockPlace(const LayoutParams& p) const
    {
        return Vertical() ? FromChildVAlign(p.childVAlign) : FromChildAlign(p.childAlign);
    }
    Place CrossPlace(const LayoutParams& p) const
    {
        return Vertical() ? FromChildAlign(p.childAlign) : FromChildVAlign(p.childVAlign);
    }
};

// The cross length of a stacked child. A vertical layout gives its child the estimated width
// (all the room when it estimates none); a horizontal layout gives it its maximum height, so a
// child without a fixed height fills the row between its paddings.
Len CrossLengthOf(const Axes& axes, const ILayoutItem& child, UISize estimate, Len room, Len offered)
{
    if (axes.Vertical()) {
        Len width = std::max(axes.Cross(estimate), Len{0});
        if (width == 0) width = room;
        width = std::min(width, offered);
        return std::max<Len>({width, child.GetMinWidth(), 0});
    }
    Len height = child.GetMaxHeight();
    if (height == 0) height = room;
    height = std::max<Len>(height, 0);
    height = std::min(height, offered);
    return std::max<Len>({height, child.GetMinHeight(), 0});
}

Len CrossStartOf(Place place, Len start, Len end, Len length, Len leadPad, Len trailPad)
{
    switch (place) {
    case Place::Center: return (start + end) / 2 - length / 2;
    case Place::End: return end - trailPad - length;
    case Place::Start: break;
    }
    return start + leadPad;
}

Len BlockShift(Place place, Len freeLength)
{
    switch (place) {
    case Place::Center: return freeLength / 2;
    case Place::End: return freeLength;
    case Place::Start: break;
    }
    return 0;
}

UISize Stack(const Axes& axes, const UIRect& itemRect, const LayoutParams& params,
             const std::vector<ILayoutItem*>& children)
{
    if (children.empty()) return UISize{};

    const Box item = ToBox(itemRect);
    const Box rc = Deflate(item, params.inset);
    const Len availMain = axes.MainLength(rc);
    const Len availCross = axes.CrossLength(rc);
    const Len gap = params.childPadding;

    // First pass: what the children with a length of their own take, and how many share the rest.
    Len count = 0;
    Len adjustable = 0;
    Len fixedTotal = 0;
    Len neededCross = 0;
    for (ILayoutItem* child : children) {
        if (!IsStacked(child)) continue;
        ++count;
        const UIRect pad = child->GetPadding();
        const Len crossPads = axes.LeadCross(pad) + axes.TrailCross(pad);
        const UISize estimate = Estimate(*child, Limit(*child, axes.MakeOffer(availMain, availCross - crossPads)));
        Len length = axes.Main(estimate);
        if (length == 0) ++adjustable;
        else length = axes.ClampMain(*child, length);
        fixedTotal += length + axes.LeadMain(pad) + axes.TrailMain(pad);
        const Len cross = axes.ClampCross(*child, std::max(axes.Cross(estimate), Len{0}));
        neededCross = std::max(neededCross, cross + crossPads);
    }
    // Gaps lie only between children: none at all when nothing is stacked.
    const Len gaps = std::max<Len>(count - 1, 0) * gap;
    fixedTotal += gaps;

    const Len share = adjustable > 0 ? std::max<Len>(0, (availMain - fixedTotal) / adjustable) : 0;
    Len position = axes.MainStart(rc);
    if (adjustable == 0) position += BlockShift(axes.BlockPlace(params), availMain - fixedTotal);

    // Second pass: place them. The last child that shares takes whatever rounding left over.
    Len remaining = availMain;
    Len remainingFixed = fixedTotal;
    Len adjustableSeen = 0;
    Len placed = 0;
    Len neededMain = 0;
    for (ILayoutItem* child : children) {
        if (!child || !child->IsVisible()) continue;
        if (child->IsFloat()) {
            PlaceFloat(*child, itemRect);
            continue;
        }
        const UIRect pad = child->GetPadding();
        const Len lead = axes.LeadMain(pad);
        const Len trail = axes.TrailMain(pad);
        const Len crossRoom = availCross - axes.LeadCross(pad) - axes.TrailCross(pad);

        remaining -= lead;
        const Offer offer = Limit(*child, axes.MakeOffer(remaining, crossRoom));
        remainingFixed -= lead + trail;
        if (placed > 0) remainingFixed -= gap;

        const UISize estimate = Estimate(*child, offer);
        Len length = axes.Main(estimate);
        if (length != 0) {
            length = axes.ClampMain(*child, length);
            remainingFixed -= length;
        } else {
            ++adjustableSeen;
            length = adjustableSeen == adjustable ? std::max<Len>(0, remaining - trail - remainingFixed) : share;
            length = axes.ClampMain(*child, length);
        }

        const Len cross = CrossLengthOf(axes, *child, estimate, crossRoom, axes.OfferedCross(offer));
        const Len crossStart = CrossStartOf(axes.CrossPlace(params), axes.CrossStart(rc), axes.CrossEnd(rc), cross,
                                            axes.LeadCross(pad), axes.TrailCross(pad));
        const Len mainStart = position + lead;
        child->SetPos(ToRect(axes.MakeBox(mainStart, mainStart + length, crossStart, crossStart + cross)));

        position += length + gap + lead + trail;
        remaining -= length + gap + trail;
        neededMain += length + lead + trail;
        ++placed;
    }
    neededMain += gaps;

    const Len neededW = axes.Vertical() ? neededCross : neededMain;
    const Len neededH = axes.Vertical() ? neededMain : neededCross;
    return UISize{Saturate(neededW), Saturate(neededH)};
}

// fraction × length, truncated toward zero, kept far inside the 64-bit range whatever the fraction.
Len Fraction(double fraction, Len length)
{
    const double value = fraction * static_cast<double>(length);
    if (!std::isfinite(value)) return 0;
    const double limit = 1e15;
    return static_cast<Len>(std::max(-limit, std::min(limit, value)));
}

}  // namespace

UISize LimitSize(const ILayoutItem& child, UISize available)
{
    const Offer offer = Limit(child, Offer{available.cx, available.cy});
    return UISize{Saturate(offer.w), Saturate(offer.h)};
}

int ClampWidth(const ILayoutItem& child, int width)
{
    return Saturate(ClampLength(width, child.GetMinWidth(), child.GetMaxWidth()));
}

int ClampHeight(const ILayoutItem& child, int height)
{
    return Saturate(ClampLength(height, child.GetMinHeight(), child.GetMaxHeight()));
}

void PlaceFloat(ILayoutItem& child, const UIRect& containerItemRect)
{
    const Box parent = ToBox(containerItemRect);
    const UIPoint offset = child.GetFixedXY();
    const Len width = std::max(child.GetFixedWidth(), 0);
    const Len height = std::max(child.GetFixedHeight(), 0);
    const UIFloatPercent percent = child.GetFloatPercent();

    Box box;
    box.left = parent.left + Fraction(percent.left, parent.Width()) + offset.x;
    box.top = parent.top + Fraction(percent.top, parent.Height()) + offset.y;
    box.right = parent.left + Fraction(percent.right, parent.Width()) + offset.x + width;
    box.bottom = parent.top + Fraction(percent.bottom, parent.Height()) + offset.y + height;
    child.SetPos(ToRect(box));
}

UISize LayoutVertical(const UIRect& itemRect, const LayoutParams& params, const std::vector<ILayoutItem*>& children)
{
    return Stack(Axes{Direction::TopToBottom}, itemRect, params, children);
}

UISize LayoutHorizontal(const UIRect& itemRect, const LayoutParams& params, const std::vector<ILayoutItem*>& children)
{
    return Stack(Axes{Direction::LeftToRight}, itemRect, params, children);
}

void LayoutTab(const UIRect& itemRect, const UIRect& inset, const std::vector<ILayoutItem*>& children,
               int selectedIndex)
{
    const Box rc = Deflate(ToBox(itemRect), inset);

    for (ILayoutItem* child : children) {
        if (child && child->IsVisible() && child->IsFloat()) PlaceFloat(*child, itemRect);
    }

    if (selectedIndex < 0 || static_cast<size_t>(selectedIndex) >= children.size()) return;
    ILayoutItem* selected = children[static_cast<size_t>(selectedIndex)];
    // A floating page keeps its `pos` (placed above); only a stacked one fills the tab.
    if (!selected || selected->IsFloat()) return;

    const Box room = Deflate(rc, selected->GetPadding());
    const UISize estimate = Estimate(*selected, Limit(*selected, Offer{room.Width(), room.Height()}));
    const Len width = estimate.cx != 0 ? estimate.cx : std::max<Len>(room.Width(), 0);
    const Len height = estimate.cy != 0 ? estimate.cy : std::max<Len>(room.Height(), 0);
    const Len w = ClampLength(width, selected->GetMinWidth(), selected->GetMaxWidth());
    const Len h = ClampLength(height, selected->GetMinHeight(), selected->GetMaxHeight());
    selected->SetPos(ToRect(Box{room.left, room.top, room.left + w, room.top + h}));
}

}  // namespace SkinUI
