#include "ui/builder/ControlFactory.h"

#include "ui/base/UIValues.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/controls/TextUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/ControlUI.h"
#include "ui/text/AsciiCase.h"

namespace SkinUI {

namespace {

template <typename T>
CControlUI* Make()
{
    return new T();
}

CControlUI* MakeHorizontalScrollBar()
{
    auto* bar = new CScrollBarUI();
    bar->SetHorizontal(true);
    return bar;
}

struct ClassEntry {
    const wchar_t* className;
    CControlUI* (*create)();
};

const ClassEntry kClasses[] = {
    {L"CControlUI", &Make<CControlUI>},
    {L"CContainerUI", &Make<CContainerUI>},
    {L"CVerticalLayoutUI", &Make<CVerticalLayoutUI>},
    {L"CHorizontalLayoutUI", &Make<CHorizontalLayoutUI>},
    {L"CTabLayoutUI", &Make<CTabLayoutUI>},
    {L"CLabelUI", &Make<CLabelUI>},
    {L"CTextUI", &Make<CTextUI>},
    {L"CButtonUI", &Make<CButtonUI>},
    {L"COptionUI", &Make<COptionUI>},
    {L"CProgressUI", &Make<CProgressUI>},
    {L"CScrollBarUI", &Make<CScrollBarUI>},
    {L"CVScrollBarUI", &Make<CScrollBarUI>},
    {L"CHScrollBarUI", &MakeHorizontalScrollBar},
};

}  // namespace

std::wstring ControlClassNameForTag(const std::wstring& tag) { return L"C" + tag + L"UI"; }

CControlUI* CreateBuiltinControl(const std::wstring& tag)
{
    const std::wstring className = ControlClassNameForTag(tag);
    for (const ClassEntry& entry : kClasses) {
        if (EqualsNoCase(className, entry.className)) return entry.create();
    }
    return nullptr;
}

}  // namespace SkinUI
