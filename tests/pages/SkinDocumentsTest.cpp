// The two layout documents, read from the built skin archive, parsed, built and laid out at
// 100 %, 150 % and 200 %: every named control with its class, text and rectangle, the page
// containers with their virtual-window names, the fonts and the window settings.
//
// Expected rectangles are worked out from the documents' numbers: each length is scaled as the
// framework scales it (MulDiv to nearest), then placed as the containers place children
// (stacked along the axis, paddings as margins, the child without a size taking the rest, float
// children at their pos inside the parent). At 100 % they are the designed positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "pages/SkinArchiveFile.h"
#include "ui/builder/DialogBuilder.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/core/ControlUI.h"
#include "ui/core/FocusRing.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/image/ImageCache.h"
#include "ui/resources/SkinResources.h"

using namespace SkinUI;

namespace {

// The archive stays in memory for the whole run, as the executable's resource does.
const std::vector<unsigned char>& SkinBytes()
{
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> data;
        if (FILE* f = std::fopen(skintest::SkinZipPath(), "rb")) {
            unsigned char buf[65536];
            for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) data.insert(data.end(), buf, buf + n);
            std::fclose(f);
        }
        return data;
    }();
    return bytes;
}

class SkinDocumentsTest : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite()
    {
        CSkinResources::Reset();
        CSkinResources::SetResourceMode(UILIB_ZIPRESOURCE);
        ASSERT_TRUE(CSkinResources::OpenResourceArchive(SkinBytes().data(), SkinBytes().size()));
    }
    static void TearDownTestSuite()
    {
        CSkinResources::Reset();
        CPaintManagerUI::SetProcessDpi(96);
    }

    int Scale() const { return GetParam(); }
    // A document length at this scale, rounded as MulDiv rounds (halves away from zero).
    int S(int v) const { return (v * Scale() + (v >= 0 ? 50 : -50)) / 100; }

    // Builds `document` into a fresh window model at this scale and lays it out in the window's
    // own size.
    CControlUI* Build(const wchar_t* document)
    {
        CPaintManagerUI::SetProcessDpi(96 * Scale() / 100);
        pm_ = std::make_unique<CPaintManagerUI>();
        CDialogBuilder builder;
        CControlUI* root = builder.Create(document, L"", nullptr, pm_.get());
        EXPECT_NE(nullptr, root) << builder.GetLastErrorMessage();
        if (!root || !pm_->AttachDialog(root)) return nullptr;
        Layout();
        return root;
    }
    void Layout()
    {
        const UISize size = pm_->GetInitSize();
        pm_->NeedUpdate();
        pm_->UpdateLayout(UIRect{0, 0, size.cx, size.cy});
    }
    CControlUI* Find(const wchar_t* name)
    {
        CControlUI* c = pm_->FindControl(name);
        EXPECT_NE(nullptr, c) << "no control named " << testing::PrintToString(std::wstring(name));
        return c;
    }
    // Checks one control: class, text, rectangle.
    void Expect(CControlUI* c, const wchar_t* cls, const wchar_t* text, UIRect rc, const char* what)
    {
        ASSERT_NE(nullptr, c) << what;
        EXPECT_EQ(std::wstring(cls), c->GetClass()) << what;
        if (text) {
            EXPECT_EQ(std::wstring(text), c->GetText()) << what;
        }
        const UIRect& pos = c->GetPos();
        EXPECT_EQ(rc.left, pos.left) << what << " left at " << Scale() << " %";
        EXPECT_EQ(rc.top, pos.top) << what << " top at " << Scale() << " %";
        EXPECT_EQ(rc.right, pos.right) << what << " right at " << Scale() << " %";
        EXPECT_EQ(rc.bottom, pos.bottom) << what << " bottom at " << Scale() << " %";
    }
    void ExpectNamed(const wchar_t* name, const wchar_t* cls, const wchar_t* text, UIRect rc)
    {
        const std::string what = testing::PrintToString(std::wstring(name));
        Expect(Find(name), cls, text, rc, what.c_str());
    }
    // A float child at `pos` (document units) inside a parent at `parent` (device pixels).
    UIRect Float(const UIRect& parent, int l, int t, int w, int h) const
    {
        return UIRect{parent.left + S(l), parent.top + S(t), parent.left + S(l) + S(w), parent.top + S(t) + S(h)};
    }
    // The title bar's minimise and close buttons: 20 x 20, padding 0,11,11,0, at the right end.
    void ExpectTitleButtons(const wchar_t* min, const wchar_t* close)
    {
        const int w = S(700), top = S(11), size = S(20), gap = S(11);
        const int closeLeft = w - gap - size, minLeft = closeLeft - gap - size;
        ExpectNamed(min, L"ButtonUI", L"", UIRect{minLeft, top, minLeft + size, top + size});
        ExpectNamed(close, L"ButtonUI", L"", UIRect{closeLeft, top, closeLeft + size, top + size});
        EXPECT_EQ(std::wstring(L"最小化"), Find(min)->GetToolTip());
        EXPECT_EQ(std::wstring(L"关闭"), Find(close)->GetToolTip());
    }
    void SelectPage(int index)
    {
        auto* tab = static_cast<CTabLayoutUI*>(Find(L"tabInstall"));
        ASSERT_NE(nullptr, tab);
        if (tab->GetCurSel() != index) tab->SelectItem(index, false);
        Layout();
    }

    std::unique_ptr<CPaintManagerUI> pm_;
};

INSTANTIATE_TEST_SUITE_P(Scales, SkinDocumentsTest, ::testing::Values(100, 150, 200),
                         [](const testing::TestParamInfo<int>& info) { return "At" + std::to_string(info.param); });

TEST_P(SkinDocumentsTest, MainWindowSettingsFontsAndPages)
{
    CControlUI* root = Build(L"KPMainFrame.xml");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(S(700), pm_->GetInitSize().cx);
    EXPECT_EQ(S(420), pm_->GetInitSize().cy);
    EXPECT_EQ(S(50), pm_->GetCaptionRect().bottom);
    EXPECT_EQ(0, pm_->GetCaptionRect().left);
    EXPECT_EQ(S(10), pm_->GetRoundCorner().cx);
    EXPECT_TRUE(pm_->GetWindowSettings().layered);

    const UIRect window{0, 0, S(700), S(420)};
    EXPECT_EQ(root, pm_->FindControl(L"verRoot"));
    Expect(root, L"VerticalLayoutUI", nullptr, window, "verRoot");
    ExpectNamed(L"tabInstall", L"TabLayoutUI", nullptr, window);
    auto* tab = static_cast<CTabLayoutUI*>(Find(L"tabInstall"));
    ASSERT_EQ(4, tab->GetCount());
    const wchar_t* pages[] = {L"verroot0", L"verroot1", L"verroot2", L"verroot3"};
    const wchar_t* wnds[] = {L"install0", L"install1", L"install2", L"install3"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Find(pages[i]), tab->GetItemAt(i)) << i;
        EXPECT_EQ(std::wstring(wnds[i]), Find(pages[i])->GetVirtualWnd()) << i;
        EXPECT_EQ(i == 0, Find(pages[i])->IsVisible()) << "only the welcome page shows at start";
    }
    EXPECT_EQ(0, tab->GetCurSel());
    // The pages' controls report their page's virtual window.
    EXPECT_EQ(std::wstring(L"install1"), Find(L"modifyBtn")->GetVirtualWnd());
    EXPECT_EQ(std::wstring(L"install3"), Find(L"completeBtn")->GetVirtualWnd());
}

// Each image is drawn from the archive's variant for the window's scale where the skin has one,
// and from the plain file where it has none.
TEST_P(SkinDocumentsTest, ImagesUseTheVariantOfTheScale)
{
    ASSERT_NE(nullptr, Build(L"KPMainFrame.xml"));
    const std::wstring suffix = Scale() == 100 ? L"" : Scale() == 150 ? L"@1.5x" : L"@2x";
    const double own = Scale() / 100.0;
    const CImageSlot& background = Find(L"verRoot")->GetBkImageSlot();
    EXPECT_EQ(L"Install uninstall\\table_bg_install_01" + suffix + L".png", background.Get(pm_.get()).file);
    EXPECT_DOUBLE_EQ(own, background.GetImageScale(pm_.get()));
    const CImageSlot& check = Find(L"protocalOpt")->GetForeImageSlot();
    EXPECT_EQ(L"btn_multiple_choice" + suffix + L".png", check.Get(pm_.get()).file);
    // The path frame exists only as the plain file: drawn stretched at every scale.
    const CImageSlot& frame = Find(L"vd_hor_path_root")->GetBkImageSlot();
    EXPECT_EQ(L"path_bkimage.png", frame.Get(pm_.get()).file);
    EXPECT_DOUBLE_EQ(1.0, frame.GetImageScale(pm_.get()));
}

// The document names the images of all four pages and of every button state; none is decoded
// while it is built, and asking for one image decodes that image alone (with the variant
// probes it needs).
TEST_P(SkinDocumentsTest, ImagesAreDecodedWhenFirstAskedForNotWhenBuilt)
{
    CImageCache::Instance().Clear();
    const size_t before = CImageCache::Instance().LoadCount();
    ASSERT_NE(nullptr, Build(L"KPMainFrame.xml"));
    EXPECT_EQ(before, CImageCache::Instance().LoadCount());

    const CImageSlot& background = Find(L"verRoot")->GetBkImageSlot();
    EXPECT_FALSE(background.Get(pm_.get()).file.empty());
    // 100 %: the plain file is drawn without probing; above it the first probe finds the variant
    // (decoding it, so that drawing it costs nothing more).
    EXPECT_EQ(Scale() == 100 ? 0u : 1u, CImageCache::Instance().LoadCount() - before);
    const auto image = GetImage(background.Get(pm_.get()).file);
    ASSERT_TRUE(image);
    EXPECT_EQ(S(700), image->width);
    EXPECT_EQ(1u, CImageCache::Instance().LoadCount() - before);
    background.Get(pm_.get());
    EXPECT_EQ(1u, CImageCache::Instance().LoadCount() - before);
    CImageCache::Instance().Clear();
}

TEST_P(SkinDocumentsTest, WelcomePage)
{
    ASSERT_NE(nullptr, Build(L"KPMainFrame.xml"));
    ExpectNamed(L"verroot0", L"VerticalLayoutUI", nullptr, UIRect{0, 0, S(700), S(420)});
    ExpectTitleButtons(L"minbtn", L"closebtn");
    const UIRect page{0, 0, S(700), S(420)};
    ExpectNamed(L"installBtn", L"ButtonUI", L"立即安装", Float(page, 246, 264, 208, 44));
    if (Scale() == 100) {
        EXPECT_EQ(246, Find(L"installBtn")->GetPos().left);
        EXPECT_EQ(308, Find(L"installBtn")->GetPos().bottom);
    }
    const UIRect strip = Float(page, 0, 352, 700, 68);
    // The check box's width and height follow its pos in the document and win.
    ExpectNamed(L"protocalOpt", L"OptionUI", L"", Float(strip, 29, 27, 18, 18));
    EXPECT_TRUE(static_cast<COptionUI*>(Find(L"protocalOpt"))->IsSelected());
    ExpectNamed(L"kp_btn_protocal", L"ButtonUI", L"同意《用户协议》", Float(strip, 54, 20, 120, 29));
    ExpectNamed(L"customBtn", L"ButtonUI", L"自定义安装 >", Float(strip, 579, 18, 101, 32));
    auto* install = static_cast<CLabelUI*>(Find(L"installBtn"));
    EXPECT_EQ(10, install->GetFont());
    EXPECT_EQ(3, static_cast<CLabelUI*>(Find(L"customBtn"))->GetFont());
}

TEST_P(SkinDocumentsTest, OptionsPage)
{
    ASSERT_NE(nullptr, Build(L"KPMainFrame.xml"));
    SelectPage(1);
    EXPECT_TRUE(Find(L"verroot1")->IsVisible());
    EXPECT_FALSE(Find(L"verroot0")->IsVisible());
    ExpectTitleButtons(L"minbtn1", L"closebtn1");
    const UIRect page{0, 0, S(700), S(420)};
    ExpectNamed(L"gobackbtn", L"ButtonUI", L"返回", UIRect{S(10), S(10), S(10) + S(100), S(10) + S(24)});
    ExpectNamed(L"installBtn1", L"ButtonUI", L"立即安装", Float(page, 246, 198, 208, 44));

    // The path row: 80 high under the 54-high title bar.
    const int rowTop = S(54);
    ExpectNamed(L"vd_install_path", L"LabelUI", L"安装路径",
                UIRect{S(50), rowTop + S(30), S(50) + S(73), rowTop + S(30) + S(29)});
    const int frameLeft = S(50) + S(73) + S(8), frameTop = rowTop + S(24);
    const UIRect frame{frameLeft, frameTop, frameLeft + S(520), frameTop + S(40)};
    ExpectNamed(L"vd_hor_path_root", L"HorizontalLayoutUI", nullptr, frame);
    const int modifyRight = frame.right - S(4);
    const UIRect modify{modifyRight - S(60), frameTop + S(4), modifyRight, frameTop + S(4) + S(32)};
    ExpectNamed(L"modifyBtn", L"ButtonUI", L"修改", modify);
    ExpectNamed(L"pathLab", L"LabelUI", L"dddd", UIRect{frame.left, frameTop, modify.left, frameTop + S(40)});
    if (Scale() == 100) {
        EXPECT_EQ(131, frame.left);  // where the page background keeps a calm area
        EXPECT_EQ(78, frame.top);
    }

    const UIRect strip = Float(page, 0, 352, 700, 68);
    ExpectNamed(L"desktopShortCutOpt", L"OptionUI", L"", Float(strip, 29, 27, 18, 18));
    EXPECT_TRUE(static_cast<COptionUI*>(Find(L"desktopShortCutOpt"))->IsSelected());
    ExpectNamed(L"vd_desktop_short_cut", L"LabelUI", L"创建桌面快捷方式", Float(strip, 54, 21, 120, 29));
    // The taskbar option and its caption exist but stay hidden.
    CControlUI* taskbar = Find(L"addtaskbarOpt");
    ASSERT_NE(nullptr, taskbar);
    EXPECT_EQ(std::wstring(L"OptionUI"), taskbar->GetClass());
    EXPECT_FALSE(taskbar->IsVisible());
    EXPECT_TRUE(static_cast<COptionUI*>(taskbar)->IsSelected());
    CControlUI* quick = Find(L"vd_quick_start_up_lab");
    ASSERT_NE(nullptr, quick);
    EXPECT_EQ(std::wstring(L"LabelUI"), quick->GetClass());
    EXPECT_EQ(std::wstring(L"添加到快速启动栏"), quick->GetText());
    EXPECT_FALSE(quick->IsVisible());
}

TEST_P(SkinDocumentsTest, ProgressPage)
{
    ASSERT_NE(nullptr, Build(L"KPMainFrame.xml"));
    SelectPage(2);
    ExpectTitleButtons(L"minbtn2", L"closebtn2");
    const UIRect page{0, 0, S(700), S(420)};
    ExpectNamed(L"installPrg", L"ProgressUI", nullptr, Float(page, 55, 342, 594, 14));
    auto* bar = static_cast<CProgressUI*>(Find(L"installPrg"));
    EXPECT_EQ(50, bar->GetValue());
    ExpectNamed(L"installproglab", L"LabelUI", L"正在安装，请不要关闭 0%", Float(page, 52, 367, 232, 21));

    // Product name and the feature list: unnamed, found through the page.
    auto* verroot2 = static_cast<CContainerUI*>(Find(L"verroot2"));
    ASSERT_EQ(5, verroot2->GetCount());
    Expect(verroot2->GetItemAt(3), L"LabelUI", L"凯普视频工坊", Float(page, 47, 80, 214, 26), "product name");
    auto* features = static_cast<CContainerUI*>(verroot2->GetItemAt(4));
    const UIRect list = Float(page, 46, 146, 324, 179);
    Expect(features, L"VerticalLayoutUI", nullptr, list, "feature list");
    const wchar_t* texts[5][2] = {{L"· 原画无损转换", L"· 多款视频处理工具"},
                                  {L"· 批量高效处理", L"· VIP使用次数无限制"},
                                  {L"· 技术支持服务", L"· 支持几十种主流格式"},
                                  {L"· 畅享屏幕录制", L"· 多分辨率转换选择"},
                                  {L"· VIP导出无水印", L"· 更多功能持续更新"}};
    ASSERT_EQ(5, features->GetCount());
    for (int r = 0; r < 5; ++r) {
        auto* row = static_cast<CContainerUI*>(features->GetItemAt(r));
        const int top = list.top + r * (S(20) + S(5));
        Expect(row, L"HorizontalLayoutUI", nullptr, UIRect{list.left, top, list.right, top + S(20)}, "feature row");
        ASSERT_EQ(2, row->GetCount());
        // Two labels without a width share the row; their 21 rows of height are cut to the row's 20.
        const int half = S(324) / 2;
        Expect(row->GetItemAt(0), L"LabelUI", texts[r][0], UIRect{list.left, top, list.left + half, top + S(20)},
               "feature, left");
        Expect(row->GetItemAt(1), L"LabelUI", texts[r][1], UIRect{list.left + half, top, list.right, top + S(20)},
               "feature, right");
    }
}

TEST_P(SkinDocumentsTest, CompletionPage)
{
    ASSERT_NE(nullptr, Build(L"KPMainFrame.xml"));
    SelectPage(3);
    ExpectTitleButtons(L"minbtn3", L"closebtn3");
    const UIRect page{0, 0, S(700), S(420)};
    ExpectNamed(L"completeBtn", L"ButtonUI", L"立即体验", Float(page, 246, 202, 208, 44));
    auto* verroot3 = static_cast<CContainerUI*>(Find(L"verroot3"));
    ASSERT_EQ(3, verroot3->GetCount());
    Expect(verroot3->GetItemAt(2), L"LabelUI", L"安装完成", Float(page, 245, 96, 210, 56), "heading");
    EXPECT_EQ(11, static_cast<CLabelUI*>(verroot3->GetItemAt(2))->GetFont());
    auto* title = static_cast<CContainerUI*>(verroot3->GetItemAt(0));
    Expect(title->GetItemAt(0), L"ControlUI", nullptr, UIRect{S(20), S(10), S(20) + S(160), S(10) + S(34)},
           "top-left decoration");
}

TEST_P(SkinDocumentsTest, MessageBox)
{
    CControlUI* root = Build(L"KPMsgBox.xml");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(S(417), pm_->GetInitSize().cx);
    EXPECT_EQ(S(212), pm_->GetInitSize().cy);
    EXPECT_EQ(S(126), pm_->GetCaptionRect().bottom);
    EXPECT_EQ(S(9), pm_->GetRoundCorner().cx);
    Expect(root, L"VerticalLayoutUI", nullptr, UIRect{0, 0, S(417), S(212)}, "root");

    // The panel asks for the whole 417 but the root's 1-pixel inset leaves it 415: widths are
    // limited to what the container offers, heights are not.
    const int in = S(1), inner = S(417) - 2 * in;
    ExpectNamed(L"kp_center_ver", L"VerticalLayoutUI", nullptr, UIRect{in, in, in + inner, in + S(212)});
    const UIRect head{in, in, in + std::min(S(415), inner), in + S(40)};  // 415 rounds past 2 x 1 at 150 %
    ExpectNamed(L"background", L"HorizontalLayoutUI", nullptr, head);
    ExpectNamed(L"kp_lab_caption", L"LabelUI", L"", UIRect{in, in, in + S(184), head.bottom});
    const int closeRight = head.right - S(12);
    ExpectNamed(L"closebtn", L"ButtonUI", L"", UIRect{closeRight - S(20), in + S(12), closeRight, in + S(12) + S(20)});

    const int bodyTop = head.bottom, bodyRight = in + inner;
    ExpectNamed(L"MessageBox_IconLayout", L"HorizontalLayoutUI", nullptr,
                UIRect{in, bodyTop, in + S(60), bodyTop + S(170)});
    const int icoRight = in + S(60) - S(7);
    ExpectNamed(L"kp_lab_ico", L"LabelUI", L"", UIRect{icoRight - S(24), bodyTop + S(10), icoRight, bodyTop + S(34)});
    const int textLeft = in + S(60);
    ExpectNamed(L"MessageBox_TextLayout", L"VerticalLayoutUI", nullptr,
                UIRect{textLeft, bodyTop, bodyRight, in + S(212)});
    ExpectNamed(L"kp_txt_title", L"TextUI", L"确定删除吗？",
                UIRect{textLeft, bodyTop, textLeft + S(346), bodyTop + S(40)});
    ExpectNamed(L"kp_txt_msg", L"TextUI", L"本地文件也会同步删除",
                UIRect{textLeft, bodyTop + S(40), textLeft + S(346), bodyTop + S(100)});
    const int rowTop = bodyTop + S(100), cancelRight = bodyRight - S(23);
    const UIRect cancel{cancelRight - S(92), rowTop + S(3), cancelRight, rowTop + S(3) + S(38)};
    ExpectNamed(L"cancelBtn", L"ButtonUI", L"取消", cancel);
    const int okRight = cancel.left - S(12);
    ExpectNamed(L"okBtn", L"ButtonUI", L"确定", UIRect{okRight - S(92), cancel.top, okRight, cancel.bottom});
    EXPECT_EQ(12, static_cast<CLabelUI*>(Find(L"kp_txt_title"))->GetFont());
    EXPECT_EQ(9, static_cast<CLabelUI*>(Find(L"kp_txt_msg"))->GetFont());
}

}  // namespace

// The custom-install link's focused colour is the focus ring's, and reads against the page: at
// least 4.5:1 against every pixel of the background under the link, at this scale's variant.
TEST_P(SkinDocumentsTest, FocusedCustomLinkStandsOutFromThePageUnderIt)
{
    ASSERT_NE(nullptr, Build(L"KPMainFrame.xml"));
    auto* custom = static_cast<CButtonUI*>(Find(L"customBtn"));
    ASSERT_NE(nullptr, custom);
    const std::optional<UIColor> focused = custom->GetTextColors().focused;
    ASSERT_TRUE(focused.has_value());
    EXPECT_EQ(*focused & 0xFFFFFFu, kFocusRingColor & 0xFFFFFFu);

    const auto background = GetImage(Find(L"verRoot")->GetBkImageSlot().Get(pm_.get()).file);
    ASSERT_TRUE(background);
    auto luminance = [](unsigned r, unsigned g, unsigned b) {
        auto linear = [](unsigned c) {
            const double s = c / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
    };
    const double text = luminance((*focused >> 16) & 0xFF, (*focused >> 8) & 0xFF, *focused & 0xFF);
    double worst = 21.0;
    const UIRect& rc = custom->GetPos();
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const std::uint8_t* bgra =
                background->pixels.data() + 4 * (static_cast<std::size_t>(y) * background->width + x);
            const double page = luminance(bgra[2], bgra[1], bgra[0]);  // the page is opaque here
            worst = std::min(worst, (std::max(text, page) + 0.05) / (std::min(text, page) + 0.05));
        }
    }
    std::printf("focused custom link: contrast at least %.2f:1 at %d %%\n", worst, Scale());
    EXPECT_GE(worst, 4.5);
}
