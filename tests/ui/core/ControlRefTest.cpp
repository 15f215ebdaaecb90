#include <gtest/gtest.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/ControlRef.h"
#include "ui/core/PaintManagerUI.h"

using namespace SkinUI;

TEST(BindControl, GivesTheNamedControlOnlyWhenItIsOfTheExpectedClass)
{
    CPaintManagerUI manager;
    auto* root = new CVerticalLayoutUI();
    ASSERT_TRUE(manager.AttachDialog(root));
    auto* label = new CLabelUI();
    label->SetName(L"pathLab");
    root->Add(label);
    auto* option = new COptionUI();
    option->SetName(L"protocalOpt");
    root->Add(option);

    EXPECT_EQ(label, BindControl<CLabelUI>(manager, L"pathLab").get());
    // A class derived from the expected one is that class too.
    EXPECT_EQ(option, BindControl<CButtonUI>(manager, L"protocalOpt").get());
    EXPECT_EQ(option, BindControl<CControlUI>(manager, L"protocalOpt").get());
    // A layout whose control changed class gives an empty handle, never a label used as a button.
    EXPECT_EQ(nullptr, BindControl<CButtonUI>(manager, L"pathLab"));
    EXPECT_EQ(nullptr, BindControl<CLabelUI>(manager, L"nosuchname"));

    // The tree keeps owning its controls: handles that go destroy nothing.
    {
        ControlRef<CLabelUI> handle = BindControl<CLabelUI>(manager, L"pathLab");
    }
    EXPECT_EQ(label, manager.FindControl(L"pathLab"));
    label->SetText(L"still here");
    EXPECT_EQ(L"still here", label->GetText());
    CPaintManagerUI::RemoveAllShared();
}
