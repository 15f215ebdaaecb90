// The four page controllers inside the real main window under Wine, driven by clicks on their
// controls: the agreement box, back and forth with the options kept, the folder picker, the
// progress line, the close question with its dimming, minimising, and the completion page's
// FinishInstall with the registry entry and the shortcuts it leaves.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "KPCore/ResolvedLink.h"
#include "KPCore/inner/SystemFolders.h"
#include "KPCore/inner/UninstallEntry.h"
#include "KPCore/inner/Wow64.h"
#include "app/PackageCommand.h"
#include "app/WizardTestSupport.h"
#include "pages/DimmingMask.h"
#include "pages/InstallEvents.h"
#include "pages/InstallFolderRule.h"
#include "pages/InstallSettings.h"
#include "pages/KPInstallPage0.h"
#include "pages/KPInstallPage1.h"
#include "pages/KPInstallPage3.h"
#include "pages/KPMsgBox.h"
#include "pages/WindowLook.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"

using namespace WizardTest;
using SkinUI::CControlUI;

namespace {

// What the close question saw when it was asked.
struct CloseQuestion {
    int asked = 0;
    HWND owner = nullptr;
    bool maskWasLastChild = false;
    bool maskCoveredRoot = false;
    bool ownerEnabled = false;
};

class InstallPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareFramework()) << "skin.zip missing: " << KP_SKIN_ZIP;
        InstallSettings& settings = GetInstallSettings();
        savedDir = settings.installDir;
        settings.desktopShortcut = true;
        settings.addToTaskbar = true;
    }
    void TearDown() override
    {
        InstallSettings& settings = GetInstallSettings();
        settings.installDir = savedDir;
        settings.desktopShortcut = true;
        settings.addToTaskbar = true;
    }

    // Services that answer the close question with `answer` and record what the window `watched`
    // looked like meanwhile; addresses and programs are recorded instead of opened.
    MainFrameServices Recording(int answer)
    {
        MainFrameServices services = RealMainFrameServices();
        services.pages.askClose = [this, answer](HWND owner) {
            ++question.asked;
            question.owner = owner;
            auto* root = dynamic_cast<SkinUI::CContainerUI*>(watched->PM().GetRoot());
            if (root && root->GetCount() > 0) {
                CControlUI* last = root->GetItemAt(root->GetCount() - 1);
                question.maskWasLastChild = last->GetBkColor() == kDimmingMaskColor && last->IsFloat() &&
                                            last->GetFloatPercent().right == 1.0 &&
                                            last->GetFloatPercent().bottom == 1.0;
                Pump(60);  // the dimmed frame is laid out and painted
                const SkinUI::UIRect mask = last->GetPos();
                const SkinUI::UIRect all = root->GetPos();
                question.maskCoveredRoot = mask.left == all.left && mask.top == all.top && mask.right == all.right &&
                                           mask.bottom == all.bottom && all.right > all.left;
            }
            question.ownerEnabled = IsWindowEnabled(owner) != FALSE;
            return answer;
        };
        services.pages.openAddress = [this](const std::wstring& address) { opened.push_back(address); };
        services.pages.startProgram = [this](const std::wstring& path) {
            started.push_back(path);
            visibleWhenStarted = IsWindowVisible(watched->Hwnd()) != FALSE;
            entryWhenStarted = UninstallEntryExists();
        };
        return services;
    }

    static std::wstring UninstallKey() { return UninstallSubKey(IsWow64()); }

    static bool UninstallEntryExists()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    static std::wstring ReadUninstallValue(const wchar_t* name, DWORD* bytes = nullptr)
    {
        wchar_t data[1024] = {};
        DWORD size = sizeof(data);
        DWORD type = 0;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return L"<no key>";
        const LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS || type != REG_SZ) return L"<missing>";
        if (bytes) *bytes = size;
        return data;
    }

    static std::wstring StartMenuGroup()
    {
        wchar_t folder[MAX_PATH] = {};
        SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_PROGRAMS, FALSE);
        return std::wstring(folder) + L"\\凯普视频工坊";
    }

    static void RemoveFinishedInstall()
    {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallKey().c_str());
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(StartMenuGroup()), ignored);
    }

    // A scratch install folder with the two programs that the setup package would have put into
    // its application folder.
    static std::wstring MakeInstalledFolder(const wchar_t* name)
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        const std::wstring installDir = std::wstring(temp) + L"kp pages " + name;
        const std::wstring appFolder = installDir + L"\\KPCapture";
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(appFolder), ignored);
        for (const wchar_t* file : {L"\\KPApp.exe", L"\\KPUnInstall.exe"}) {
            HANDLE h = CreateFileW((appFolder + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
        return installDir;
    }

    std::wstring savedDir;
    OpenFrame* watched = nullptr;  // the window that Recording's services look at
    CloseQuestion question;
    std::vector<std::wstring> opened;
    std::vector<std::wstring> started;
    bool visibleWhenStarted = true;
    bool entryWhenStarted = false;
};

SkinUI::CButtonUI* Button(OpenFrame& frame, const wchar_t* name)
{
    return static_cast<SkinUI::CButtonUI*>(frame.Find(name));
}

SkinUI::COptionUI* Option(OpenFrame& frame, const wchar_t* name)
{
    return static_cast<SkinUI::COptionUI*>(frame.Find(name));
}

}  // namespace

// --- Welcome page -------------------------------------------------------------------------------

TEST_F(InstallPagesTest, AgreementBoxDisablesAndEnablesBothWaysOn)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    ASSERT_TRUE(Option(frame, L"protocalOpt")->IsSelected());
    EXPECT_TRUE(Button(frame, L"installBtn")->IsEnabled());
    EXPECT_TRUE(Button(frame, L"customBtn")->IsEnabled());

    ASSERT_TRUE(frame.Click(L"protocalOpt"));
    EXPECT_FALSE(Option(frame, L"protocalOpt")->IsSelected());
    EXPECT_FALSE(Button(frame, L"installBtn")->IsEnabled());
    EXPECT_FALSE(Button(frame, L"customBtn")->IsEnabled());
    // The link and the box itself stay usable.
    EXPECT_TRUE(Button(frame, L"kp_btn_protocal")->IsEnabled());
    EXPECT_TRUE(Option(frame, L"protocalOpt")->IsEnabled());

    // Disabled, neither button moves the wizard on.
    frame.Click(L"installBtn");
    frame.Click(L"customBtn");
    Pump(30);
    EXPECT_EQ(PAGE_WELCOME, frame.Frame().GetShownPage());

    ASSERT_TRUE(frame.Click(L"protocalOpt"));
    EXPECT_TRUE(Button(frame, L"installBtn")->IsEnabled());
    EXPECT_TRUE(Button(frame, L"customBtn")->IsEnabled());
    frame.Click(L"customBtn");
    EXPECT_EQ(PAGE_OPTIONS, frame.Frame().GetShownPage());
}

TEST_F(InstallPagesTest, InstallButtonsShowTheProgressPage)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    frame.Click(L"installBtn");
    EXPECT_EQ(PAGE_PROGRESS, frame.Frame().GetShownPage());

    OpenFrame second;
    ASSERT_TRUE(second.Created());
    second.Click(L"customBtn");
    second.Click(L"installBtn1");
    EXPECT_EQ(PAGE_PROGRESS, second.Frame().GetShownPage());
}

TEST_F(InstallPagesTest, AgreementLinkOpensTheVendorsAgreementPage)
{
    OpenFrame frame(Recording(2));
    watched = &frame;
    ASSERT_TRUE(frame.Created());
    frame.Click(L"kp_btn_protocal");
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(L"https://" KP_VENDOR_HOST L"/agreement.html", opened[0]);
    EXPECT_EQ(opened[0], AgreementAddress());
    // Scheme, host and port are those of the package: one server, over TLS, for both.
    const std::wstring package = PackageUrl();
    EXPECT_EQ(package.substr(0, package.find(L'/', std::wstring(L"https://").size())) + L"/agreement.html", opened[0]);
    EXPECT_EQ(PAGE_WELCOME, frame.Frame().GetShownPage());
}

// --- Options page -------------------------------------------------------------------------------

TEST_F(InstallPagesTest, OptionsPageShowsTheSettingsAndBackAndForthKeepsTheChoice)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    InstallSettings& settings = GetInstallSettings();
    EXPECT_EQ(settings.installDir, static_cast<SkinUI::CLabelUI*>(frame.Find(L"pathLab"))->GetText());
    EXPECT_TRUE(Option(frame, L"desktopShortCutOpt")->IsSelected());
    EXPECT_TRUE(Option(frame, L"addtaskbarOpt")->IsSelected());

    frame.Click(L"customBtn");
    ASSERT_EQ(PAGE_OPTIONS, frame.Frame().GetShownPage());
    // Clearing the desktop box clears the setting the package is told (" -dsc=false").
    ASSERT_TRUE(frame.Click(L"desktopShortCutOpt"));
    EXPECT_FALSE(Option(frame, L"desktopShortCutOpt")->IsSelected());
    EXPECT_FALSE(settings.desktopShortcut);

    frame.Click(L"gobackbtn");
    EXPECT_EQ(PAGE_WELCOME, frame.Frame().GetShownPage());
    frame.Click(L"customBtn");
    EXPECT_EQ(PAGE_OPTIONS, frame.Frame().GetShownPage());
    EXPECT_FALSE(Option(frame, L"desktopShortCutOpt")->IsSelected());
    EXPECT_FALSE(settings.desktopShortcut);

    ASSERT_TRUE(frame.Click(L"desktopShortCutOpt"));
    EXPECT_TRUE(settings.desktopShortcut);

    // The hidden taskbar box cannot be clicked; changed by code it updates its setting too.
    Option(frame, L"addtaskbarOpt")->Selected(false);
    EXPECT_FALSE(settings.addToTaskbar);
    Option(frame, L"addtaskbarOpt")->Selected(true);
    EXPECT_TRUE(settings.addToTaskbar);
    // Captions are separate labels: clicking one toggles nothing.
    frame.Click(L"vd_desktop_short_cut");
    EXPECT_TRUE(settings.desktopShortcut);
}

TEST_F(InstallPagesTest, OptionsPageStartsFromSettingsChangedBefore)
{
    InstallSettings& settings = GetInstallSettings();
    settings.desktopShortcut = false;
    settings.addToTaskbar = false;
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    EXPECT_FALSE(Option(frame, L"desktopShortCutOpt")->IsSelected());
    EXPECT_FALSE(Option(frame, L"addtaskbarOpt")->IsSelected());
    EXPECT_FALSE(settings.desktopShortcut);
}

TEST_F(InstallPagesTest, ChangingTheFolderAppendsKPCaptureToWhatWasPicked)
{
    std::vector<std::wstring> offered;
    std::vector<HWND> owners;
    std::wstring answer;
    MainFrameServices services = RealMainFrameServices();
    services.pages.chooseFolder = [&](const std::wstring& current, HWND owner) {
        offered.push_back(current);
        owners.push_back(owner);
        return answer;
    };
    OpenFrame frame(std::move(services));
    ASSERT_TRUE(frame.Created());
    frame.Click(L"customBtn");
    InstallSettings& settings = GetInstallSettings();
    auto* pathLab = static_cast<SkinUI::CLabelUI*>(frame.Find(L"pathLab"));

    // A drive root keeps its own backslash: two after the colon.
    answer = L"D:\\";
    frame.Click(L"modifyBtn");
    ASSERT_EQ(1u, offered.size());
    EXPECT_EQ(savedDir, offered[0]) << "the picker opens on the current folder";
    EXPECT_EQ(frame.Hwnd(), owners[0]);
    EXPECT_EQ(L"D:\\\\KPCapture", settings.installDir);
    EXPECT_EQ(settings.installDir, pathLab->GetText());

    // Cancelled: nothing changes.
    answer = L"";
    frame.Click(L"modifyBtn");
    EXPECT_EQ(L"D:\\\\KPCapture", settings.installDir);
    EXPECT_EQ(settings.installDir, pathLab->GetText());

    // Confirming the folder it opened on appends the product folder again.
    answer = L"C:\\Program Files (x86)\\KPCapture";
    frame.Click(L"modifyBtn");
    EXPECT_EQ(L"C:\\Program Files (x86)\\KPCapture\\KPCapture", settings.installDir);
    // Taken as it is: forward slashes and odd characters are not looked at.
    answer = L"E:/a b/中文";
    frame.Click(L"modifyBtn");
    EXPECT_EQ(L"E:/a b/中文\\KPCapture", settings.installDir);
    EXPECT_EQ(settings.installDir, pathLab->GetText());
    EXPECT_EQ(L"C:\\Program Files (x86)\\KPCapture\\KPCapture", offered.back());

    // Back and forth keeps the folder.
    frame.Click(L"gobackbtn");
    frame.Click(L"customBtn");
    EXPECT_EQ(L"E:/a b/中文\\KPCapture", pathLab->GetText());
}

// --- Progress page ------------------------------------------------------------------------------

TEST_F(InstallPagesTest, SetProgressShowsWholePercentInLineAndBar)
{
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    auto* line = static_cast<SkinUI::CLabelUI*>(frame.Find(L"installproglab"));
    auto* bar = static_cast<SkinUI::CProgressUI*>(frame.Find(L"installPrg"));
    // Before the first value the bar is empty and the line keeps the layout's text.
    EXPECT_EQ(0, bar->GetValue());
    EXPECT_EQ(L"正在安装，请不要关闭 0%", line->GetText());

    CKPInstallPage2& page = frame.Frame().GetProgressPage();
    const struct {
        double value;
        const wchar_t* text;
        int bar;
    } cases[] = {
        {37.0, L"正在安装，请不要关闭 37%", 37},  {0.0, L"正在安装，请不要关闭 0%", 0},
        {99.99, L"正在安装，请不要关闭 99%", 99}, {100.0, L"正在安装，请不要关闭 100%", 100},
        {70.9, L"正在安装，请不要关闭 70%", 70},
    };
    for (const auto& c : cases) {
        page.SetProgress(c.value);
        EXPECT_EQ(c.text, line->GetText()) << c.value;
        EXPECT_EQ(c.bar, bar->GetValue()) << c.value;
    }
    // Outside the bar's range the line still shows the number; the bar keeps its value.
    page.SetProgress(150.0);
    EXPECT_EQ(L"正在安装，请不要关闭 150%", line->GetText());
    EXPECT_EQ(70, bar->GetValue());
    page.SetProgress(-5.0);
    EXPECT_EQ(L"正在安装，请不要关闭 -5%", line->GetText());
    EXPECT_EQ(70, bar->GetValue());
    page.SetProgress(1e12);
    EXPECT_EQ(L"正在安装，请不要关闭 2147483647%", line->GetText());
}

// --- Close question and minimise ----------------------------------------------------------------

TEST_F(InstallPagesTest, CloseQuestionAnsweredOtherThanOkKeepsTheWindowAndRemovesTheDimming)
{
    for (int answer : {2, 0}) {
        OpenFrame frame(Recording(answer));
        watched = &frame;
        ASSERT_TRUE(frame.Created());
        auto* root = dynamic_cast<SkinUI::CContainerUI*>(frame.PM().GetRoot());
        ASSERT_NE(nullptr, root);
        const int children = root->GetCount();
        question = CloseQuestion();

        frame.Click(L"closebtn");
        EXPECT_EQ(1, question.asked);
        EXPECT_EQ(frame.Hwnd(), question.owner);
        EXPECT_TRUE(question.maskWasLastChild) << "the window is dimmed while the question is open";
        EXPECT_TRUE(question.maskCoveredRoot);
        Pump(100);
        EXPECT_TRUE(frame.IsOpen()) << "answer " << answer;
        EXPECT_EQ(children, root->GetCount()) << "the dimming is removed";
        EXPECT_EQ(PAGE_WELCOME, frame.Frame().GetShownPage());
    }
}

TEST_F(InstallPagesTest, CloseQuestionAnsweredOkClosesFromEveryPage)
{
    const struct {
        int page;
        const wchar_t* close;
    } pages[] = {{0, L"closebtn"}, {1, L"closebtn1"}, {2, L"closebtn2"}};
    for (const auto& p : pages) {
        OpenFrame frame(Recording(1));
        watched = &frame;
        ASSERT_TRUE(frame.Created());
        question = CloseQuestion();
        frame.Frame().ShowPage(p.page);
        frame.Click(p.close);
        EXPECT_EQ(1, question.asked) << p.page;
        EXPECT_TRUE(question.maskWasLastChild) << p.page;
        EXPECT_TRUE(frame.WaitClosed()) << p.page;
        EXPECT_TRUE(frame.Deleted()) << p.page;
    }
}

// "End task", another process or the system: a WM_CLOSE reaches the main window while its close
// question runs. The page that asked is still on the stack, so the window must outlive the
// question: the box goes first, answered as by its close button, and the window closes after.
namespace {

HWND g_closedFromOutside = nullptr;

void CALLBACK PostCloseToMainWindow(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!::FindWindowW(L"kpmsgbox", nullptr)) return;  // the question is not up yet
    ::KillTimer(nullptr, id);
    ::PostMessageW(g_closedFromOutside, WM_CLOSE, 0, 0);
}

}  // namespace

TEST_F(InstallPagesTest, CloseFromOutsideWhileAQuestionIsOpenClosesTheQuestionFirst)
{
    const struct {
        int page;
        const wchar_t* close;
    } pages[] = {{0, L"closebtn"}, {1, L"closebtn1"}, {2, L"closebtn2"}, {3, L"closebtn3"}};
    for (const auto& p : pages) {
        static int answer = -1;
        static bool windowLivedThroughTheAnswer = false;
        MainFrameServices services = RealMainFrameServices();
        services.pages.askClose = [](HWND owner) {
            g_closedFromOutside = owner;
            ::SetTimer(nullptr, 0, 30, &PostCloseToMainWindow);
            answer = ShowMessageBox(owner, L"凯普视频工坊", L"确定关闭？", L"关闭后将中断安装流程", L"确定", L"取消",
                                    nullptr, kInstallerWindowStyle, kInstallerWindowExStyle, true);
            windowLivedThroughTheAnswer = ::IsWindow(owner) != FALSE;
            return answer;
        };
        OpenFrame frame(std::move(services));
        ASSERT_TRUE(frame.Created());
        frame.Frame().ShowPage(p.page);
        answer = -1;
        windowLivedThroughTheAnswer = false;
        frame.Click(p.close);
        EXPECT_EQ(CKPMsgBox::kClosed, answer) << p.page;
        EXPECT_TRUE(windowLivedThroughTheAnswer) << p.page;
        EXPECT_TRUE(frame.WaitClosed()) << p.page;
        EXPECT_TRUE(frame.Deleted()) << p.page;
    }
}

TEST_F(InstallPagesTest, MinimiseButtonsOfEveryPageMinimiseTheWindow)
{
    const wchar_t* buttons[] = {L"minbtn", L"minbtn1", L"minbtn2", L"minbtn3"};
    for (int page = 0; page < 4; ++page) {
        OpenFrame frame;
        ASSERT_TRUE(frame.Created());
        frame.Frame().ShowPage(page);
        Pump(30);
        frame.Click(buttons[page]);
        EXPECT_TRUE(IsIconic(frame.Hwnd())) << buttons[page];
        EXPECT_TRUE(frame.IsOpen());
    }
}

// --- Completion page ----------------------------------------------------------------------------

TEST_F(InstallPagesTest, CompletionCloseButtonWithoutOkNeitherFinishesNorCloses)
{
    GetInstallSettings().installDir = MakeInstalledFolder(L"keep");
    for (int answer : {2, 0}) {
        RemoveFinishedInstall();
        OpenFrame frame(Recording(answer));
        watched = &frame;
        ASSERT_TRUE(frame.Created());
        question = CloseQuestion();
        frame.Frame().ShowPage(PAGE_COMPLETE);
        frame.Click(L"closebtn3");
        EXPECT_EQ(1, question.asked);
        EXPECT_TRUE(question.maskWasLastChild);
        Pump(100);
        EXPECT_TRUE(frame.IsOpen()) << "answer " << answer;
        EXPECT_FALSE(UninstallEntryExists()) << "answer " << answer;
        EXPECT_TRUE(started.empty());
    }
}

TEST_F(InstallPagesTest, CompletionCloseButtonWithOkFinishesThenCloses)
{
    const std::wstring installDir = MakeInstalledFolder(L"close ok");
    GetInstallSettings().installDir = installDir;
    RemoveFinishedInstall();
    OpenFrame frame(Recording(1));
    watched = &frame;
    ASSERT_TRUE(frame.Created());
    frame.Frame().ShowPage(PAGE_COMPLETE);
    frame.Click(L"closebtn3");
    EXPECT_EQ(1, question.asked);
    // FinishInstall ran before the close was even posted.
    EXPECT_TRUE(UninstallEntryExists());
    EXPECT_EQ(installDir + L"\\KPCapture", ReadUninstallValue(L"InstallLocation"));
    EXPECT_TRUE(frame.WaitClosed());
    EXPECT_TRUE(started.empty()) << "closing starts no application";
}

TEST_F(InstallPagesTest, TryItNowFinishesHidesClosesAndStartsTheApplication)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    const std::wstring installDir = MakeInstalledFolder(L"try it");
    GetInstallSettings().installDir = installDir;
    const std::wstring appFolder = installDir + L"\\KPCapture";
    RemoveFinishedInstall();

    OpenFrame frame(Recording(1));
    watched = &frame;
    ASSERT_TRUE(frame.Created());
    frame.Frame().ShowPage(PAGE_COMPLETE);
    frame.Click(L"completeBtn");

    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(appFolder + L"\\KPApp.exe", started[0]);
    EXPECT_FALSE(visibleWhenStarted) << "the window is hidden before the application starts";
    EXPECT_TRUE(entryWhenStarted) << "the entry is registered before the application starts";
    EXPECT_EQ(0, question.asked);
    EXPECT_TRUE(frame.WaitClosed());

    // The uninstall entry, each value with its exact size (characters and terminator, UTF-16).
    const struct {
        const wchar_t* name;
        std::wstring data;
    } values[] = {
        {L"DisplayName", L"凯普视频工坊"},
        {L"DisplayIcon", appFolder + L"\\KPApp.exe"},
        {L"UninstallString", L"\"" + appFolder + L"\\KPUnInstall.exe\""},
        {L"InstallLocation", appFolder},
        {L"DisplayVersion", L"12.0.0.0"},
        {L"Publisher", L"凯普信息科技有限公司"},
    };
    for (const auto& v : values) {
        DWORD bytes = 0;
        EXPECT_EQ(v.data, ReadUninstallValue(v.name, &bytes));
        EXPECT_EQ((v.data.size() + 1) * sizeof(wchar_t), bytes);
    }

    // The Start-menu group with both shortcuts, resolved back through the shell.
    const std::wstring description = L"位置: 凯普视频工坊(" + appFolder + L")";
    const ResolvedLink app = ResolveLink(StartMenuGroup() + L"\\凯普视频工坊.lnk");
    ASSERT_TRUE(app.loaded);
    EXPECT_EQ(appFolder + L"\\KPApp.exe", app.target);
    EXPECT_EQ(appFolder, app.workingDir);
    EXPECT_EQ(description, app.description);
    const ResolvedLink uninstall = ResolveLink(StartMenuGroup() + L"\\卸载凯普视频工坊.lnk");
    ASSERT_TRUE(uninstall.loaded);
    EXPECT_EQ(appFolder + L"\\KPUnInstall.exe", uninstall.target);
    EXPECT_EQ(appFolder, uninstall.workingDir);
    EXPECT_EQ(description, uninstall.description);
    CoUninitialize();
}

TEST_F(InstallPagesTest, DefaultFolderGivesKPCaptureTwiceEverywhere)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    // Program Files + "\KPCapture" as the install folder, KPCapture again for the application.
    const std::wstring appFolder = GetDefaultInstallDir() + L"\\KPCapture";
    ASSERT_EQ(GetDefaultInstallDir(), savedDir) << "the options were left at their default";
    RemoveFinishedInstall();
    OpenFrame frame(Recording(1));
    watched = &frame;
    ASSERT_TRUE(frame.Created());
    frame.Frame().ShowPage(PAGE_COMPLETE);
    frame.Click(L"completeBtn");
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(appFolder + L"\\KPApp.exe", started[0]);
    EXPECT_EQ(appFolder, ReadUninstallValue(L"InstallLocation"));
    EXPECT_EQ(L"\"" + appFolder + L"\\KPUnInstall.exe\"", ReadUninstallValue(L"UninstallString"));
    const ResolvedLink app = ResolveLink(StartMenuGroup() + L"\\凯普视频工坊.lnk");
    EXPECT_TRUE(app.loaded);
    EXPECT_EQ(L"位置: 凯普视频工坊(" + appFolder + L")", app.description);
    EXPECT_TRUE(frame.WaitClosed());
    CoUninitialize();
}

TEST_F(InstallPagesTest, FinishInstallTwiceRewritesTheSameEntryAndShortcuts)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    GetInstallSettings().installDir = MakeInstalledFolder(L"twice");
    RemoveFinishedInstall();
    OpenFrame frame;
    ASSERT_TRUE(frame.Created());
    frame.Frame().GetCompletionPage().FinishInstall();
    const std::wstring first = ReadUninstallValue(L"UninstallString");
    frame.Frame().GetCompletionPage().FinishInstall();
    EXPECT_EQ(first, ReadUninstallValue(L"UninstallString"));
    EXPECT_TRUE(ResolveLink(StartMenuGroup() + L"\\凯普视频工坊.lnk").loaded);
    // A folder chosen later is what a later run registers.
    GetInstallSettings().installDir = MakeInstalledFolder(L"moved");
    frame.Frame().GetCompletionPage().FinishInstall();
    EXPECT_NE(first, ReadUninstallValue(L"UninstallString"));
    EXPECT_NE(std::wstring::npos, ReadUninstallValue(L"UninstallString").find(L"kp pages moved\\KPCapture\\"));
    CoUninitialize();
}

// A registration that fails (measured: Wine grants every write to an administrator whatever the
// key's access list says, so the failure comes through the page's services): the user is told in
// a message box, the page no longer says "安装完成", and the application, which is installed,
// still starts.
TEST_F(InstallPagesTest, ARegistrationThatFailsIsToldAndTheHeadingSaysSo)
{
    const std::wstring installDir = MakeInstalledFolder(L"refused");
    GetInstallSettings().installDir = installDir;
    RemoveFinishedInstall();
    std::vector<std::wstring> registered;
    std::vector<std::wstring> told;
    std::wstring headingWhenTold;
    MainFrameServices services = Recording(1);
    services.pages.registerProduct = [&](const std::wstring& appFolder) {
        registered.push_back(appFolder);
        RegistrationResult failed;
        failed.uninstallEntry = ERROR_ACCESS_DENIED;
        return failed;
    };
    services.pages.tell = [&](HWND, const std::wstring& title, const std::wstring& message) {
        told.push_back(title + L"|" + message);
        headingWhenTold = watched->Find(L"completeTitle")->GetText();
    };
    OpenFrame frame(std::move(services));
    watched = &frame;
    ASSERT_TRUE(frame.Created());
    frame.Frame().ShowPage(PAGE_COMPLETE);
    EXPECT_EQ(L"安装完成", frame.Find(L"completeTitle")->GetText());
    frame.Click(L"completeBtn");

    EXPECT_EQ(std::vector<std::wstring>{installDir + L"\\KPCapture"}, registered);
    ASSERT_EQ(1u, told.size()) << "the failure was not told";
    EXPECT_EQ(std::wstring(kRegistrationFailedTitle) + L"|" + kRegistrationFailedMessage, told[0]);
    EXPECT_EQ(kRegistrationFailedTitle, headingWhenTold);
    ASSERT_EQ(1u, started.size()) << "the installed application still starts";
    EXPECT_TRUE(frame.WaitClosed());
}

// A folder that would break the package's command line, that no Windows path can hold, that is a
// file, or that leaves no room for "\\KPCapture\\KPApp.exe" in 260 characters: refused with a
// message box saying why, and the folder chosen before stays, in the settings and on the page.
TEST_F(InstallPagesTest, AFolderThatCannotWorkIsRefusedAndThePreviousOneKept)
{
    const std::wstring file = MakeInstalledFolder(L"refusal") + L"\\KPCapture\\KPApp.exe";
    std::wstring answer;
    std::vector<std::pair<std::wstring, std::wstring>> told;
    MainFrameServices services = RealMainFrameServices();
    services.pages.chooseFolder = [&](const std::wstring&, HWND) { return answer; };
    services.pages.tell = [&](HWND, const std::wstring& title, const std::wstring& message) {
        told.emplace_back(title, message);
    };
    OpenFrame frame(std::move(services));
    ASSERT_TRUE(frame.Created());
    frame.Click(L"customBtn");
    InstallSettings& settings = GetInstallSettings();
    auto* pathLab = static_cast<SkinUI::CLabelUI*>(frame.Find(L"pathLab"));
    answer = L"D:\\Tools";
    frame.Click(L"modifyBtn");
    ASSERT_EQ(L"D:\\Tools\\KPCapture", settings.installDir);
    ASSERT_TRUE(told.empty());

    const struct {
        std::wstring picked;
        FolderRefusal why;
    } refused[] = {
        {L"D:\\x -dsc=false", FolderRefusal::BreaksCommandLine},
        {L"D:\\say \"hi\"", FolderRefusal::BreaksCommandLine},
        {L"D:\\a|b", FolderRefusal::BadCharacter},
        {L"D:\\a\\b:c", FolderRefusal::BadCharacter},
        {file, FolderRefusal::IsFile},
        {L"D:\\" + std::wstring(kMaxInstallFolderLength - 12, L'n'), FolderRefusal::TooLong},
    };
    for (const auto& r : refused) {
        answer = r.picked;
        told.clear();
        frame.Click(L"modifyBtn");
        ASSERT_EQ(1u, told.size()) << "not refused: " << r.picked.size();
        EXPECT_EQ(kFolderRefusedTitle, told[0].first);
        EXPECT_EQ(FolderRefusalText(r.why), told[0].second);
        EXPECT_EQ(L"D:\\Tools\\KPCapture", settings.installDir);
        EXPECT_EQ(L"D:\\Tools\\KPCapture", pathLab->GetText());
    }
    // The longest folder that still fits is taken.
    answer = L"D:\\" + std::wstring(kMaxInstallFolderLength - 13, L'n');
    told.clear();
    frame.Click(L"modifyBtn");
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(kMaxInstallFolderLength, settings.installDir.size());
}
