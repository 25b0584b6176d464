// The tool's accessible object. It holds only the window handle and looks
// the tool's record up again on every call, so that an object a reader keeps
// after the window has gone answers CO_E_OBJNOTCONNECTED instead of reading
// a freed record.
#include "tool/accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <new>

#include "calendar/calendar.h"
#include "plugin/module.h"
#include "tool/day_cells.h"
#include "tool/tool_state.h"
#include "view/month_layout.h"
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
    int32_t today = 0;  // the day marked as today, 0 while another month is shown
};

bool ReadView(HWND window, View& v)
{
    v.state = Record(window);
    if (v.state == nullptr)
        return false;
    const CalToolState& s = *v.state;
    RECT client{};
    GetClientRect(window, &client);
    CalLayoutInput in{};
    in.width = client.right;
    in.height = client.bottom;
    in.weekNumbers = s.settings.weekNumbers;
    in.firstDay = s.settings.firstDay;
    in.year = s.shown.wYear;
    in.month = s.shown.wMonth;
    in.todayDay = s.todayMonth == s.shown.wMonth && s.todayYear == s.shown.wYear ? s.shown.wDay : 0;
    v.layout = CalComputeMonthLayout(in);
    v.today = v.layout.hasToday ? in.todayDay : 0;
    return true;
}

// The title as painted: the same text the month view shows.
BSTR Title(const CalToolState& s)
{
    CalText title;
    CalFormatTitle(s.shown.wYear, s.shown.wMonth, title);
    return SysAllocString(title);
}

// The locale's long date. Before 1601 the formatter refuses any date; the
// day number with the painted title still names it.
BSTR LongDate(WORD year, WORD month, WORD day)
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    date.wDayOfWeek = static_cast<WORD>((CalDayOfWeek(year, month, day) + 1) % 7);  // from Monday = 0
    wchar_t text[128];
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, text, 128) > 0)
        return SysAllocString(text);
    CalText title;
    CalFormatTitle(year, month, title);
    wchar_t fallback[40];
    wsprintfW(fallback, L"%u %s", day, title);
    return SysAllocString(fallback);
}

HRESULT Answer(BSTR text, BSTR* out)
{
    *out = text;
    return text != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* v, LONG id)
{
    v->vt = VT_I4;
    v->lVal = id;
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
    // The tool as it is now, or CO_E_OBJNOTCONNECTED once it has gone.
    HRESULT Read(View& v) const;
    // The same, and the child id the caller names: 0 (the table) to the day count.
    HRESULT ReadChild(const VARIANT& child, View& v, LONG& id) const;
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

HRESULT TableObject::Read(View& v) const
{
    return window_ != nullptr && ReadView(window_, v) ? S_OK : CO_E_OBJNOTCONNECTED;
}

HRESULT TableObject::ReadChild(const VARIANT& child, View& v, LONG& id) const
{
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > v.layout.dayCount)
        return E_INVALIDARG;
    id = child.lVal;
    return S_OK;
}

HRESULT TableObject::NoSuchProperty(const VARIANT& child, BSTR* out) const
{
    if (out == nullptr)
        return E_INVALIDARG;
    *out = nullptr;
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
}

HRESULT TableObject::get_accParent(IDispatch** parent)
{
    if (parent == nullptr)
        return E_INVALIDARG;
    *parent = nullptr;
    View v;
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    // The window's own object, which the platform provides for every window.
    return CreateStdAccessibleObject(
        window_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

HRESULT TableObject::get_accChildCount(LONG* count)
{
    if (count == nullptr)
        return E_INVALIDARG;
    *count = 0;
    View v;
    const HRESULT hr = Read(v);
    if (SUCCEEDED(hr))
        *count = v.layout.dayCount;
    return hr;
}

HRESULT TableObject::get_accChild(VARIANT child, IDispatch** out)
{
    if (out == nullptr)
        return E_INVALIDARG;
    *out = nullptr;
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    if (FAILED(hr))
        return hr;
    // The days are simple elements, read through this object by child id.
    return id != CHILDID_SELF ? S_FALSE : E_INVALIDARG;
}

HRESULT TableObject::get_accName(VARIANT child, BSTR* name)
{
    if (name == nullptr)
        return E_INVALIDARG;
    *name = nullptr;
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    if (FAILED(hr))
        return hr;
    const CalToolState& s = *v.state;
    if (id == CHILDID_SELF)
        return Answer(Title(s), name);
    return Answer(LongDate(s.shown.wYear, s.shown.wMonth, static_cast<WORD>(id)), name);
}

HRESULT TableObject::get_accValue(VARIANT child, BSTR* value)
{
    return NoSuchProperty(child, value);
}

HRESULT TableObject::get_accDescription(VARIANT child, BSTR* description)
{
    if (description == nullptr)
        return E_INVALIDARG;
    *description = nullptr;
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    if (FAILED(hr))
        return hr;
    if (id != CHILDID_SELF)
        return S_FALSE;  // today's cell is told by its state
    const CalToolState& s = *v.state;
    return Answer(LongDate(s.todayYear, s.todayMonth, s.shown.wDay), description);
}

HRESULT TableObject::get_accRole(VARIANT child, VARIANT* role)
{
    if (role == nullptr)
        return E_INVALIDARG;
    VariantInit(role);
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    if (SUCCEEDED(hr))
        SetChild(role, id == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL);
    return hr;
}

HRESULT TableObject::get_accState(VARIANT child, VARIANT* state)
{
    if (state == nullptr)
        return E_INVALIDARG;
    VariantInit(state);
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    if (FAILED(hr))
        return hr;
    const bool shown = IsWindowVisible(window_) != FALSE;
    LONG bits = 0;
    if (id == CHILDID_SELF) {
        bits = STATE_SYSTEM_FOCUSABLE | (GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0);
        bits |= shown ? 0 : STATE_SYSTEM_INVISIBLE;
    } else {
        // Today's cell reads as selected, which readers speak in their own
        // language: the only mark the view gives a day.
        bits = id == v.today ? STATE_SYSTEM_SELECTED : 0;
        bits |= shown && !CalRectEmpty(v.layout.day[id]) ? 0 : STATE_SYSTEM_INVISIBLE;
    }
    SetChild(state, bits);
    return S_OK;
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
    if (child == nullptr)
        return E_INVALIDARG;
    VariantInit(child);
    View v;
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    if (GetFocus() != window_)
        return S_FALSE;
    SetChild(child, CHILDID_SELF);
    return S_OK;
}

HRESULT TableObject::get_accSelection(VARIANT* children)
{
    if (children == nullptr)
        return E_INVALIDARG;
    VariantInit(children);
    View v;
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    if (v.today == 0)
        return S_FALSE;
    SetChild(children, v.today);
    return S_OK;
}

HRESULT TableObject::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return NoSuchProperty(child, action);
}

HRESULT TableObject::accSelect(LONG flags, VARIANT child)
{
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    if (FAILED(hr))
        return hr;
    if (id != CHILDID_SELF || flags != SELFLAG_TAKEFOCUS)
        return DISP_E_MEMBERNOTFOUND;
    return SetFocus(window_) != nullptr || GetFocus() == window_ ? S_OK : S_FALSE;
}

HRESULT TableObject::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_INVALIDARG;
    *left = *top = *width = *height = 0;
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    if (FAILED(hr))
        return hr;
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
}

HRESULT TableObject::accNavigate(LONG direction, VARIANT start, VARIANT* end)
{
    if (end == nullptr)
        return E_INVALIDARG;
    VariantInit(end);
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(start, v, id);
    if (FAILED(hr))
        return hr;
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
    // From the table itself only its children are reached: its siblings are
    // the window's, which the platform's window object navigates.
    if (to == 0)
        return S_FALSE;
    SetChild(end, to);
    return S_OK;
}

HRESULT TableObject::accHitTest(LONG x, LONG y, VARIANT* child)
{
    if (child == nullptr)
        return E_INVALIDARG;
    VariantInit(child);
    View v;
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    POINT p{x, y};
    ScreenToClient(window_, &p);
    RECT client{};
    GetClientRect(window_, &client);
    if (!PtInRect(&client, p))
        return S_FALSE;
    SetChild(child, CalDayAtPoint(v.layout, p.x, p.y));  // 0, the table itself, off the days
    return S_OK;
}

HRESULT TableObject::accDoDefaultAction(VARIANT child)
{
    View v;
    LONG id = 0;
    const HRESULT hr = ReadChild(child, v, id);
    return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
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
    View v;
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    const auto days = static_cast<ULONG>(v.layout.dayCount);
    ULONG n = 0;
    for (; n < count && cursor_ < days; ++n)
        SetChild(&children[n], static_cast<LONG>(++cursor_));
    if (fetched != nullptr)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT TableObject::Skip(ULONG count)
{
    View v;
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    const auto days = static_cast<ULONG>(v.layout.dayCount);
    const ULONG left = cursor_ < days ? days - cursor_ : 0;
    cursor_ = count <= left ? cursor_ + count : days;
    return count <= left ? S_OK : S_FALSE;
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
    View v;
    const HRESULT hr = Read(v);
    if (FAILED(hr))
        return hr;
    TableObject* copy = Create(window_, cursor_);
    if (copy == nullptr)
        return E_OUTOFMEMORY;
    *out = copy;
    return S_OK;
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
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
}

void CalDisconnectAccessibles(HWND window)
{
    while (TableObject* table = TableObject::TakeOneOf(window)) {
        CoDisconnectObject(static_cast<IAccessible*>(table), 0);
        table->Release();
    }
}
