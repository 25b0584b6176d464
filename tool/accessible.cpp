// The tool's accessible object. It holds only the window handle and looks
// the tool's record up again on every call, so that an object a reader keeps
// after the window has gone answers CO_E_OBJNOTCONNECTED instead of reading
// a freed record.
#include "tool/accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <new>

#include "plugin/module.h"
#include "resource.h"
#include "tool/day_cells.h"
#include "tool/day_marks.h"
#include "tool/day_text.h"
#include "tool/selection.h"
#include "tool/tool_view.h"
#include "view/month_text.h"

namespace {

// The steps between days, by navigation direction from NAVDIR_UP to NAVDIR_PREVIOUS.
constexpr CalDayStep kDaySteps[] = {CalDayStep::up, CalDayStep::down, CalDayStep::left, CalDayStep::right,
    CalDayStep::next, CalDayStep::previous};
static_assert(NAVDIR_PREVIOUS - NAVDIR_UP + 1 == sizeof kDaySteps / sizeof kDaySteps[0]);

// The tool's record, or null once the handle no longer names a tool window
// of this process: a handle can be reused by any window after its own has
// gone, and only a tool's word 0 points at a record.
const CalToolState* Record(HWND window)
{
    if (window == nullptr || !IsWindow(window))
        return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || g_classAtom == 0 ||
        GetClassLongA(window, GCW_ATOM) != g_classAtom)
        return nullptr;
    return CalToolFromWindow(window);
}

// What one call reads of the tool: the record and the month view's geometry
// for the current client size and settings, as the painter computes it.
struct View {
    const CalToolState* state = nullptr;
    CalMonthLayout layout{};
    int32_t today = 0;     // the day marked as today, 0 while another month is shown
    int32_t selected = 0;  // the selected day, 0 while another month is shown
};

bool ReadView(HWND window, View& v)
{
    v.state = Record(window);
    if (v.state == nullptr)
        return false;
    const CalMonthView view = CalToolView(v.state);
    v.layout = CalToolLayout(v.state);
    v.today = v.layout.hasToday ? CalViewToday(view) : 0;
    v.selected = CalShownSelection(v.state);
    return true;
}

// The title as painted: the same text the month view shows.
BSTR Title(const CalToolState& s)
{
    CalText title;
    CalFormatTitle(s.shown.wYear, s.shown.wMonth, title);
    return SysAllocString(title);
}

BSTR LongDate(WORD year, WORD month, WORD day)
{
    wchar_t text[128];
    CalLongDate(year, month, day, text, 128);
    return SysAllocString(text);
}

// A text of the library's string table.
BSTR Label(UINT id)
{
    wchar_t text[64] = {};
    LoadStringW(g_moduleInstance, id, text, 64);
    return SysAllocString(text);
}

// What is said of a day the host marked: that it is marked, and the host's
// own text for it where the host has one.
BSTR MarkedDayDescription(const CalToolState& s, WORD day)
{
    wchar_t text[64 + 2 + CAL_DAY_TEXT_CAPACITY] = {};
    LoadStringW(g_moduleInstance, IDS_MARKEDDAY, text, 64);
    const int n = lstrlenW(text);
    wchar_t host[CAL_DAY_TEXT_CAPACITY];
    if (CalAskDayText(s.window, CalPackDate(s.shown.wYear, s.shown.wMonth, day), host, CAL_DAY_TEXT_CAPACITY) > 0) {
        lstrcpyW(text + n, L": ");
        lstrcpyW(text + n + 2, host);
    }
    return SysAllocString(text);
}

HRESULT Answer(BSTR text, BSTR* out)
{
    *out = text;
    return text != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Names a child (or a role or state, which travel the same way) in v.
HRESULT Child(VARIANT* v, LONG id)
{
    v->vt = VT_I4;
    v->lVal = id;
    return S_OK;
}

// The month as a table with one cell per day; child id d is day d, and the
// enumeration of the children runs on the same object, as readers expect.
class TableObject final : public IAccessible, public IEnumVARIANT {
public:
    static TableObject* Create(HWND window, ULONG cursor);
    static TableObject* TakeOneOf(HWND window);

    // IUnknown, for both interfaces
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: readers call the interface directly
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(
        DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(
        LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override;

    // IEnumVARIANT: the child ids 1..day count
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;

private:
    TableObject(HWND window, ULONG cursor)
        : window_(window)
        , cursor_(cursor)
    {
    }
    ~TableObject() = default;

    bool TryAddRef();
    // own(view, child id) on the tool as it is now, CO_E_OBJNOTCONNECTED once
    // it has gone; the child, where one is named, checked first.
    template <typename Own> HRESULT Serve(const VARIANT* child, Own own) const;
    // The same after checking and clearing the method's out-parameter.
    template <typename Out, typename Own> HRESULT Serve(Out* out, const VARIANT* child, Own own) const;
    // A property that no part of the view has.
    HRESULT NoSuchProperty(const VARIANT& child, BSTR* out) const;

    LONG refs_ = 1;
    HWND window_;   // null once the window has been destroyed
    ULONG cursor_;  // children the enumeration has passed
    TableObject* next_ = nullptr;
};

// Every live object, so that a window's destruction can reach the ones a
// reader still holds.
SRWLOCK g_liveLock = SRWLOCK_INIT;
TableObject* g_live = nullptr;

TableObject* TableObject::Create(HWND window, ULONG cursor)
{
    void* block = HeapAlloc(GetProcessHeap(), 0, sizeof(TableObject));
    if (block == nullptr)
        return nullptr;
    auto* table = new (block) TableObject(window, cursor);
    AcquireSRWLockExclusive(&g_liveLock);
    table->next_ = g_live;
    g_live = table;
    ReleaseSRWLockExclusive(&g_liveLock);
    return table;
}

// One live object still tied to window, untied and with a reference taken,
// or null when none is left.
TableObject* TableObject::TakeOneOf(HWND window)
{
    TableObject* found = nullptr;
    AcquireSRWLockExclusive(&g_liveLock);
    for (TableObject* t = g_live; t != nullptr && found == nullptr; t = t->next_) {
        if (t->window_ != window)
            continue;
        t->window_ = nullptr;
        if (t->TryAddRef())
            found = t;
    }
    ReleaseSRWLockExclusive(&g_liveLock);
    return found;
}

bool TableObject::TryAddRef()
{
    // An object whose count has reached zero is being freed: never revive it.
    for (LONG r = refs_; r != 0; r = refs_)
        if (InterlockedCompareExchange(&refs_, r + 1, r) == r)
            return true;
    return false;
}

HRESULT TableObject::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible)))
        *out = static_cast<IAccessible*>(this);
    else if (IsEqualIID(iid, __uuidof(IEnumVARIANT)))
        *out = static_cast<IEnumVARIANT*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG TableObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG TableObject::Release()
{
    const LONG left = InterlockedDecrement(&refs_);
    if (left != 0)
        return static_cast<ULONG>(left);
    AcquireSRWLockExclusive(&g_liveLock);
    for (TableObject** link = &g_live; *link != nullptr; link = &(*link)->next_)
        if (*link == this) {
            *link = next_;
            break;
        }
    ReleaseSRWLockExclusive(&g_liveLock);
    this->~TableObject();
    HeapFree(GetProcessHeap(), 0, this);
    return 0;
}

HRESULT TableObject::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr)
        *count = 0;
    return E_NOTIMPL;
}

HRESULT TableObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT TableObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT TableObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// The preamble of every method, in one place: the out-parameter checked and
// cleared, the tool read as it is now (CO_E_OBJNOTCONNECTED once it has
// gone) and, where the method names a child, its id checked: 0 (the table)
// to the day count. Then the method's own part, given the view and the id.
void Clear(BSTR* out)
{
    *out = nullptr;
}
void Clear(IDispatch** out)
{
    *out = nullptr;
}
void Clear(LONG* out)
{
    *out = 0;
}
void Clear(VARIANT* out)
{
    VariantInit(out);
}

template <typename Own> HRESULT TableObject::Serve(const VARIANT* child, Own own) const
{
    View v;
    if (window_ == nullptr || !ReadView(window_, v))
        return CO_E_OBJNOTCONNECTED;
    if (child != nullptr && (child->vt != VT_I4 || child->lVal < CHILDID_SELF || child->lVal > v.layout.dayCount))
        return E_INVALIDARG;
    return own(v, child != nullptr ? child->lVal : CHILDID_SELF);
}

template <typename Out, typename Own> HRESULT TableObject::Serve(Out* out, const VARIANT* child, Own own) const
{
    if (out == nullptr)
        return E_INVALIDARG;
    Clear(out);
    return Serve(child, own);
}

HRESULT TableObject::NoSuchProperty(const VARIANT& child, BSTR* out) const
{
    return Serve(out, &child, [](const View&, LONG) -> HRESULT { return DISP_E_MEMBERNOTFOUND; });
}

HRESULT TableObject::get_accParent(IDispatch** parent)
{
    // The window's own object, which the platform provides for every window.
    return Serve(parent, nullptr, [this, parent](const View&, LONG) {
        return CreateStdAccessibleObject(
            window_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    });
}

HRESULT TableObject::get_accChildCount(LONG* count)
{
    return Serve(count, nullptr, [count](const View& v, LONG) -> HRESULT {
        *count = v.layout.dayCount;
        return S_OK;
    });
}

HRESULT TableObject::get_accChild(VARIANT child, IDispatch** out)
{
    // The days are simple elements, read through this object by child id.
    return Serve(out, &child, [](const View&, LONG id) -> HRESULT { return id != CHILDID_SELF ? S_FALSE : E_INVALIDARG; });
}

HRESULT TableObject::get_accName(VARIANT child, BSTR* name)
{
    return Serve(name, &child, [name](const View& v, LONG id) {
        const CalToolState& s = *v.state;
        return Answer(id == CHILDID_SELF ? Title(s) : LongDate(s.shown.wYear, s.shown.wMonth, static_cast<WORD>(id)),
            name);
    });
}

HRESULT TableObject::get_accValue(VARIANT child, BSTR* value)
{
    return NoSuchProperty(child, value);
}

HRESULT TableObject::get_accDescription(VARIANT child, BSTR* description)
{
    // The table tells today's date; a day the host marked says so, with the
    // host's text for it.
    return Serve(description, &child, [description](const View& v, LONG id) -> HRESULT {
        const CalToolState& s = *v.state;
        if (id == CHILDID_SELF)
            return Answer(LongDate(s.todayYear, s.todayMonth, s.shown.wDay), description);
        if (((CalShownDayMarks(&s) >> (id - 1)) & 1u) == 0)
            return S_FALSE;
        return Answer(MarkedDayDescription(s, static_cast<WORD>(id)), description);
    });
}

HRESULT TableObject::get_accRole(VARIANT child, VARIANT* role)
{
    return Serve(role, &child, [role](const View&, LONG id) {
        return Child(role, id == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL);
    });
}

HRESULT TableObject::get_accState(VARIANT child, VARIANT* state)
{
    return Serve(state, &child, [this, state](const View& v, LONG id) {
        const bool shown = IsWindowVisible(window_) != FALSE;
        LONG bits = 0;
        if (id == CHILDID_SELF) {
            bits = STATE_SYSTEM_FOCUSABLE | (GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0);
            bits |= shown ? 0 : STATE_SYSTEM_INVISIBLE;
        } else {
            // Every day can take the selection and the focus; the selected
            // day has them, the focus while the tool has it.
            bits = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (id == v.selected)
                bits |= STATE_SYSTEM_SELECTED | (GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0);
            bits |= shown && !CalRectEmpty(v.layout.day[id]) ? 0 : STATE_SYSTEM_INVISIBLE;
        }
        return Child(state, bits);
    });
}

HRESULT TableObject::get_accHelp(VARIANT child, BSTR* help)
{
    return NoSuchProperty(child, help);
}

HRESULT TableObject::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic)
{
    if (topic != nullptr)
        *topic = -1;
    return NoSuchProperty(child, file);
}

HRESULT TableObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return NoSuchProperty(child, shortcut);
}

HRESULT TableObject::get_accFocus(VARIANT* child)
{
    // Within the focused tool, the selected day has the focus while shown.
    return Serve(child, nullptr, [this, child](const View& v, LONG) {
        return GetFocus() != window_ ? S_FALSE : Child(child, v.selected != 0 ? v.selected : CHILDID_SELF);
    });
}

HRESULT TableObject::get_accSelection(VARIANT* children)
{
    // The selected day, while its month is shown.
    return Serve(children, nullptr, [children](const View& v, LONG) {
        return v.selected == 0 ? S_FALSE : Child(children, v.selected);
    });
}

HRESULT TableObject::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return Serve(action, &child, [action](const View&, LONG id) -> HRESULT {
        return id == CHILDID_SELF ? DISP_E_MEMBERNOTFOUND : Answer(Label(IDS_PICKDAY), action);
    });
}

HRESULT TableObject::accSelect(LONG flags, VARIANT child)
{
    return Serve(&child, [this, flags](const View& v, LONG id) -> HRESULT {
        constexpr LONG kTake = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
        if (flags == 0 || (flags & ~kTake) != 0 || (id == CHILDID_SELF && flags != SELFLAG_TAKEFOCUS))
            return DISP_E_MEMBERNOTFOUND;
        HWND window = window_;
        if ((flags & SELFLAG_TAKEFOCUS) != 0 && SetFocus(window) == nullptr && GetFocus() != window)
            return S_FALSE;
        const CalDate day{v.state->shown.wYear, v.state->shown.wMonth, static_cast<int32_t>(id)};
        if (id != CHILDID_SELF && CalSelectableDate(day))
            CalSelect(CalToolFromWindow(window), day);
        return S_OK;
    });
}

HRESULT TableObject::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_INVALIDARG;
    *left = *top = *width = *height = 0;
    return Serve(&child, [&](const View& v, LONG id) -> HRESULT {
        const CalRect& r = id == CHILDID_SELF ? v.layout.frame : v.layout.day[id];
        // Mapped as a rectangle: in a mirrored window client x runs from the
        // right, and the platform swaps the sides so that left stays left.
        RECT onScreen{r.left, r.top, r.right, r.bottom};
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
        *left = onScreen.left;
        *top = onScreen.top;
        *width = onScreen.right - onScreen.left;
        *height = onScreen.bottom - onScreen.top;
        return S_OK;
    });
}

HRESULT TableObject::accNavigate(LONG direction, VARIANT start, VARIANT* end)
{
    return Serve(end, &start, [direction, end](const View& v, LONG id) -> HRESULT {
        const int32_t count = v.layout.dayCount;
        int32_t to = 0;
        if (direction == NAVDIR_FIRSTCHILD)
            to = id == CHILDID_SELF && count > 0 ? 1 : 0;
        else if (direction == NAVDIR_LASTCHILD)
            to = id == CHILDID_SELF ? count : 0;
        else if (direction >= NAVDIR_UP && direction <= NAVDIR_PREVIOUS)
            to = CalDayTowards(v.layout, id, kDaySteps[direction - NAVDIR_UP]);
        else
            return E_INVALIDARG;
        // From the table itself only its children are reached: its siblings
        // are the window's, which the platform's window object navigates.
        return to == 0 ? S_FALSE : Child(end, to);
    });
}

HRESULT TableObject::accHitTest(LONG x, LONG y, VARIANT* child)
{
    return Serve(child, nullptr, [this, x, y, child](const View& v, LONG) {
        POINT p{x, y};
        ScreenToClient(window_, &p);
        RECT client{};
        GetClientRect(window_, &client);
        if (!PtInRect(&client, p))
            return S_FALSE;
        return Child(child, CalDayAtPoint(v.layout, p.x, p.y));  // 0, the table itself, off the days
    });
}

HRESULT TableObject::accDoDefaultAction(VARIANT child)
{
    // A day's: the user picks it, as a click does.
    return Serve(&child, [this](const View& v, LONG id) -> HRESULT {
        if (id == CHILDID_SELF)
            return DISP_E_MEMBERNOTFOUND;
        const CalDate day{v.state->shown.wYear, v.state->shown.wMonth, static_cast<int32_t>(id)};
        CalToolState* state = CalToolFromWindow(window_);
        if (CalSelectableDate(day) && CalSelect(state, day))
            CalPickSelection(state);
        return S_OK;
    });
}

HRESULT TableObject::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT TableObject::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT TableObject::Next(ULONG count, VARIANT* children, ULONG* fetched)
{
    if (fetched != nullptr)
        *fetched = 0;
    if (children == nullptr || (fetched == nullptr && count != 1))
        return E_INVALIDARG;
    return Serve(nullptr, [this, count, children, fetched](const View& v, LONG) {
        const auto days = static_cast<ULONG>(v.layout.dayCount);
        ULONG n = 0;
        for (; n < count && cursor_ < days; ++n)
            Child(&children[n], static_cast<LONG>(++cursor_));
        if (fetched != nullptr)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    });
}

HRESULT TableObject::Skip(ULONG count)
{
    return Serve(nullptr, [this, count](const View& v, LONG) {
        const auto days = static_cast<ULONG>(v.layout.dayCount);
        const ULONG left = cursor_ < days ? days - cursor_ : 0;
        cursor_ = count <= left ? cursor_ + count : days;
        return count <= left ? S_OK : S_FALSE;
    });
}

HRESULT TableObject::Reset()
{
    cursor_ = 0;
    return S_OK;
}

HRESULT TableObject::Clone(IEnumVARIANT** out)
{
    if (out == nullptr)
        return E_INVALIDARG;
    *out = nullptr;
    return Serve(nullptr, [this, out](const View&, LONG) -> HRESULT {
        TableObject* copy = Create(window_, cursor_);
        if (copy == nullptr)
            return E_OUTOFMEMORY;
        *out = copy;
        return S_OK;
    });
}

}  // namespace

LRESULT CalAnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT) && Record(window) != nullptr) {
        TableObject* table = TableObject::Create(window, 0);
        if (table != nullptr) {
            const LRESULT handed =
                LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(table));
            table->Release();  // the handed-over reference, if any, is the reader's now
            // Without COM on this thread nothing can be handed over: the
            // platform's standard object still gives readers the window.
            if (SUCCEEDED(static_cast<HRESULT>(handed)))
                return handed;
        }
    }
    return DefWindowProcA(window, WM_GETOBJECT, wParam, lParam);
}

void CalAnnounceShownMonth(HWND window)
{
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void CalAnnounceFocus(HWND window)
{
    // The table first, as before the days could take the focus: hosts follow
    // their tools' focus by it. Then the selected day, where readers end.
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
    const CalToolState* state = Record(window);
    const int32_t day = state != nullptr ? CalShownSelection(state) : 0;
    if (day != 0)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, day);
}

void CalAnnounceSelection(HWND window, LONG day)
{
    NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, day);
    if (GetFocus() == window)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, day);
}

void CalDisconnectAccessibles(HWND window)
{
    while (TableObject* table = TableObject::TakeOneOf(window)) {
        CoDisconnectObject(static_cast<IAccessible*>(table), 0);
        table->Release();
    }
}
