#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ui/builder/DialogBuilder.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/controls/TextUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/resources/SkinResources.h"
#include "ui/support/FakeUIHost.h"
#include "ui/text/TextCodecs.h"

using namespace SkinUI;

namespace {

struct SharedCleanup {
    ~SharedCleanup() { CPaintManagerUI::RemoveAllShared(); }
};

// Makes "Custom" tags into labels and remembers what it was asked for.
struct CustomCallback : IDialogBuilderCallback {
    std::vector<std::wstring> asked;
    CControlUI* CreateControl(const std::wstring& tag) override
    {
        asked.push_back(tag);
        return tag == L"Custom" ? new CLabelUI() : nullptr;
    }
};

}  // namespace

TEST(DialogBuilderTest, TagsNameTheirClassesAndBuildTheTree)
{
    TestWindow w(
        L"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n"
        L"<!-- comment --><Window size=\"300,200\">"
        L"<verticallayout name=\"root\">"  // tags ignore case
        L"  <HorizontalLayout name=\"row\" height=\"40\"><Control name=\"spacer\"/><Button name=\"b\" width=\"60\"/></HorizontalLayout>"
        L"  <TabLayout name=\"tab\"><Label name=\"l\"/><Text name=\"t\"/></TabLayout>"
        L"  <Option name=\"o\"/><Progress name=\"p\"/><Container name=\"c\"/>"
        L"</verticallayout></Window>");
    ASSERT_NE(w.root, nullptr) << w.error;
    EXPECT_NE(dynamic_cast<CVerticalLayoutUI*>(w.root), nullptr);
    EXPECT_NE(w.Find<CHorizontalLayoutUI>(L"row"), nullptr);
    EXPECT_NE(w.Find<CButtonUI>(L"b"), nullptr);
    EXPECT_NE(w.Find<CTabLayoutUI>(L"tab"), nullptr);
    EXPECT_NE(w.Find<CTextUI>(L"t"), nullptr);
    EXPECT_NE(w.Find<COptionUI>(L"o"), nullptr);
    EXPECT_NE(w.Find<CProgressUI>(L"p"), nullptr);
    EXPECT_EQ(w.Find<CControlUI>(L"spacer")->GetClass(), L"ControlUI");
    EXPECT_EQ(w.Find<CContainerUI>(L"c")->GetClass(), L"ContainerUI");
    auto* row = w.Find<CHorizontalLayoutUI>(L"row");
    ASSERT_EQ(row->GetCount(), 2);
    EXPECT_EQ(row->GetItemAt(1), w.Find<CControlUI>(L"b"));
    EXPECT_EQ(w.Find<CControlUI>(L"b")->GetPos(), (UIRect{340, 0, 400, 40}));
    EXPECT_EQ(w.Find<CControlUI>(L"b")->GetParent(), row);
}

TEST(DialogBuilderTest, UnknownTagsGoToTheCallbackOrAreLeftOutWithTheirSubtree)
{
    CPaintManagerUI manager;
    CustomCallback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<VerticalLayout><Custom name=\"mine\"/>"
        L"<Unknown name=\"gone\"><Button name=\"inside\"/></Unknown>"
        L"<Button name=\"after\"/></VerticalLayout>",
        L"", &callback, &manager);
    ASSERT_NE(root, nullptr);
    manager.AttachDialog(root);
    EXPECT_EQ(callback.asked, (std::vector<std::wstring>{L"Custom", L"Unknown"}));
    EXPECT_NE(dynamic_cast<CLabelUI*>(manager.FindControl(L"mine")), nullptr);
    EXPECT_EQ(manager.FindControl(L"gone"), nullptr);
    EXPECT_EQ(manager.FindControl(L"inside"), nullptr);
    EXPECT_NE(manager.FindControl(L"after"), nullptr);
    EXPECT_EQ(dynamic_cast<CContainerUI*>(root)->GetCount(), 2);
}

TEST(DialogBuilderTest, DefaultThenStyleThenOwnAttributes)
{
    SharedCleanup cleanup;
    TestWindow w(
        L"<Window>"
        L"<Style name=\"s\" value=\"textcolor=&quot;#00000002&quot; height=&quot;22&quot; font=&quot;2&quot;\"/>"
        L"<VerticalLayout>"
        L"  <Button name=\"own\" textcolor=\"#00000003\" style=\"s\"/>"
        L"  <Button name=\"styled\" style=\"s\"/>"
        L"  <Button name=\"plain\"/>"
        L"  <Label name=\"label\"/>"
        L"</VerticalLayout>"
        // Declared after the tree: resources are taken first wherever they stand.
        L"<Default name=\"Button\" value=\"textcolor=&quot;#00000001&quot; width=&quot;11&quot; font=&quot;1&quot;\"/>"
        L"</Window>");
    ASSERT_NE(w.root, nullptr) << w.error;
    auto* own = w.Find<CButtonUI>(L"own");
    auto* styled = w.Find<CButtonUI>(L"styled");
    auto* plain = w.Find<CButtonUI>(L"plain");
    EXPECT_EQ(own->GetTextColor(), 0x00000003u);  // own attribute over the style, though written first
    EXPECT_EQ(styled->GetTextColor(), 0x00000002u);
    EXPECT_EQ(plain->GetTextColor(), 0x00000001u);
    EXPECT_EQ(own->GetFixedWidth(), 11);  // from the Default, untouched by the style
    EXPECT_EQ(own->GetFixedHeight(), 22);
    EXPECT_EQ(styled->GetFont(), 2);
    EXPECT_EQ(plain->GetFont(), 1);
    EXPECT_FALSE(w.Find<CLabelUI>(L"label")->GetTextColor().has_value());  // Defaults are per class
}

TEST(DialogBuilderTest, SharedDefaultsReachLaterWindowsAndOwnOnesDoNot)
{
    SharedCleanup cleanup;
    {
        TestWindow first(
            L"<Window><Default name=\"VScrollBar\" value=\"width=&quot;9&quot;\" shared=\"true\"/>"
            L"<Default name=\"Label\" value=\"font=&quot;4&quot;\"/>"
            L"<VerticalLayout vscrollbar=\"true\"><Label name=\"l\"/></VerticalLayout></Window>");
        ASSERT_NE(first.root, nullptr) << first.error;
        auto* root = dynamic_cast<CContainerUI*>(first.root);
        ASSERT_NE(root->GetVerticalScrollBar(), nullptr);
        EXPECT_EQ(root->GetVerticalScrollBar()->GetFixedWidth(), 9);
        EXPECT_EQ(first.Find<CLabelUI>(L"l")->GetFont(), 4);
    }
    TestWindow second(L"<Window><VerticalLayout vscrollbar=\"true\"><Label name=\"l\"/></VerticalLayout></Window>");
    ASSERT_NE(second.root, nullptr) << second.error;
    EXPECT_EQ(dynamic_cast<CContainerUI*>(second.root)->GetVerticalScrollBar()->GetFixedWidth(), 9);
    EXPECT_EQ(second.Find<CLabelUI>(L"l")->GetFont(), -1);
}

TEST(DialogBuilderTest, ScrollBarDefaultsAndStylesAreAppliedToNewBars)
{
    TestWindow w(
        L"<Window><Default name=\"HScrollBar\" value=\"height=&quot;12&quot; "
        L"thumbnormalimage=&quot;file=&apos;thumb.png&apos; corner=&apos;4,2,4,2&apos;&quot;\"/>"
        L"<HorizontalLayout hscrollbar=\"true\" hscrollbarstyle=\"showbutton1=&quot;false&quot;\"/></Window>");
    ASSERT_NE(w.root, nullptr) << w.error;
    CScrollBarUI* bar = dynamic_cast<CContainerUI*>(w.root)->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsHorizontal());
    EXPECT_EQ(bar->GetFixedHeight(), 12);
    EXPECT_FALSE(bar->IsShowButton1());
    ASSERT_NE(bar->GetPartImage(L"thumbnormalimage"), nullptr);
    EXPECT_EQ(bar->GetPartImage(L"thumbnormalimage")->Get(&w.manager).corner, (UIRect{4, 2, 4, 2}));
    EXPECT_FALSE(bar->IsVisible());  // nothing to scroll
}

TEST(DialogBuilderTest, WindowAttributesAndFontsGoToTheManager)
{
    ScopedProcessDpi dpi(144);
    TestWindow w(
        L"<Window size=\"700,420\" caption=\"0,0,0,50\" roundcorner=\"10,10\" bktrans=\"true\" "
        L"Layered=\"false\" mininfo=\"100,50\">"
        L"<Font id=\"3\" name=\"微软雅黑\" size=\"14\" bold=\"true\"/>"
        L"<Font id=\"9\" name=\"Arial\" size=\"16\" default=\"true\"/>"
        L"<VerticalLayout/></Window>");
    ASSERT_NE(w.root, nullptr) << w.error;
    EXPECT_EQ(w.manager.GetInitSize(), (UISize{1050, 630}));
    EXPECT_EQ(w.manager.GetCaptionRect(), (UIRect{0, 0, 0, 75}));
    EXPECT_EQ(w.manager.GetRoundCorner(), (UISize{15, 15}));
    EXPECT_EQ(w.manager.GetMinInfo(), (UISize{150, 75}));
    EXPECT_TRUE(w.manager.IsLayered());  // "Layered" is not "layered"
    const TFontInfo font = w.manager.GetFontInfo(3);
    EXPECT_EQ(font.face, L"微软雅黑");
    EXPECT_EQ(font.height, -21);
    EXPECT_TRUE(font.bold);
    EXPECT_EQ(w.manager.GetDefaultFontInfo().face, L"Arial");
    EXPECT_EQ(w.manager.GetDefaultFontInfo().height, -24);
}

TEST(DialogBuilderTest, GeometryIsScaledAt200Percent)
{
    ScopedProcessDpi dpi(192);
    TestWindow w(
        L"<VerticalLayout inset=\"1,1,1,1\"><HorizontalLayout height=\"54\" childpadding=\"2\">"
        L"<Control/><Button name=\"min\" width=\"20\" height=\"20\" padding=\"0,11,11,0\"/>"
        L"</HorizontalLayout></VerticalLayout>",
        UIRect{0, 0, 1400, 840});
    ASSERT_NE(w.root, nullptr) << w.error;
    // Row: 2..1398 wide, 108 high; the button is 40 x 40, its padding 22 on top and right.
    EXPECT_EQ(w.Find<CControlUI>(L"min")->GetPos(), (UIRect{1398 - 22 - 40, 2 + 22, 1398 - 22, 2 + 22 + 40}));
}

TEST(DialogBuilderTest, NotificationsCarryTheVirtualWndOfTheirPage)
{
    TestWindow w(
        L"<VerticalLayout><TabLayout name=\"tab\">"
        L"<VerticalLayout virtualwnd=\"install0\"><HorizontalLayout height=\"40\">"
        L"<Button name=\"deep\" width=\"40\"/></HorizontalLayout></VerticalLayout>"
        L"<VerticalLayout virtualwnd=\"install1\" visible=\"false\"/>"
        L"</TabLayout><Button name=\"outside\" height=\"20\"/></VerticalLayout>");
    ASSERT_NE(w.root, nullptr) << w.error;
    w.notifier.Clear();
    w.Click(CenterOf(w.Find<CControlUI>(L"deep")->GetPos()));
    w.Click(CenterOf(w.Find<CControlUI>(L"outside")->GetPos()));
    std::vector<std::wstring> routes;
    for (const auto& m : w.notifier.messages) {
        if (m.sType == L"click") routes.push_back(m.sVirtualWnd);
    }
    EXPECT_EQ(routes, (std::vector<std::wstring>{L"install0", L""}));
}

TEST(DialogBuilderTest, TabShowsTheFirstVisiblePageOrTheSelectedId)
{
    TestWindow first(
        L"<TabLayout><Control name=\"a\" visible=\"false\"/><Control name=\"b\"/><Control name=\"c\" visible=\"false\"/></TabLayout>");
    auto* tab = dynamic_cast<CTabLayoutUI*>(first.root);
    ASSERT_NE(tab, nullptr) << first.error;
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_EQ(first.Find<CControlUI>(L"b")->GetPos(), (UIRect{0, 0, 400, 300}));
    EXPECT_FALSE(tab->SelectItem(1));  // already shown
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_FALSE(tab->SelectItem(-1));
    first.notifier.Clear();
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_FALSE(first.Find<CControlUI>(L"b")->IsVisible());
    EXPECT_TRUE(first.Find<CControlUI>(L"c")->IsVisible());
    ASSERT_EQ(first.notifier.Types(), (std::vector<std::wstring>{L"tabselect"}));
    EXPECT_EQ(first.notifier.messages[0].wParam, 2u);
    EXPECT_EQ(first.notifier.messages[0].lParam, 1);

    TestWindow second(
        L"<TabLayout selectedid=\"2\"><Control name=\"a\"/><Control name=\"b\"/><Control name=\"c\" visible=\"false\"/></TabLayout>");
    auto* selected = dynamic_cast<CTabLayoutUI*>(second.root);
    ASSERT_NE(selected, nullptr) << second.error;
    EXPECT_EQ(selected->GetCurSel(), 2);
    EXPECT_FALSE(second.Find<CControlUI>(L"a")->IsVisible());
    EXPECT_TRUE(second.Find<CControlUI>(L"c")->IsVisible());
}

TEST(DialogBuilderTest, BrokenDocumentsGiveNoTreeAndSayWhy)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create(L"<Window><VerticalLayout></Window>", L"", nullptr, &manager), nullptr);
    EXPECT_FALSE(builder.GetLastErrorMessage().empty());
    EXPECT_EQ(builder.Create(L"<Window><VerticalLayout name=\"x></VerticalLayout></Window>", L"", nullptr, &manager),
              nullptr);
    EXPECT_FALSE(builder.GetLastErrorMessage().empty());
    EXPECT_EQ(builder.Create(L"<Window size=\"1,1\"><Font id=\"1\" name=\"a\"/></Window>", L"", nullptr, &manager),
              nullptr);
    EXPECT_EQ(builder.GetLastErrorMessage(), L"The document holds no control");
    EXPECT_EQ(builder.Create(L"<Nothing/>", L"", nullptr, &manager), nullptr);
    EXPECT_NE(builder.GetLastErrorMessage().find(L"Nothing"), std::wstring::npos);
    EXPECT_EQ(manager.FindControl(L"x"), nullptr);

    // A document name that the skin does not hold: the loader's words.
    CSkinResources::Reset();
    EXPECT_EQ(builder.Create(L"NoSuchDocument.xml", L"", nullptr, &manager), nullptr);
    EXPECT_FALSE(builder.GetLastErrorMessage().empty());
    // A resource type without a resource loader.
    EXPECT_EQ(builder.Create(L"101", L"xml", nullptr, &manager), nullptr);
    EXPECT_FALSE(builder.GetLastErrorMessage().empty());
}

TEST(DialogBuilderTest, IncludeInsertsAnotherDocumentCountTimes)
{
    TestWindow w(
        L"<VerticalLayout name=\"root\">"
        L"<Include source=\"&lt;Label height=&quot;10&quot; text=&quot;x&quot;/&gt;\" count=\"3\"/>"
        L"<Include source=\"&lt;Button name=&quot;once&quot;/&gt;\"/>"
        L"<Include source=\"&lt;Button name=&quot;never&quot;/&gt;\" count=\"0\"/>"
        L"</VerticalLayout>");
    ASSERT_NE(w.root, nullptr) << w.error;
    auto* root = dynamic_cast<CContainerUI*>(w.root);
    ASSERT_EQ(root->GetCount(), 4);
    EXPECT_EQ(root->GetItemAt(2)->GetText(), L"x");
    EXPECT_EQ(root->GetItemAt(2)->GetPos(), (UIRect{0, 20, 400, 30}));
    EXPECT_NE(w.Find<CButtonUI>(L"once"), nullptr);
    EXPECT_EQ(w.manager.FindControl(L"never"), nullptr);
}

TEST(DialogBuilderTest, DocumentThatIncludesItselfStops)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() /
                            ("kp_builder_include_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(folder);
    std::ofstream(folder / "self.xml") << "<VerticalLayout><Label/><Include source=\"self.xml\"/></VerticalLayout>";
    CSkinResources::Reset();
    CSkinResources::SetResourceMode(UILIB_FILE);
    CSkinResources::SetResourceFolder(folder.wstring() + L"/");

    TestWindow w(L"<VerticalLayout><Include source=\"self.xml\"/></VerticalLayout>");
    ASSERT_NE(w.root, nullptr) << w.error;
    int depth = 0;
    for (auto* c = dynamic_cast<CContainerUI*>(w.root); c && c->GetCount() > 0;
         c = dynamic_cast<CContainerUI*>(c->GetItemAt(c->GetCount() - 1))) {
        ++depth;
    }
    EXPECT_EQ(depth, CDialogBuilder::kMaxIncludeDepth + 1);

    CSkinResources::Reset();
    fs::remove_all(folder);
}

namespace {

std::wstring ReadSkinDocument(const char* name)
{
    std::ifstream in(std::string(KP_SOURCE_DIR) + "/pages/skin/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return DecodeUtf8(bytes);
}

}  // namespace

TEST(DialogBuilderTest, BuildsTheMainWindowDocument)
{
    SharedCleanup cleanup;
    ScopedProcessDpi dpi(144);
    const std::wstring text = ReadSkinDocument("KPMainFrame.xml");
    ASSERT_FALSE(text.empty());
    TestWindow w(text, UIRect{0, 0, 1050, 630});
    ASSERT_NE(w.root, nullptr) << w.error;
    EXPECT_EQ(w.manager.GetInitSize(), (UISize{1050, 630}));
    EXPECT_TRUE(w.manager.IsLayered());
    EXPECT_EQ(w.manager.GetFontInfo(11).height, -54);

    EXPECT_EQ(w.manager.FindControl(L"verRoot"), w.root);
    auto* tab = w.Find<CTabLayoutUI>(L"tabInstall");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetCount(), 4);
    EXPECT_EQ(tab->GetCurSel(), 0);
    for (const wchar_t* name : {L"minbtn", L"closebtn", L"installBtn", L"kp_btn_protocal", L"customBtn", L"minbtn1",
                                L"closebtn1", L"gobackbtn", L"installBtn1", L"modifyBtn", L"minbtn2", L"closebtn2",
                                L"minbtn3", L"closebtn3", L"completeBtn"}) {
        EXPECT_NE(w.Find<CButtonUI>(name), nullptr) << name;
    }
    for (const wchar_t* name : {L"protocalOpt", L"desktopShortCutOpt", L"addtaskbarOpt"}) {
        EXPECT_NE(w.Find<COptionUI>(name), nullptr) << name;
    }
    for (const wchar_t* name :
         {L"pathLab", L"vd_desktop_short_cut", L"vd_quick_start_up_lab", L"vd_install_path", L"installproglab"}) {
        EXPECT_NE(w.Find<CLabelUI>(name), nullptr) << name;
    }
    EXPECT_NE(w.Find<CProgressUI>(L"installPrg"), nullptr);
    EXPECT_NE(w.Find<CHorizontalLayoutUI>(L"vd_hor_path_root"), nullptr);
    EXPECT_EQ(w.Find<CControlUI>(L"installBtn")->GetVirtualWnd(), L"install0");
    EXPECT_EQ(w.Find<CControlUI>(L"installPrg")->GetVirtualWnd(), L"install2");
    EXPECT_TRUE(w.Find<COptionUI>(L"protocalOpt")->IsSelected());

    // The welcome page at 150 %: the install button floats at 246,264 scaled.
    EXPECT_EQ(w.Find<CControlUI>(L"installBtn")->GetPos(), (UIRect{369, 396, 681, 462}));
    EXPECT_TRUE(w.Find<CControlUI>(L"verroot0")->IsVisible());
    EXPECT_FALSE(w.Find<CControlUI>(L"verroot1")->IsVisible());
}

TEST(DialogBuilderTest, BuildsTheMessageBoxDocument)
{
    SharedCleanup cleanup;
    const std::wstring text = ReadSkinDocument("KPMsgBox.xml");
    ASSERT_FALSE(text.empty());
    TestWindow w(text, UIRect{0, 0, 417, 212});
    ASSERT_NE(w.root, nullptr) << w.error;
    EXPECT_EQ(w.manager.GetInitSize(), (UISize{417, 212}));
    EXPECT_NE(w.Find<CTextUI>(L"kp_txt_title"), nullptr);
    EXPECT_NE(w.Find<CTextUI>(L"kp_txt_msg"), nullptr);
    EXPECT_NE(w.Find<CLabelUI>(L"kp_lab_ico"), nullptr);
    for (const wchar_t* name : {L"closebtn", L"okBtn", L"cancelBtn"})
        EXPECT_NE(w.Find<CButtonUI>(name), nullptr) << name;
    EXPECT_TRUE(w.Find<CTextUI>(L"kp_txt_msg")->GetTextStyle() & kTextWordBreak);
    // Both default lists of this document are shared.
    EXPECT_FALSE(CPaintManagerUI::GetSharedResources().FindDefaultAttributeList(L"VScrollBar") == nullptr);
}

TEST(DialogBuilderTest, TreeDepthIsLimited)
{
    std::wstring text;
    const int levels = CDialogBuilder::kMaxTreeDepth + 50;
    for (int i = 0; i < levels; ++i) text += L"<VerticalLayout>";
    for (int i = 0; i < levels; ++i) text += L"</VerticalLayout>";
    TestWindow w(text);
    ASSERT_NE(w.root, nullptr) << w.error;
    int depth = 1;
    for (auto* c = dynamic_cast<CContainerUI*>(w.root); c->GetCount() > 0;
         c = dynamic_cast<CContainerUI*>(c->GetItemAt(0))) {
        ++depth;
    }
    EXPECT_EQ(depth, CDialogBuilder::kMaxTreeDepth);
}
