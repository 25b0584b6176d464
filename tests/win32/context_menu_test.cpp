// The context menu of a calendar tool, driven as a user drives it: opened
// with a right click, read while it is open, items chosen with the keyboard,
// and the font chooser and the About box it leads to answered from inside
// their modal loops. What the host hears, when, and what the record holds
// at that moment are checked through the host's own requests.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/win32/support/import_hooks.h"
#include "tests/win32/support/modal_driver.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tool/tool_state.h"

namespace {

bool SameFont(const LOGFONTA& a, const LOGFONTA& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The locale's name of weekday i (0 = Sunday), from a week known to start on
// a Sunday: 1 January 2023.
std::string LocaleWeekday(int i)
{
    SYSTEMTIME date{};
    date.wYear = 2023;
    date.wMonth = 1;
    date.wDay = static_cast<WORD>(1 + i);
    char name[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, "dddd", name, sizeof name);
    return name;
}

struct Item {
    std::string text;
    UINT id;
    UINT type;
    UINT state;
    bool marked() const { return (state & MFS_CHECKED) != 0; }
};

std::vector<Item> Items(HMENU menu)
{
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({CalTestMenuText(menu, i), info.wID, info.fType, info.fState});
    }
    return items;
}

struct OpenMenu {
    HMENU menu = nullptr;
    HMENU weekdays = nullptr;
    std::vector<Item> items;
    std::vector<Item> days;
    RECT popup{};
};

// Keys for the popup window that is open; the menu loop reads them in order.
bool Press(std::vector<WPARAM> keys)
{
    HWND popup = CalTestFindWindow("#32768");
    if (popup == nullptr)
        return false;
    for (WPARAM key : keys)
        PostMessageA(popup, WM_KEYDOWN, key, 0);
    return true;
}

// Non-separator positions: 0 first day, 1 week numbers, 2 background, 3 font,
// 4 About, 5 properties. The first VK_DOWN selects position 0; VK_RIGHT opens
// the weekday submenu on its first day.
std::vector<WPARAM> KeysFor(int position, int weekday = -1)
{
    std::vector<WPARAM> keys(static_cast<size_t>(position + 1), VK_DOWN);
    if (weekday >= 0) {
        keys.push_back(VK_RIGHT);
        keys.insert(keys.end(), static_cast<size_t>(weekday), VK_DOWN);
    }
    keys.push_back(VK_RETURN);
    return keys;
}

// The chooser record the tool hands over, for a block whose record came from
// another process (all bytes 0xCD): the colour and the alignment word stay.
CHOOSEFONTA ExpectedChooser(HWND tool, INT pointSize)
{
    // The font is the live record's: the chooser works on it directly.
    return {60, tool, nullptr, &CalToolFromWindow(tool)->settings.font, pointSize, 0x41, 0xCDCDCDCD, 0,
        nullptr, nullptr, nullptr, nullptr, 0x2000, 0xCDCD, 0, 0};
}

// The offset of the first byte that differs, -1 when none does.
int Difference(const CHOOSEFONTA& a, const CHOOSEFONTA& b)
{
    const auto* x = reinterpret_cast<const BYTE*>(&a);
    const auto* y = reinterpret_cast<const BYTE*>(&b);
    for (int i = 0; i < static_cast<int>(sizeof a); ++i)
        if (x[i] != y[i])
            return i;
    return -1;
}

struct SeenByHost {
    WPARAM tool;
    LPARAM lParam;
    CalToolSettings settings;  // fetched with CTM_GETSETTINGS inside the notification
    LOGFONTA applied;
    bool updatePending;
};

class ContextMenu : public CalToolTest {
protected:
    void SetUp() override
    {
        CalToolTest::SetUp();
        parent_->onNotification = [this](const CalRecordedNotification& n) {
            if (n.message != CTN_SETTINGSCHANGED)
                return;
            HWND tool = reinterpret_cast<HWND>(n.wParam);
            CalToolSettings* block = nullptr;
            const LRESULT size = SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&block));
            ASSERT_EQ(size, 132);
            seen_.push_back(
                {n.wParam, n.lParam, *block, CalToolFromWindow(tool)->appliedFont, CalNeedsPaint(tool)});
        };
    }

    HWND Create(const CalToolSettings* settings = nullptr, int x = 0, int y = 0)
    {
        RECT r{x, y, x + 200, y + 160};
        HWND tool = CalTestPlugin().create(parent_->window, &r, settings, 0, 0);
        CalPumpMessages();
        parent_->notifications.clear();  // the marks of today's month, asked on creation
        return tool;
    }

    // Opens the menu with a right click at the client point, reads it and
    // closes it with Escape.
    OpenMenu Show(HWND tool, POINT at = {30, 20})
    {
        OpenMenu m;
        CalModalScript script;
        script.Then([&] {
            m.menu = CalTestOpenMenu();
            if (m.menu == nullptr)
                return false;
            m.items = Items(m.menu);
            m.weekdays = GetSubMenu(m.menu, 0);
            m.days = Items(m.weekdays);
            GetWindowRect(CalTestFindWindow("#32768"), &m.popup);
            return Press({VK_ESCAPE});
        });
        LRESULT result = -1;
        EXPECT_TRUE(
            script.Run([&] { result = SendMessageA(tool, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y)); }));
        EXPECT_EQ(result, 0);
        return m;
    }

    // Chooses an item with the keys, then runs the rest of the script inside
    // the command the menu posted. The tool is validated just before that
    // command is dispatched, so that an update region afterwards is its own.
    // Returns the update rectangle after the command, empty when none.
    RECT Choose(HWND tool, std::vector<WPARAM> keys, CalModalScript script = {})
    {
        script.steps.insert(script.steps.begin(), [keys] { return Press(keys); });
        RECT update{};
        EXPECT_TRUE(script.Run([&] {
            SendMessageA(tool, WM_RBUTTONUP, 0, MAKELPARAM(30, 20));
            MSG msg;
            EXPECT_TRUE(PeekMessageA(&msg, tool, WM_COMMAND, WM_COMMAND, PM_REMOVE)) << "no command posted";
            ValidateRect(tool, nullptr);
            DispatchMessageA(&msg);
            if (!GetUpdateRect(tool, &update, FALSE))
                SetRectEmpty(&update);
        }));
        return update;
    }

    static RECT Client(HWND tool)
    {
        RECT r;
        GetClientRect(tool, &r);
        return r;
    }

    std::vector<SeenByHost> seen_;
};

TEST_F(ContextMenu, ARightClickShowsTheOptionsAtThePointAndDestroysTheMenuAfterwards)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    const CalLedgerCounts before = CalLedgerSnapshot();
    const OpenMenu m = Show(tool, {30, 20});
    const CalLedgerCounts made = CalLedgerSnapshot() - before;
    EXPECT_EQ(made.menusMade, 2) << "the menu and its weekday submenu";
    EXPECT_EQ(made.menusDestroyed, 2) << "both destroyed once the menu closed";
    EXPECT_EQ(parent_->contextMenus, 0) << "the right click is not passed on";
    ASSERT_EQ(m.items.size(), 8u);
    const char* texts[] = {"First day of the week", "Week numbers", "User Halvex background",
        "Select Font...", "", "About Calendar...", "", "Properties..."};
    const UINT ids[] = {0, 119, 1055, 120, 0, 1058, 0, 117};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(m.items[i].text, texts[i]) << "item " << i;
        EXPECT_EQ((m.items[i].type & MFT_SEPARATOR) != 0, i == 4 || i == 6) << "item " << i;
        if (i != 0) {
            EXPECT_EQ(m.items[i].id, ids[i]) << "item " << i;
        }
        EXPECT_FALSE(m.items[i].marked()) << "item " << i;
    }
    ASSERT_NE(m.weekdays, nullptr);
    ASSERT_EQ(m.days.size(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(m.days[i].text, LocaleWeekday(static_cast<int>(i))) << "weekday " << i;
        EXPECT_EQ(m.days[i].id, 121 + i);
        EXPECT_EQ(m.days[i].marked(), i == 0) << "a new tool starts the week on Sunday";
    }
    EXPECT_TRUE(m.days[0].type & MFT_RADIOCHECK);

    POINT at{30, 20};
    ClientToScreen(tool, &at);
    EXPECT_EQ(m.popup.left, at.x) << "the menu opens at the click, in screen coordinates";
    EXPECT_EQ(m.popup.top, at.y);
    EXPECT_FALSE(IsMenu(m.menu)) << "the menu outlives its closing";
    EXPECT_FALSE(IsMenu(m.weekdays));
    CalPumpMessages(50);
    EXPECT_TRUE(parent_->notifications.empty()) << "closing without a choice tells the host nothing";
}

// The client points the library converts to screen coordinates.
decltype(&ClientToScreen) g_realClientToScreen = nullptr;
std::vector<POINT> g_converted;
BOOL WINAPI RecordClientToScreen(HWND window, POINT* p)
{
    g_converted.push_back(*p);
    return g_realClientToScreen(window, p);
}

TEST_F(ContextMenu, TheClickPointIsReadAsTwoUnsignedHalves)
{
    HWND tool = Create();
    g_realClientToScreen =
        reinterpret_cast<decltype(&ClientToScreen)>(CalTestPatchImport(CalTestPlugin().module, "USER32.dll",
            "ClientToScreen", reinterpret_cast<void*>(RecordClientToScreen)));
    ASSERT_NE(g_realClientToScreen, nullptr);
    g_converted.clear();
    Show(tool, {40000, 65535});
    CalTestPatchImport(CalTestPlugin().module, "USER32.dll", "ClientToScreen",
        reinterpret_cast<void*>(g_realClientToScreen));
    ASSERT_EQ(g_converted.size(), 1u);
    EXPECT_EQ(g_converted[0].x, 40000) << "not -25536";
    EXPECT_EQ(g_converted[0].y, 65535) << "not -1";
}

TEST_F(ContextMenu, EveryMenuIsBuiltAfreshAndDestroyed)
{
    HWND tool = Create();
    const CalLedgerCounts before = CalLedgerSnapshot();
    constexpr int kOpenings = 50;
    for (int i = 0; i < kOpenings; ++i)
        ASSERT_EQ(Show(tool).items.size(), 8u);
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    EXPECT_EQ(d.menusMade, 2 * kOpenings);
    EXPECT_EQ(d.LiveMenus(), 0) << d;
    EXPECT_EQ(d.LiveObjects(), 0) << d;
    EXPECT_EQ(d.LiveBlocks(), 0) << d;
}

TEST_F(ContextMenu, MarksFollowTheBlockAndAnyStoredFirstDayIsSafe)
{
    struct Case {
        LONG weekNumbers, useBackground, firstDay;
    };
    const Case cases[] = {{0, 1, 1}, {1, 0, 6}, {2, 2, 3}, {-1, 0, 7}, {0, 5, -1}, {0, 0, 1000},
        {0, 0, INT_MAX}, {0, 0, INT_MIN}};
    for (const Case& c : cases) {
        CalToolSettings block = CalArialSettings();
        block.weekNumbers = c.weekNumbers;
        block.useBackground = c.useBackground;
        block.firstDay = c.firstDay;
        HWND tool = Create(&block);
        ASSERT_NE(tool, nullptr);
        const OpenMenu m = Show(tool);
        ASSERT_EQ(m.items.size(), 8u);
        ASSERT_EQ(m.days.size(), 7u);
        EXPECT_EQ(m.items[1].marked(), c.weekNumbers != 0) << "weekNumbers " << c.weekNumbers;
        EXPECT_EQ(m.items[2].marked(), c.useBackground != 0) << "useBackground " << c.useBackground;
        for (int i = 0; i < 7; ++i) {
            const Item& day = m.days[static_cast<size_t>(i)];
            const bool expected = c.firstDay == i;
            EXPECT_EQ(day.marked() && (day.type & MFT_RADIOCHECK) != 0, expected)
                << "firstDay " << c.firstDay << ", item " << i;
            if (!expected) {
                EXPECT_FALSE(day.marked()) << "firstDay " << c.firstDay << ", item " << i;
            }
        }
        EXPECT_EQ(CalToolFromWindow(tool)->settings.firstDay, c.firstDay)
            << "opening the menu changes nothing";
        DestroyWindow(tool);
    }
}

TEST_F(ContextMenu, WeekNumbersAndBackgroundFlipAndTheHostHearsAfterTheRecord)
{
    HWND tool = Create();
    const CalToolSettings* s = &CalToolFromWindow(tool)->settings;
    const RECT whole = Client(tool);
    const int positions[] = {1, 2};
    for (int position : positions) {
        const LONG* option = position == 1 ? &s->weekNumbers : &s->useBackground;
        for (LONG expected : {1, 0}) {
            seen_.clear();
            const RECT update = Choose(tool, KeysFor(position));
            EXPECT_EQ(*option, expected) << "item " << position;
            ASSERT_EQ(seen_.size(), 1u);
            EXPECT_EQ(seen_[0].tool, reinterpret_cast<WPARAM>(tool));
            EXPECT_EQ(seen_[0].lParam, 0);
            EXPECT_EQ(
                position == 1 ? seen_[0].settings.weekNumbers : seen_[0].settings.useBackground, expected)
                << "the host must find the new value while it is told";
            EXPECT_FALSE(seen_[0].updatePending) << "repainted before the host was told";
            EXPECT_TRUE(EqualRect(&update, &whole)) << "the whole tool is repainted";
        }
    }
    EXPECT_EQ(parent_->Received(CTN_SETTINGSCHANGED).size(), 4u);

    // A stored 2 reads as on, and the user's choice turns it off.
    CalToolSettings block = CalArialSettings();
    block.weekNumbers = 2;
    block.useBackground = 2;
    HWND stored = Create(&block, 200, 0);
    Choose(stored, KeysFor(1));
    Choose(stored, KeysFor(2));
    EXPECT_EQ(CalToolFromWindow(stored)->settings.weekNumbers, 0);
    EXPECT_EQ(CalToolFromWindow(stored)->settings.useBackground, 0);
}

TEST_F(ContextMenu, EachWeekdayCanBeChosenAndChoosingTheSameOneAgainStillNotifies)
{
    HWND tool = Create();
    const RECT whole = Client(tool);
    for (int day : {3, 6, 0, 1, 2, 4, 5, 5}) {
        seen_.clear();
        const RECT update = Choose(tool, KeysFor(0, day));
        EXPECT_EQ(CalToolFromWindow(tool)->settings.firstDay, day);
        ASSERT_EQ(seen_.size(), 1u) << "day " << day;
        EXPECT_EQ(seen_[0].lParam, 0);
        EXPECT_EQ(seen_[0].settings.firstDay, day);
        EXPECT_FALSE(seen_[0].updatePending);
        EXPECT_TRUE(EqualRect(&update, &whole)) << "day " << day;
        EXPECT_TRUE(Show(tool).days[static_cast<size_t>(day)].marked()) << "the next menu marks day " << day;
    }
}

TEST_F(ContextMenu, PropertiesOnlyAsksTheHostAndOtherCommandsDoNothing)
{
    HWND tool = Create();
    const CalToolSettings before = CalToolFromWindow(tool)->settings;
    const RECT update = Choose(tool, KeysFor(5));
    ASSERT_EQ(parent_->notifications.size(), 1u);
    EXPECT_EQ(parent_->notifications[0].message, static_cast<UINT>(CTN_SHOWPROPERTIES));
    EXPECT_EQ(parent_->notifications[0].wParam, reinterpret_cast<WPARAM>(tool));
    EXPECT_EQ(parent_->notifications[0].lParam, 0);
    EXPECT_TRUE(IsRectEmpty(&update)) << "properties repaint nothing";
    EXPECT_EQ(std::memcmp(&before, &CalToolFromWindow(tool)->settings, sizeof before), 0);

    parent_->notifications.clear();
    for (WPARAM id : {118u, 0u, 128u, 1056u, 1057u, 65535u, 0x10076u}) {
        ValidateRect(tool, nullptr);
        EXPECT_EQ(SendMessageA(tool, WM_COMMAND, id, 0x1234), 0) << id;
        EXPECT_FALSE(CalNeedsPaint(tool)) << id;
    }
    EXPECT_TRUE(parent_->notifications.empty());
    EXPECT_EQ(std::memcmp(&before, &CalToolFromWindow(tool)->settings, sizeof before), 0);

    // The notification code in the high word does not hide the command.
    EXPECT_EQ(SendMessageA(tool, WM_COMMAND, MAKEWPARAM(119, 1), 0), 0);
    EXPECT_EQ(SendMessageA(tool, WM_COMMAND, MAKEWPARAM(127, 0xFFFF), reinterpret_cast<LPARAM>(tool)), 0);
    EXPECT_EQ(CalToolFromWindow(tool)->settings.weekNumbers, 1);
    EXPECT_EQ(CalToolFromWindow(tool)->settings.firstDay, 6);
    EXPECT_EQ(parent_->Received(CTN_SETTINGSCHANGED).size(), 2u);
}

// Steps inside the font chooser: move it off the tool (so that its closing
// exposes nothing of the tool), optionally pick another face, then validate
// the tool and answer with command.
CalModalScript Chooser(HWND tool, WPARAM command, std::string* face, CHOOSEFONTA* whileOpen)
{
    CalModalScript script;
    script.Then([=] {
        HWND box = CalTestFindWindow("#32770");
        if (box == nullptr)
            return false;
        *whileOpen = CalToolFromWindow(tool)->settings.chooseFont;
        SetWindowPos(box, nullptr, 560, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (face == nullptr)
            return true;
        *face = CalTestPickOtherFace(box, CalToolFromWindow(tool)->settings.font.lfFaceName);
        return true;
    });
    script.Then([=] {
        ValidateRect(tool, nullptr);
        PostMessageA(CalTestFindWindow("#32770"), WM_COMMAND, command, 0);
        return true;
    });
    return script;
}

TEST_F(ContextMenu, AConfirmedFontIsAppliedAndReportedEveryTime)
{
    CalToolSettings block = CalArialSettings();
    std::memset(&block.chooseFont, 0xCD, sizeof block.chooseFont);
    HWND tool = Create(&block);
    CalToolState* state = CalToolFromWindow(tool);
    const RECT whole = Client(tool);

    std::string face;
    CHOOSEFONTA cf{};
    RECT update = Choose(tool, KeysFor(3), Chooser(tool, IDOK, &face, &cf));
    EXPECT_EQ(Difference(cf, ExpectedChooser(tool, cf.iPointSize)), -1) << "first differing byte";
    ASSERT_FALSE(face.empty()) << "the chooser offered no other face";
    EXPECT_STREQ(state->settings.font.lfFaceName, face.c_str());
    EXPECT_TRUE(SameFont(state->appliedFont, state->settings.font));
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].tool, reinterpret_cast<WPARAM>(tool));
    EXPECT_EQ(seen_[0].lParam, 1);
    EXPECT_STREQ(seen_[0].settings.font.lfFaceName, face.c_str());
    EXPECT_TRUE(SameFont(seen_[0].applied, seen_[0].settings.font)) << "applied only after the host was told";
    EXPECT_FALSE(seen_[0].updatePending);
    EXPECT_TRUE(EqualRect(&update, &whole));

    // The same font again is still a confirmed choice.
    const LOGFONTA chosen = state->settings.font;
    update = Choose(tool, KeysFor(3), Chooser(tool, IDOK, nullptr, &cf));
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[1].lParam, 1);
    EXPECT_STREQ(state->settings.font.lfFaceName, chosen.lfFaceName);
    EXPECT_TRUE(SameFont(state->appliedFont, state->settings.font));
    EXPECT_TRUE(EqualRect(&update, &whole));
    EXPECT_EQ(parent_->notifications.size(), 2u);
}

TEST_F(ContextMenu, ACancelledFontLeavesTheSettingsAsTheyWere)
{
    CalToolSettings block = CalArialSettings();
    std::memset(&block.chooseFont, 0xCD, sizeof block.chooseFont);
    HWND tool = Create(&block);
    CalToolState* state = CalToolFromWindow(tool);
    // The chooser writes the face it shows into the font it was given, from
    // the moment it opens; a cancelled choice must not leave that face in
    // the block the host stores.
    for (bool browse : {false, true}) {
        std::string face;
        CHOOSEFONTA cf{};
        const RECT update = Choose(tool, KeysFor(3), Chooser(tool, IDCANCEL, browse ? &face : nullptr, &cf));
        EXPECT_EQ(browse, !face.empty()) << "the chooser offered no other face";
        EXPECT_TRUE(IsRectEmpty(&update)) << "a cancelled choice repaints nothing";
        EXPECT_TRUE(parent_->notifications.empty());
        EXPECT_STREQ(state->settings.font.lfFaceName, block.font.lfFaceName) << "browsed: " << face;
        EXPECT_TRUE(SameFont(state->settings.font, block.font)) << "browsed: " << face;
        EXPECT_TRUE(SameFont(state->appliedFont, block.font));
        EXPECT_EQ(Difference(state->settings.chooseFont, ExpectedChooser(tool, 120)), -1)
            << "first differing byte; iPointSize " << state->settings.chooseFont.iPointSize;
    }
}

TEST_F(ContextMenu, AboutOpensAModalBoxOverTheToolAndTellsTheHostNothing)
{
    HWND tool = Create(nullptr, 60, 50);
    HWND box = nullptr;
    HWND owner = nullptr;
    POINT boxOrigin{0, 0};
    CalModalScript script;
    script.Then([&] {
        box = CalTestFindWindow("#32770", "About Calendar");
        if (box == nullptr)
            return false;
        owner = GetWindow(box, GW_OWNER);
        ClientToScreen(box, &boxOrigin);
        EXPECT_FALSE(IsWindowEnabled(parent_->window)) << "the box is modal";
        PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    Choose(tool, KeysFor(4), std::move(script));
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindow(box));
    // A child cannot own a top-level window: the box's owner is the tool's
    // top-level window, and the tool shows as the client area the box is
    // placed from (the template puts it at 0, 0 of its owner).
    EXPECT_EQ(owner, GetAncestor(tool, GA_ROOT));
    POINT origin{0, 0};
    ClientToScreen(tool, &origin);
    EXPECT_EQ(boxOrigin.x, origin.x);
    EXPECT_EQ(boxOrigin.y, origin.y);
    EXPECT_TRUE(IsWindowEnabled(parent_->window));
    CalPumpMessages(50);
    EXPECT_TRUE(parent_->notifications.empty());
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
