// A calendar tool read the way a screen reader reads it: its object asked
// for through the platform's accessibility calls, the month's name and every
// day's name and place read back in the user's locale, the day under a point,
// the walk through the days, today's mark, the announcements of a changed
// month, and the object asked again once its window is gone. Every case ends
// with the ledger showing each object released again.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tool/tool_state.h"
#include "view/month_layout.h"

namespace {

// A reference held for the scope; released at its end.
template <typename T> struct Ref {
    T* p = nullptr;
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref()
    {
        if (p != nullptr)
            p->Release();
    }
    T* operator->() const { return p; }
    void** Out() { return reinterpret_cast<void**>(&p); }
};

VARIANT Child(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

const VARIANT kSelf = Child(CHILDID_SELF);

std::wstring Take(BSTR s)
{
    std::wstring text = s != nullptr ? s : L"";
    SysFreeString(s);
    return text;
}

std::wstring Name(IAccessible* a, LONG id)
{
    BSTR s = nullptr;
    EXPECT_EQ(a->get_accName(Child(id), &s), S_OK) << "child " << id;
    return Take(s);
}

// A property answered as a number: the role or the state of a child.
template <typename Get> LONG IntOf(Get get, LONG id)
{
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(get(Child(id), &v), S_OK) << "child " << id;
    EXPECT_EQ(v.vt, VT_I4);
    return v.vt == VT_I4 ? v.lVal : -1;
}

LONG Role(IAccessible* a, LONG id)
{
    return IntOf([a](VARIANT c, VARIANT* v) { return a->get_accRole(c, v); }, id);
}

LONG State(IAccessible* a, LONG id)
{
    return IntOf([a](VARIANT c, VARIANT* v) { return a->get_accState(c, v); }, id);
}

RECT Location(IAccessible* a, LONG id)
{
    LONG x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(a->accLocation(&x, &y, &w, &h, Child(id)), S_OK) << "child " << id;
    return RECT{x, y, x + w, y + h};
}

// The id a call answered with: a child id, or -1 for an empty answer.
LONG Answered(const VARIANT& v)
{
    return v.vt == VT_I4 ? v.lVal : (v.vt == VT_EMPTY ? -1 : -2);
}

LONG HitTest(IAccessible* a, POINT p)
{
    VARIANT v;
    VariantInit(&v);
    a->accHitTest(p.x, p.y, &v);
    return Answered(v);
}

LONG Navigate(IAccessible* a, LONG direction, LONG from)
{
    VARIANT v;
    VariantInit(&v);
    const HRESULT hr = a->accNavigate(direction, Child(from), &v);
    EXPECT_TRUE(hr == S_OK || hr == S_FALSE) << std::hex << hr;
    EXPECT_EQ(hr == S_OK, v.vt == VT_I4);
    return Answered(v);
}

// The locale's text for a date, straight from the formatter.
std::wstring Formatted(WORD year, WORD month, WORD day, DWORD flags, const wchar_t* picture)
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    wchar_t text[128] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, flags, &date, picture, text, 128);
    return text;
}

bool German()
{
    return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_GERMAN;
}

POINT Centre(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct WinEvent {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};
std::vector<WinEvent> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    g_events.push_back(WinEvent{event, window, object, child});
}

class Accessibility : public CalToolTest {
protected:
    HWND Create(int w = 280, int h = 200)
    {
        RECT r{20, 30, 20 + w, 30 + h};
        return CalTestPlugin().create(parent_->window, &r, nullptr, 0, 0);
    }

    // Shows (year, month) as the user would find it after browsing there.
    static void Show(HWND tool, WORD year, WORD month)
    {
        CalToolState* s = CalToolFromWindow(tool);
        s->shown.wYear = year;
        s->shown.wMonth = month;
    }

    // The object a reader gets for the tool's client area.
    static void Read(HWND tool, Ref<IAccessible>& out)
    {
        ASSERT_EQ(AccessibleObjectFromWindow(tool, OBJID_CLIENT, __uuidof(IAccessible), out.Out()), S_OK);
        ASSERT_NE(out.p, nullptr);
    }

    // Where day d's cell lies on the screen, by the month view's geometry.
    static RECT ExpectedCell(HWND tool, int d)
    {
        const CalToolState* s = CalToolFromWindow(tool);
        RECT client;
        GetClientRect(tool, &client);
        CalLayoutInput in{};
        in.width = client.right;
        in.height = client.bottom;
        in.weekNumbers = s->settings.weekNumbers;
        in.firstDay = s->settings.firstDay;
        in.year = s->shown.wYear;
        in.month = s->shown.wMonth;
        const CalRect& c = CalComputeMonthLayout(in).day[d];
        RECT r{c.left, c.top, c.right, c.bottom};
        MapWindowPoints(tool, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    static void ExpectEveryDayInItsCell(IAccessible* a, HWND tool, int days)
    {
        RECT window;
        GetWindowRect(tool, &window);
        for (int d = 1; d <= days; ++d) {
            const RECT at = Location(a, d);
            const RECT cell = ExpectedCell(tool, d);
            EXPECT_TRUE(EqualRect(&at, &cell)) << "day " << d;
            RECT inside;
            EXPECT_TRUE(IntersectRect(&inside, &at, &window) && EqualRect(&inside, &at)) << "day " << d;
        }
    }
};

TEST_F(Accessibility, TheMonthReadsAsATableOfItsDaysInTheLocalesWords)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    Show(tool, 2026, 12);
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));

    EXPECT_EQ(Role(a.p, CHILDID_SELF), ROLE_SYSTEM_TABLE);
    const std::wstring title = Name(a.p, CHILDID_SELF);
    EXPECT_EQ(title, German() ? L"Dezember 2026" : L"December 2026");
    EXPECT_EQ(title, Formatted(2026, 12, 1, 0, L"MMMM yyyy"));

    const CalToolState* s = CalToolFromWindow(tool);
    BSTR description = nullptr;
    EXPECT_EQ(a->get_accDescription(kSelf, &description), S_OK);
    EXPECT_EQ(
        Take(description), Formatted(s->todayYear, s->todayMonth, s->shown.wDay, DATE_LONGDATE, nullptr))
        << "today's date, in the locale's long format";

    LONG count = 0;
    EXPECT_EQ(a->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 31);
    std::set<std::wstring> names;
    for (WORD d = 1; d <= 31; ++d) {
        EXPECT_EQ(Role(a.p, d), ROLE_SYSTEM_CELL);
        const std::wstring name = Name(a.p, d);
        EXPECT_EQ(name, Formatted(2026, 12, d, DATE_LONGDATE, nullptr));
        EXPECT_NE(name.find(std::to_wstring(d)), std::wstring::npos) << d;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 31u);
    IDispatch* element = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(a->get_accChild(Child(9), &element), S_FALSE) << "a day is a simple element";
    EXPECT_EQ(element, nullptr);
    EXPECT_EQ(Name(a.p, 24), German() ? L"Donnerstag, 24. Dezember 2026" : L"Thursday, December 24, 2026");
    ExpectEveryDayInItsCell(a.p, tool, 31);

    // The table's own place is the client area.
    RECT client;
    GetClientRect(tool, &client);
    MapWindowPoints(tool, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    const RECT self = Location(a.p, CHILDID_SELF);
    EXPECT_TRUE(EqualRect(&self, &client));

    // No child beyond the month's days, and no other kind of child id.
    BSTR none = nullptr;
    EXPECT_EQ(a->get_accName(Child(32), &none), E_INVALIDARG);
    EXPECT_EQ(a->get_accName(Child(-1), &none), E_INVALIDARG);
    EXPECT_EQ(none, nullptr);

    // The parent is the window's own object, as the platform makes it.
    Ref<IDispatch> parent;
    ASSERT_EQ(a->get_accParent(&parent.p), S_OK);
    ASSERT_NE(parent.p, nullptr);
    Ref<IAccessible> window;
    ASSERT_EQ(parent->QueryInterface(__uuidof(IAccessible), window.Out()), S_OK);
    HWND of = nullptr;
    EXPECT_EQ(WindowFromAccessibleObject(window.p, &of), S_OK);
    EXPECT_EQ(of, tool);
}

TEST_F(Accessibility, NamesAndPlacesFollowTheMonthTheSettingsAndTheSize)
{
    HWND tool = Create();
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));

    // The same object reads the tool as it is at each call.
    Show(tool, 2024, 2);
    CalToolState* s = CalToolFromWindow(tool);
    s->settings.weekNumbers = 1;
    s->settings.firstDay = 1;
    SetWindowPos(tool, nullptr, 0, 0, 331, 247, SWP_NOMOVE | SWP_NOZORDER);
    LONG count = 0;
    EXPECT_EQ(a->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 29);
    EXPECT_EQ(Name(a.p, CHILDID_SELF), German() ? L"Februar 2024" : L"February 2024");
    EXPECT_EQ(Name(a.p, 29), Formatted(2024, 2, 29, DATE_LONGDATE, nullptr));
    ExpectEveryDayInItsCell(a.p, tool, 29);

    // A month outside the formatter's range is still named, by its title.
    Show(tool, 1600, 12);
    const std::wstring title = Name(a.p, CHILDID_SELF);
    EXPECT_NE(title.find(L"1600"), std::wstring::npos)
        << "title read: " << std::string(title.begin(), title.end());
    const std::wstring first = Name(a.p, 1);
    EXPECT_EQ(first.substr(0, 2), L"1 ");
    EXPECT_EQ(first.substr(2), title);

    // A tool too small to show its days still has them, each marked invisible.
    Show(tool, 2026, 12);
    SetWindowPos(tool, nullptr, 0, 0, 7, 7, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(a->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 31);
    EXPECT_NE(State(a.p, 5) & STATE_SYSTEM_INVISIBLE, 0);
}

TEST_F(Accessibility, TheSelectedDayIsSelectedAndFocusedAndEveryDayCanBe)
{
    HWND tool = Create();
    const CalToolState* s = CalToolFromWindow(tool);
    const WORD today = s->shown.wDay;  // a new tool shows today's month, today selected
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));
    constexpr LONG kBoth = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    const auto expectStates = [&](LONG selected, bool focused) {
        LONG count = 0;
        a->get_accChildCount(&count);
        for (LONG d = 1; d <= count; ++d) {
            const LONG state = State(a.p, d);
            EXPECT_EQ(state & (STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE),
                STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE) << d;
            EXPECT_EQ(state & kBoth, d != selected ? 0 : focused ? kBoth : STATE_SYSTEM_SELECTED) << d;
        }
        VARIANT v;
        VariantInit(&v);
        EXPECT_EQ(a->get_accSelection(&v), selected != 0 ? S_OK : S_FALSE);
        EXPECT_EQ(Answered(v), selected != 0 ? selected : -1);
        EXPECT_EQ(a->get_accFocus(&v), focused ? S_OK : S_FALSE);
        EXPECT_EQ(Answered(v), !focused ? -1 : selected != 0 ? selected : CHILDID_SELF);
    };
    SetFocus(parent_->window);
    expectStates(today, false);
    SetFocus(tool);
    expectStates(today, true);

    // A move raises the selection and the focus on the new day's cell.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, RecordEvent,
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto heard = [tool] {
        CalPumpMessages(100);
        std::vector<std::pair<DWORD, LONG>> events;
        for (const WinEvent& e : g_events)
            if (e.window == tool && e.object == OBJID_CLIENT)
                events.emplace_back(e.event, e.child);
        g_events.clear();
        return events;
    };
    using Events = std::vector<std::pair<DWORD, LONG>>;
    SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 5, 10)));
    SetFocus(parent_->window);
    heard();
    // Taking the focus: the table's (hosts follow it; the system raises it
    // too), then, last, the selected day's.
    SetFocus(tool);
    const Events focus = heard();
    ASSERT_GE(focus.size(), 2u);
    EXPECT_EQ(focus.front(), (std::pair<DWORD, LONG>{EVENT_OBJECT_FOCUS, CHILDID_SELF}));
    EXPECT_EQ(focus.back(), (std::pair<DWORD, LONG>{EVENT_OBJECT_FOCUS, 10}));
    SendMessageA(tool, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(heard(), (Events{{EVENT_OBJECT_SELECTION, 11}, {EVENT_OBJECT_FOCUS, 11}}));
    UnhookWinEvent(hook);
    expectStates(11, true);

    // Another month: no day selected, and the table still describes today.
    Show(tool, 2024, 6);
    expectStates(0, true);
    BSTR description = nullptr;
    a->get_accDescription(kSelf, &description);
    EXPECT_EQ(Take(description), Formatted(s->todayYear, s->todayMonth, today, DATE_LONGDATE, nullptr));
}

TEST_F(Accessibility, ADaysDefaultActionPicksItAndAMarkedDayCarriesTheHostsText)
{
    parent_->dayMarks = [](LONG, LONG) { return DWORD{1} << 2; };  // the 3rd
    parent_->dayText = [](DWORD date) { return CalDateDay(date) == 3 ? L"Harvest fair" : nullptr; };
    HWND tool = Create();
    SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 9, 20)));
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));
    BSTR text = nullptr;
    EXPECT_EQ(a->get_accDefaultAction(Child(3), &text), S_OK);
    EXPECT_EQ(Take(text), L"Pick");
    EXPECT_EQ(a->get_accDefaultAction(kSelf, &text), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(a->get_accDescription(Child(3), &text), S_OK);
    EXPECT_EQ(Take(text), L"Marked: Harvest fair");
    EXPECT_EQ(a->get_accDescription(Child(4), &text), S_FALSE);
    parent_->dayText = nullptr;
    EXPECT_EQ(a->get_accDescription(Child(3), &text), S_OK);
    EXPECT_EQ(Take(text), L"Marked") << "a host without texts";

    parent_->notifications.clear();
    EXPECT_EQ(a->accDoDefaultAction(Child(3)), S_OK);
    EXPECT_EQ(a->accDoDefaultAction(kSelf), DISP_E_MEMBERNOTFOUND);
    const auto changes = parent_->Received(CTN_SELCHANGE);
    const auto picks = parent_->Received(CTN_SELECT);
    ASSERT_EQ(changes.size(), 1u);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(static_cast<DWORD>(changes[0].lParam), CalPackDate(2024, 9, 3));
    EXPECT_EQ(static_cast<DWORD>(picks[0].lParam), CalPackDate(2024, 9, 3));
    EXPECT_EQ(a->accSelect(SELFLAG_TAKESELECTION, Child(7)), S_OK);
    EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(CalPackDate(2024, 9, 7)));
    EXPECT_EQ(a->accSelect(SELFLAG_ADDSELECTION, Child(8)), DISP_E_MEMBERNOTFOUND) << "one day at a time";
}

TEST_F(Accessibility, TheFocusIsTheToolsWhileItsWindowHasIt)
{
    HWND tool = Create();
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));
    SetFocus(parent_->window);
    EXPECT_EQ(
        State(a.p, CHILDID_SELF) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE), STATE_SYSTEM_FOCUSABLE);
    VARIANT focus;
    VariantInit(&focus);
    EXPECT_EQ(a->get_accFocus(&focus), S_FALSE);
    EXPECT_EQ(focus.vt, VT_EMPTY);

    EXPECT_EQ(a->accSelect(SELFLAG_TAKEFOCUS, kSelf), S_OK);
    EXPECT_EQ(GetFocus(), tool);
    EXPECT_NE(State(a.p, CHILDID_SELF) & STATE_SYSTEM_FOCUSED, 0);
    EXPECT_EQ(a->get_accFocus(&focus), S_OK);
    EXPECT_EQ(Answered(focus), CalToolFromWindow(tool)->shown.wDay) << "the selected day, today";
    EXPECT_EQ(a->accSelect(SELFLAG_TAKESELECTION, kSelf), DISP_E_MEMBERNOTFOUND);
}

TEST_F(Accessibility, TheDayUnderAPointIsFoundAndNothingOutsideTheTool)
{
    HWND tool = Create();
    Show(tool, 2026, 12);
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));
    for (int d : {1, 15, 31}) {
        const RECT cell = ExpectedCell(tool, d);
        EXPECT_EQ(HitTest(a.p, Centre(cell)), d);
        EXPECT_EQ(HitTest(a.p, POINT{cell.left, cell.top}), d) << "a cell's first pixel is its own";
        EXPECT_NE(HitTest(a.p, POINT{cell.right, cell.bottom}), d) << "its last edge is not";
    }
    RECT window;
    GetWindowRect(tool, &window);
    EXPECT_EQ(HitTest(a.p, POINT{window.left + 140, window.top + 12}), CHILDID_SELF) << "the title";
    EXPECT_EQ(HitTest(a.p, POINT{window.left + 1, window.bottom - 1}), CHILDID_SELF) << "the frame";
    EXPECT_EQ(HitTest(a.p, POINT{window.left - 5, window.top + 100}), -1) << "beside the tool";
    EXPECT_EQ(HitTest(a.p, POINT{window.left + 100, window.bottom}), -1) << "below the tool";
}

TEST_F(Accessibility, ReadersWalkTheDaysByOrderByGridAndByEnumeration)
{
    HWND tool = Create();
    Show(tool, 2026, 12);  // 1 December 2026 is a Tuesday: column 2 with Sunday first
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));
    EXPECT_EQ(Navigate(a.p, NAVDIR_FIRSTCHILD, CHILDID_SELF), 1);
    EXPECT_EQ(Navigate(a.p, NAVDIR_LASTCHILD, CHILDID_SELF), 31);
    EXPECT_EQ(Navigate(a.p, NAVDIR_NEXT, 30), 31);
    EXPECT_EQ(Navigate(a.p, NAVDIR_NEXT, 31), -1);
    EXPECT_EQ(Navigate(a.p, NAVDIR_PREVIOUS, 1), -1);
    EXPECT_EQ(Navigate(a.p, NAVDIR_NEXT, 5), 6) << "Saturday to Sunday, across rows";
    EXPECT_EQ(Navigate(a.p, NAVDIR_RIGHT, 5), -1) << "not past the row's end";
    EXPECT_EQ(Navigate(a.p, NAVDIR_LEFT, 6), -1) << "nor before its start";
    EXPECT_EQ(Navigate(a.p, NAVDIR_RIGHT, 6), 7);
    EXPECT_EQ(Navigate(a.p, NAVDIR_DOWN, 1), 8);
    EXPECT_EQ(Navigate(a.p, NAVDIR_UP, 8), 1);
    EXPECT_EQ(Navigate(a.p, NAVDIR_UP, 7), -1);
    EXPECT_EQ(Navigate(a.p, NAVDIR_DOWN, 25), -1);
    EXPECT_EQ(Navigate(a.p, NAVDIR_FIRSTCHILD, 4), -1) << "a day has no children";
    EXPECT_EQ(Navigate(a.p, NAVDIR_NEXT, CHILDID_SELF), -1) << "the table's siblings are the window's";
    VARIANT end;
    EXPECT_EQ(a->accNavigate(99, kSelf, &end), E_INVALIDARG);

    // With Monday first the rows break elsewhere: Sunday 6 ends a row.
    CalToolFromWindow(tool)->settings.firstDay = 1;
    EXPECT_EQ(Navigate(a.p, NAVDIR_RIGHT, 5), 6);
    EXPECT_EQ(Navigate(a.p, NAVDIR_RIGHT, 6), -1);
    CalToolFromWindow(tool)->settings.firstDay = 0;

    // The children, as the platform enumerates them for a reader.
    VARIANT children[40];
    LONG got = 0;
    EXPECT_EQ(AccessibleChildren(a.p, 0, 40, children, &got), S_FALSE);
    ASSERT_EQ(got, 31);
    for (LONG i = 0; i < got; ++i)
        EXPECT_EQ(Answered(children[i]), i + 1);
    EXPECT_EQ(AccessibleChildren(a.p, 29, 5, children, &got), S_FALSE);
    ASSERT_EQ(got, 2);
    EXPECT_EQ(Answered(children[0]), 30);
    EXPECT_EQ(Answered(children[1]), 31);
    EXPECT_EQ(AccessibleChildren(a.p, 10, 3, children, &got), S_OK);
    EXPECT_EQ(Answered(children[2]), 13);

    // A copy of the enumeration goes on from where the original stood.
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(a->QueryInterface(__uuidof(IEnumVARIANT), e.Out()), S_OK);
    ASSERT_EQ(e->Reset(), S_OK);
    ASSERT_EQ(e->Skip(20), S_OK);
    Ref<IEnumVARIANT> copy;
    ASSERT_EQ(e->Clone(&copy.p), S_OK);
    ULONG fetched = 0;
    EXPECT_EQ(copy->Next(1, children, &fetched), S_OK);
    EXPECT_EQ(Answered(children[0]), 21);
    EXPECT_EQ(e->Skip(11), S_OK);
    EXPECT_EQ(e->Next(1, children, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(e->Skip(1), S_FALSE);
}

TEST_F(Accessibility, ReferencesAreCountedExactlyAndEachObjectIsFreedByItsLastRelease)
{
    HWND tool = Create();
    const CalLedgerCounts before = CalLedgerSnapshot();
    {
        Ref<IAccessible> a;
        ASSERT_NO_FATAL_FAILURE(Read(tool, a));
        EXPECT_EQ(a->AddRef(), 2u);
        EXPECT_EQ(a->Release(), 1u);
        Ref<IEnumVARIANT> e;
        ASSERT_EQ(a->QueryInterface(__uuidof(IEnumVARIANT), e.Out()), S_OK);
        Ref<IUnknown> one, two;
        ASSERT_EQ(a->QueryInterface(__uuidof(IUnknown), one.Out()), S_OK);
        ASSERT_EQ(e->QueryInterface(__uuidof(IUnknown), two.Out()), S_OK);
        EXPECT_EQ(one.p, two.p) << "one identity behind both interfaces";

        Ref<IAccessible> second;
        ASSERT_NO_FATAL_FAILURE(Read(tool, second));
        EXPECT_NE(second.p, a.p) << "every request gets an object of its own";
        const CalLedgerCounts held = CalLedgerSnapshot() - before;
        EXPECT_EQ(held.LiveBlocks(), 2) << held;
    }
    const CalLedgerCounts after = CalLedgerSnapshot() - before;
    EXPECT_EQ(after.LiveBlocks(), 0) << after;
    EXPECT_GE(after.heapAllocated, 2) << "the objects are on the heap the ledger watches";
}

TEST_F(Accessibility, AnObjectKeptAfterItsWindowIsGoneAnswersThatItIsDisconnected)
{
    HWND tool = Create();
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(a->QueryInterface(__uuidof(IEnumVARIANT), e.Out()), S_OK);
    ASSERT_TRUE(DestroyWindow(tool));
    // A new window may take the old handle; no tool of its own answers for it.
    HWND other =
        CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent_->window, nullptr, nullptr, nullptr);

    BSTR s = nullptr;
    VARIANT v;
    VariantInit(&v);
    LONG n = 7, x = 0, y = 0, w = 0, h = 0;
    IDispatch* d = nullptr;
    const HRESULT gone = CO_E_OBJNOTCONNECTED;
    EXPECT_EQ(a->get_accName(kSelf, &s), gone);
    EXPECT_EQ(a->get_accName(Child(3), &s), gone);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(a->get_accDescription(kSelf, &s), gone);
    EXPECT_EQ(a->get_accValue(kSelf, &s), gone);
    EXPECT_EQ(a->get_accRole(kSelf, &v), gone);
    EXPECT_EQ(a->get_accState(Child(1), &v), gone);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(a->get_accChildCount(&n), gone);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(a->get_accChild(Child(1), &d), gone);
    EXPECT_EQ(a->get_accParent(&d), gone);
    EXPECT_EQ(d, nullptr);
    EXPECT_EQ(a->get_accFocus(&v), gone);
    EXPECT_EQ(a->get_accSelection(&v), gone);
    EXPECT_EQ(a->accLocation(&x, &y, &w, &h, Child(2)), gone);
    EXPECT_EQ(a->accHitTest(100, 100, &v), gone);
    EXPECT_EQ(a->accNavigate(NAVDIR_FIRSTCHILD, kSelf, &v), gone);
    EXPECT_EQ(a->accSelect(SELFLAG_TAKEFOCUS, kSelf), gone);
    EXPECT_EQ(a->accDoDefaultAction(kSelf), gone);
    ULONG fetched = 5;
    EXPECT_EQ(e->Next(1, &v, &fetched), gone);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(e->Skip(1), gone);
    Ref<IEnumVARIANT> copy;
    EXPECT_EQ(e->Clone(&copy.p), gone);
    EXPECT_EQ(copy.p, nullptr);
    LONG got = 0;
    VARIANT children[4];
    EXPECT_TRUE(FAILED(AccessibleChildren(a.p, 0, 4, children, &got)));
    DestroyWindow(other);
}

TEST_F(Accessibility, AnAnswerNoReaderClaimedIsReleasedWithTheWindow)
{
    HWND tool = Create();
    const CalLedgerCounts before = CalLedgerSnapshot();
    const LRESULT unclaimed = SendMessageA(tool, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    ASSERT_GT(unclaimed, 0);
    EXPECT_EQ((CalLedgerSnapshot() - before).LiveBlocks(), 1) << "the answer keeps its object";
    EXPECT_EQ(SendMessageA(tool, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)), 0)
        << "the window's own object is the platform's";
    DestroyWindow(tool);
    const CalLedgerCounts after = CalLedgerSnapshot() - before;
    EXPECT_EQ(after.heapAllocated, 1) << after;
    EXPECT_EQ(after.heapFreed, 3) << "the object, the tool's record and its marks: " << after;
    Ref<IAccessible> late;
    EXPECT_TRUE(FAILED(ObjectFromLresult(unclaimed, __uuidof(IAccessible), 0, late.Out())));
}

TEST_F(Accessibility, ASteppedMonthIsAnnouncedAsANameChange)
{
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
        RecordEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    auto announced = [&] {
        CalPumpMessages(100);
        int n = 0;
        for (const WinEvent& e : g_events)
            if (e.window == tool) {
                EXPECT_EQ(e.object, OBJID_CLIENT);
                EXPECT_EQ(e.child, CHILDID_SELF);
                ++n;
            }
        g_events.clear();
        return n;
    };
    CalPumpMessages(50);
    g_events.clear();

    // One step of the month spinner, pressed and released as the mouse does.
    RECT r;
    GetClientRect(s->monthSpin, &r);
    const LPARAM right = MAKELPARAM(r.right * 3 / 4, r.bottom / 2);
    PostMessageA(s->monthSpin, WM_LBUTTONDOWN, MK_LBUTTON, right);
    PostMessageA(s->monthSpin, WM_LBUTTONUP, 0, right);
    const WORD month = s->shown.wMonth;
    EXPECT_EQ(announced(), 1);
    EXPECT_NE(s->shown.wMonth, month);
    Ref<IAccessible> a;
    ASSERT_NO_FATAL_FAILURE(Read(tool, a));
    EXPECT_EQ(Name(a.p, CHILDID_SELF), Formatted(s->shown.wYear, s->shown.wMonth, 1, 0, L"MMMM yyyy"));

    // The report that ends a scroll changes nothing and says nothing.
    SendMessageA(
        tool, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, s->shown.wMonth), reinterpret_cast<LPARAM>(s->monthSpin));
    EXPECT_EQ(announced(), 0);

    // Back to today's month with a double click; once there, again says nothing.
    SendMessageA(tool, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(announced(), 1);
    SendMessageA(tool, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(announced(), 0);
    UnhookWinEvent(hook);
}

// Waits for handle while this thread answers what other threads send it.
bool WaitPumping(HANDLE handle, DWORD ms = 10000)
{
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0)
            return false;
        const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, end - now, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            return true;
        CalPumpMessages();
    }
}

struct ForeignTool {
    HWND parent;
    HWND tool = nullptr;
    HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

DWORD WINAPI RunToolWithoutCom(void* param)
{
    auto* f = static_cast<ForeignTool*>(param);
    RECT r{20, 30, 300, 230};
    f->tool = CalTestPlugin().create(f->parent, &r, nullptr, 0, 0);
    SetEvent(f->made);
    WaitPumping(f->done);
    DestroyWindow(f->tool);
    return 0;
}

TEST_F(Accessibility, AToolOnAThreadWithoutComLeavesReadersThePlatformsObject)
{
    // A host need not use COM. Its thread cannot hand an object over then,
    // and the platform's own object for the client area answers instead.
    ForeignTool f{parent_->window};
    HANDLE thread = CreateThread(nullptr, 0, RunToolWithoutCom, &f, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(WaitPumping(f.made));
    ASSERT_NE(f.tool, nullptr);
    const CalLedgerCounts before = CalLedgerSnapshot();
    {
        Ref<IAccessible> a;
        Read(f.tool, a);
        if (a.p != nullptr) {
            EXPECT_EQ(Role(a.p, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
        }
    }
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    EXPECT_EQ(d.heapAllocated, 1) << "an object was made and " << d;
    EXPECT_EQ(d.LiveBlocks(), 0) << d;
    SetEvent(f.done);
    EXPECT_TRUE(WaitPumping(thread));
    CloseHandle(thread);
    CloseHandle(f.made);
    CloseHandle(f.done);
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMainWithCom(argc, argv);
}
