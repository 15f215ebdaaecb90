#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "ui/base/UIGeometry.h"

// Readers for the value syntaxes of layout attributes. They never throw on bad input and never
// fail: malformed text yields the parts that could be read and zero for the rest.
namespace SkinUI {

// Decimal integer: leading white space skipped, optional sign, digits up to the first other
// character ("12px" is 12). No digits gives 0; values beyond the int range are clamped.
int ParseInt(const std::wstring& text);

// "l,t,r,b" / "cx,cy": comma-separated fields, each read as ParseInt reads (spaces around a
// number are allowed, anything after its digits up to the next comma is ignored). Missing
// fields are 0 ("1,2" as a rectangle is 1,2,0,0; "" is all zero); extra fields are ignored.
UIRect ParseRect(const std::wstring& text);
UISize ParseSize(const std::wstring& text);

// "0.5": leading spaces and tabs skipped, an optional sign, digits, one optional "." and more
// digits, read from `pos` up to the first other character, where `pos` is left. Locale
// independent, unlike wcstod. No digits gives 0.
double ParseFraction(const std::wstring& text, size_t& pos);

// "l,t,r,b" of fractions (a floating control's relative position), each read as ParseFraction
// reads; missing fields are 0, extra fields are ignored.
UIFloatPercent ParseFloatPercent(const std::wstring& text);

// "#AARRGGBB": leading spaces and one "#" (or a "0x" prefix) skipped, then the hexadecimal digits
// up to the first other character as one number; more than 32 bits clamps to 0xFFFFFFFF.
// No digits gives 0.
UIColor ParseColor(const std::wstring& text);

// True only for "true" in any ASCII case.
bool ParseBool(const std::wstring& text);

// Attribute list as in Default and Style values: name="value" pairs separated by white space
// (single quotes also delimit a value; a missing space between pairs is tolerated). Reading
// stops at the first malformed pair (no "=", no opening quote, no closing quote), keeping every
// pair before it. Names and values are taken as written.
std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const std::wstring& text);

}  // namespace SkinUI
