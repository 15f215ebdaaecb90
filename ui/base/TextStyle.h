#pragma once

// Text layout flags of labels. The values are those of the Windows DrawText DT_ flags, so the
// drawing code passes them on unchanged.
namespace SkinUI {

enum : unsigned {
    kTextLeft = 0x0,
    kTextCenter = 0x1,
    kTextRight = 0x2,
    kTextTop = 0x0,
    kTextVCenter = 0x4,
    kTextBottom = 0x8,
    kTextWordBreak = 0x10,
    kTextSingleLine = 0x20,
    kTextNoPrefix = 0x800,
    kTextEditControl = 0x2000,
    kTextEndEllipsis = 0x8000,

    kTextHorizontalMask = kTextCenter | kTextRight,
    kTextVerticalMask = kTextVCenter | kTextBottom,
};

}  // namespace SkinUI
