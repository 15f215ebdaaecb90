#include <gtest/gtest.h>

#include "ui/core/NotifyPump.h"

using namespace SkinUI;

namespace {

class Recorder : public CNotifyPump {
public:
    explicit Recorder(std::vector<std::string>* log, const std::string& tag) : m_log(log), m_tag(tag)
    {
        MapNotify(L"click", [this](TNotifyUI&) { m_log->push_back(m_tag + ":click"); });
        MapNotify(L"click", [this](TNotifyUI&) { m_log->push_back(m_tag + ":second"); });
        MapNotifyParams(L"timer", [this](std::uintptr_t id, std::intptr_t) {
            m_log->push_back(m_tag + ":timer" + std::to_string(id));
        });
    }

private:
    std::vector<std::string>* m_log;
    std::string m_tag;
};

class SelectOnly : public CNotifyPump {
public:
    explicit SelectOnly(std::vector<std::string>* log)
    {
        MapNotify(L"selectchanged", [log](TNotifyUI&) { log->push_back("page:select"); });
    }
};

TNotifyUI Msg(const wchar_t* type, const wchar_t* virtualWnd, std::uintptr_t wParam = 0)
{
    TNotifyUI msg;
    msg.sType = type;
    msg.sVirtualWnd = virtualWnd;
    msg.wParam = wParam;
    return msg;
}

}  // namespace

TEST(CNotifyPump, APageHandlesItsOwnSubtreeByCaseInsensitiveName)
{
    std::vector<std::string> log;
    Recorder window(&log, "window");
    Recorder page(&log, "page");
    ASSERT_TRUE(window.AddVirtualWnd(L"install0", &page));
    auto msg = Msg(L"click", L"INSTALL0");
    window.NotifyPump(msg);
    EXPECT_EQ(log, (std::vector<std::string>{"page:click"}));  // first matching entry only
}

TEST(CNotifyPump, UnhandledOrUnregisteredGoesToTheWindowsOwnMap)
{
    std::vector<std::string> log;
    Recorder window(&log, "window");
    SelectOnly page(&log);
    window.AddVirtualWnd(L"install1", &page);
    auto click = Msg(L"click", L"install1");
    window.NotifyPump(click);  // the page has no "click" entry
    auto other = Msg(L"click", L"install9");
    window.NotifyPump(other);  // no such page
    auto select = Msg(L"selectchanged", L"install1");
    window.NotifyPump(select);
    auto none = Msg(L"windowinit", L"");
    window.NotifyPump(none);  // nobody maps it
    EXPECT_EQ(log, (std::vector<std::string>{"window:click", "window:click", "page:select"}));
}

TEST(CNotifyPump, ParameterHandlersReceiveWParam)
{
    std::vector<std::string> log;
    Recorder window(&log, "window");
    auto timer = Msg(L"timer", L"", 268);
    window.NotifyPump(timer);
    EXPECT_EQ(log, (std::vector<std::string>{"window:timer268"}));
}

TEST(CNotifyPump, NamesAreUniqueAndRemovable)
{
    std::vector<std::string> log;
    Recorder window(&log, "window");
    Recorder a(&log, "a");
    Recorder b(&log, "b");
    EXPECT_TRUE(window.AddVirtualWnd(L"install2", &a));
    EXPECT_FALSE(window.AddVirtualWnd(L"INSTALL2", &b));
    EXPECT_FALSE(window.AddVirtualWnd(L"x", nullptr));
    EXPECT_EQ(window.FindVirtualWnd(L"Install2"), &a);
    EXPECT_TRUE(window.RemoveVirtualWnd(L"INSTALL2"));
    EXPECT_FALSE(window.RemoveVirtualWnd(L"install2"));
    auto msg = Msg(L"click", L"install2");
    window.NotifyPump(msg);
    EXPECT_EQ(log, (std::vector<std::string>{"window:click"}));
}
