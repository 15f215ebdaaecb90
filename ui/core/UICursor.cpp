#include "ui/core/UICursor.h"

#include "ui/base/UIValues.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

UICursor ParseCursor(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        UICursor cursor;
    } kCursors[] = {
        {L"arrow", UICursor::Arrow},   {L"ibeam", UICursor::IBeam},       {L"wait", UICursor::Wait},
        {L"cross", UICursor::Cross},   {L"uparrow", UICursor::UpArrow},   {L"size", UICursor::Size},
        {L"icon", UICursor::Icon},     {L"sizenwse", UICursor::SizeNWSE}, {L"sizenesw", UICursor::SizeNESW},
        {L"sizewe", UICursor::SizeWE}, {L"sizens", UICursor::SizeNS},     {L"sizeall", UICursor::SizeAll},
        {L"no", UICursor::No},         {L"hand", UICursor::Hand},
    };
    for (const auto& entry : kCursors) {
        if (EqualsNoCase(name, entry.name)) return entry.cursor;
    }
    return UICursor::Arrow;
}

}  // namespace SkinUI
