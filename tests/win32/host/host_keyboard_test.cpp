// The panel host used with the keyboard alone: Tab and Shift+Tab move the
// focus from calendar to calendar, the keys reach the focused one, and the
// status line names its shown month as a screen reader reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/win32/support/host_process.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_files.h"
#include "tests/win32/support/time_scale.h"
#include "tool/tool_state.h"

namespace {

// A month as the calendar titles it: the locale's name of the month alone
// and the formatter's year, in the host's code page as its status line is read.
std::string Title(WORD year, WORD month)
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = 1;
    wchar_t name[64] = L"";
    wchar_t yyyy[16] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + month - 1u, name, 64);
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &date, L"yyyy", yyyy, 16);
    const std::wstring title = std::wstring(name) + L" " + yyyy;
    char text[128] = "";
    WideCharToMultiByte(CP_ACP, 0, title.c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// Shares the host's input state, so that this thread sees its focus and
// its keys come with the modifiers held here.
class SharedInput {
public:
    explicit SharedInput(HWND hostWindow)
        : host_(GetWindowThreadProcessId(hostWindow, nullptr))
    {
        attached_ = AttachThreadInput(GetCurrentThreadId(), host_, TRUE) != FALSE;
    }
    ~SharedInput()
    {
        if (attached_)
            AttachThreadInput(GetCurrentThreadId(), host_, FALSE);
    }
    bool attached() const { return attached_; }

    // A key typed into the focused window, with Shift held or not.
    void Type(UINT key, bool shift = false) const
    {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageA(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        Sleep(50);
        state[VK_SHIFT] = 0;
        SetKeyboardState(state);
    }

private:
    DWORD host_;
    bool attached_ = false;
};


TEST(HostKeyboard, TabMovesTheFocusAmongTheCalendarsAndTheStatusNamesTheFocusedMonth)
{
    TempFolder folder;
    HostProcess host({"--settings", folder.Path("panel.settings"), g_pluginDll});
    ASSERT_TRUE(host.WaitForTools(2));
    const std::vector<HWND> tools = host.Tools();
    ASSERT_EQ(tools.size(), 2u);
    SharedInput input(host.panel());
    ASSERT_TRUE(input.attached());

    // The panel passes its focus on to a calendar.
    SetFocus(host.panel());
    EXPECT_TRUE(CalWaitFor([&] { return GetFocus() == tools[0]; })) << "the first calendar takes the focus";

    SYSTEMTIME today;
    GetLocalTime(&today);
    const std::string now = Title(today.wYear, today.wMonth);
    input.Type(VK_TAB);
    EXPECT_TRUE(CalWaitFor([&] { return GetFocus() == tools[1]; }));
    EXPECT_TRUE(CalWaitFor([&] { return host.StatusText() == " Calendar 2 of 2 has the focus: " + now + "."; }))
        << host.StatusText();
    input.Type(VK_TAB);
    EXPECT_TRUE(CalWaitFor([&] { return GetFocus() == tools[0]; })) << "Tab wraps round";
    input.Type(VK_TAB, true);
    EXPECT_TRUE(CalWaitFor([&] { return GetFocus() == tools[1]; })) << "Shift+Tab goes back";

    // A key for the focused calendar steps it (Page Down: its selected day a
    // month on), and the status line follows.
    input.Type(VK_NEXT);
    const WORD nextMonth = static_cast<WORD>(today.wMonth % 12 + 1);
    const WORD nextYear = static_cast<WORD>(today.wYear + (today.wMonth == 12 ? 1 : 0));
    EXPECT_TRUE(CalWaitFor([&] {
        SYSTEMTIME shown;
        const std::vector<BYTE> bytes =
            host.ReadRecord(tools[1], offsetof(CalToolState, shown), sizeof shown);
        std::memcpy(&shown, bytes.data(), sizeof shown);
        return shown.wMonth == nextMonth && shown.wYear == nextYear;
    }));
    const std::string next = Title(nextYear, nextMonth);
    EXPECT_TRUE(CalWaitFor([&] { return host.StatusText() == " Calendar 2 of 2 has the focus: " + next + "."; }))
        << host.StatusText();
    const std::vector<BYTE> other =
        host.ReadRecord(tools[0], offsetof(CalToolState, shown), sizeof(SYSTEMTIME));
    SYSTEMTIME first;
    std::memcpy(&first, other.data(), sizeof first);
    EXPECT_EQ(first.wMonth, today.wMonth) << "the other calendar stays";

    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
}

TEST(HostKeyboard, TheHostForwardsTheSystemsBroadcastsToItsTools)
{
    TempFolder folder;
    HostProcess host({"--settings", folder.Path("panel.settings"), g_pluginDll});
    ASSERT_TRUE(host.WaitForTools(2));
    const std::vector<HWND> tools = host.Tools();
    SYSTEMTIME today;
    GetLocalTime(&today);
    auto shown = [&] {
        SYSTEMTIME s;
        const std::vector<BYTE> bytes = host.ReadRecord(tools[0], offsetof(CalToolState, shown), sizeof s);
        std::memcpy(&s, bytes.data(), sizeof s);
        return s;
    };

    // A calendar browsing two months ahead, whose record last saw another
    // day: the panel hears that the clock was set, and the calendar is back
    // on the new today at once, without waiting for its day check.
    PostMessageA(tools[0], WM_KEYDOWN, VK_NEXT, 1);
    PostMessageA(tools[0], WM_KEYDOWN, VK_NEXT, 1);
    ASSERT_TRUE(CalWaitFor([&] { return (shown().wMonth + 12 - today.wMonth) % 12 == 2; }));
    const WORD otherDay = static_cast<WORD>(today.wDay % 28 + 1);
    ASSERT_TRUE(host.WriteRecord(
        tools[0], offsetof(CalToolState, shown) + offsetof(SYSTEMTIME, wDay), &otherDay, sizeof otherDay));
    SendMessageA(host.panel(), WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(shown().wMonth, today.wMonth) << "forwarded: back to today";
    EXPECT_EQ(shown().wDay, today.wDay);

    // Colours and locale: forwarded, and the host is still well.
    SendMessageA(host.panel(), WM_SYSCOLORCHANGE, 0, 0);
    SendMessageA(host.panel(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(nullptr));
    EXPECT_EQ(host.Tools().size(), 2u);

    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc >= 3) {
        g_hostExe = CalTestWindowsPath(argv[argc - 2]);
        g_pluginDll = CalTestWindowsPath(argv[argc - 1]);
    }
    return RUN_ALL_TESTS();
}
