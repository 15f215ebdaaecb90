// What a screen reader is told about a window's controls: roles, names, states, values and
// default actions by class, which controls are children, and the events the controls raise.
#include <gtest/gtest.h>

#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/core/AccessibleInfo.h"
#include "ui/support/FakeUIHost.h"

using namespace SkinUI;

namespace {

const wchar_t* const kDocument =
    L"<Window size=\"400,300\">"
    L"<VerticalLayout name=\"root\">"
    L" <TabLayout name=\"tab\">"
    L"  <VerticalLayout name=\"page0\">"
    L"   <Button name=\"close\" float=\"true\" pos=\"370,10,390,30\" accname=\"关闭\" normalimage=\"x.png\"/>"
    L"   <Button name=\"nameless\" float=\"true\" pos=\"340,10,360,30\" normalimage=\"x.png\"/>"
    L"   <Button name=\"install\" float=\"true\" pos=\"10,10,110,50\" text=\"立即安装\" normalimage=\"b.png\"/>"
    L"   <Option name=\"agree\" float=\"true\" pos=\"10,60,28,78\" selected=\"true\"/>"
    L"   <Button name=\"link\" float=\"true\" pos=\"40,60,160,80\" text=\"同意《用户协议》\"/>"
    L"   <Button name=\"off\" float=\"true\" pos=\"200,60,300,80\" text=\"off\" enabled=\"false\"/>"
    L"   <Label name=\"empty\" float=\"true\" pos=\"10,90,100,110\"/>"
    L"   <Label name=\"icon\" float=\"true\" pos=\"10,120,34,144\" accname=\"提示\" bkimage=\"i.png\"/>"
    L"   <Control name=\"decoration\" float=\"true\" pos=\"40,120,64,144\" bkimage=\"d.png\"/>"
    L"  </VerticalLayout>"
    L"  <VerticalLayout name=\"page1\" visible=\"false\">"
    L"   <Progress name=\"bar\" float=\"true\" pos=\"10,10,310,24\" accname=\"安装进度\" min=\"0\" max=\"200\" value=\"50\"/>"
    L"   <Label name=\"percent\" float=\"true\" pos=\"10,30,210,50\" text=\"0%\"/>"
    L"  </VerticalLayout>"
    L" </TabLayout>"
    L"</VerticalLayout></Window>";

std::vector<std::wstring> NamesOf(const std::vector<CControlUI*>& controls)
{
    std::vector<std::wstring> names;
    for (const CControlUI* c : controls) names.push_back(c->GetName());
    return names;
}

}  // namespace

TEST(AccessibleInfoTest, RolesNamesStatesAndActionsByClass)
{
    TestWindow w(kDocument);
    ASSERT_NE(w.root, nullptr) << w.error;
    auto at = [&](const wchar_t* name) { return w.manager.FindControl(name); };

    // The visible page only, containers and meaningless controls left out, in document order.
    EXPECT_EQ(NamesOf(AccessibleChildren(w.root)),
              (std::vector<std::wstring>{L"close", L"nameless", L"install", L"agree", L"link", L"off", L"icon"}));

    EXPECT_EQ(at(L"close")->GetAccessibleRole(), AccRole::PushButton);
    EXPECT_EQ(at(L"close")->GetAccessibleName(), L"关闭");
    EXPECT_EQ(at(L"nameless")->GetAccessibleName(), L"");  // nothing to say, nothing to break
    EXPECT_EQ(at(L"install")->GetAccessibleRole(), AccRole::PushButton);
    EXPECT_EQ(at(L"install")->GetAccessibleName(), L"立即安装");
    EXPECT_EQ(at(L"install")->GetAccessibleDefaultAction(), L"按下");
    EXPECT_EQ(at(L"install")->GetAccessibleStates(), kAccFocusable);
    EXPECT_EQ(at(L"link")->GetAccessibleRole(), AccRole::Link);
    EXPECT_EQ(at(L"link")->GetAccessibleDefaultAction(), L"跳转");
    EXPECT_EQ(at(L"off")->GetAccessibleStates(), kAccUnavailable);
    EXPECT_EQ(at(L"icon")->GetAccessibleRole(), AccRole::Graphic);
    EXPECT_EQ(at(L"decoration")->GetAccessibleRole(), AccRole::None);
    EXPECT_EQ(at(L"empty")->GetAccessibleRole(), AccRole::None);

    auto* agree = w.Find<COptionUI>(L"agree");
    EXPECT_EQ(agree->GetAccessibleRole(), AccRole::CheckButton);
    EXPECT_EQ(agree->GetAccessibleStates(), kAccFocusable | kAccChecked);
    EXPECT_EQ(agree->GetAccessibleDefaultAction(), L"取消勾选");
    agree->SetFocus();
    agree->Activate();
    EXPECT_EQ(agree->GetAccessibleStates(), kAccFocusable | kAccFocused);
    EXPECT_EQ(agree->GetAccessibleDefaultAction(), L"勾选");

    // The hidden page's controls say so when a reader still holds them.
    auto* bar = w.Find<CProgressUI>(L"bar");
    EXPECT_EQ(bar->GetAccessibleStates(), kAccInvisible);
    EXPECT_EQ(bar->GetAccessibleRole(), AccRole::ProgressBar);
    EXPECT_EQ(bar->GetAccessibleValue(), L"25%");  // 50 of 0..200
}

TEST(AccessibleInfoTest, ControlsRaiseTheEventsAReaderFollows)
{
    TestWindow w(kDocument);
    ASSERT_NE(w.root, nullptr) << w.error;
    auto* agree = w.Find<COptionUI>(L"agree");
    auto* bar = w.Find<CProgressUI>(L"bar");
    auto* percent = w.manager.FindControl(L"percent");
    CControlUI* page0 = w.manager.FindControl(L"page0");
    CControlUI* page1 = w.manager.FindControl(L"page1");
    w.host.accessEvents.clear();  // what building the tree raised

    w.manager.OnKeyDown(kKeyTab);
    EXPECT_EQ(w.host.CountAccessEvents(w.manager.FindControl(L"close"), AccEvent::Focus), 1);
    agree->Activate();
    EXPECT_EQ(w.host.CountAccessEvents(agree, AccEvent::StateChange), 1);
    w.manager.FindControl(L"install")->SetEnabled(false);
    EXPECT_EQ(w.host.CountAccessEvents(w.manager.FindControl(L"install"), AccEvent::StateChange), 1);

    w.Find<CTabLayoutUI>(L"tab")->SelectItem(1);
    EXPECT_EQ(w.host.CountAccessEvents(page0, AccEvent::Hide), 1);
    EXPECT_EQ(w.host.CountAccessEvents(page1, AccEvent::Show), 1);
    EXPECT_EQ(NamesOf(AccessibleChildren(w.root)), (std::vector<std::wstring>{L"bar", L"percent"}));

    bar->SetValue(120);
    bar->SetValue(120);  // no change, no event
    bar->SetValue(500);  // out of range: ignored
    EXPECT_EQ(w.host.CountAccessEvents(bar, AccEvent::ValueChange), 1);
    EXPECT_EQ(bar->GetAccessibleValue(), L"60%");
    percent->SetText(L"60%");
    EXPECT_EQ(w.host.CountAccessEvents(percent, AccEvent::NameChange), 1);
}
