// Every message a tool window answers, and its neighbours, sent with random
// parameters: valid addresses where a record is required, none where one
// may be missing, commands with random ids, and notifications and scroll
// reports from windows that are not the tool's spinners. Each answer is
// checked against what the protocol says, the record against what the
// message may change, and a tool the message should leave alone must still
// paint exactly as before.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resource.h"
#include "tests/win32/support/figures.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/seeded_random.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tests/win32/support/transfer_capture.h"
#include "tool/fit_size.h"
#include "tool/tool_state.h"

namespace {

constexpr uint64_t kSeed = 0x4D455353414745ull;
long g_messages = 20000;        // --messages=N
constexpr int kPaintEvery = 4;  // a paint costs a few milliseconds under Wine

// What one message is expected to do.
struct Expected {
    LRESULT result = 0;
    CalToolState record{};
    bool repaint = false;   // the tool invalidates itself
    UINT notification = 0;  // what the host hears, 0 for nothing
    LPARAM notificationParam = 0;
};

class HostileMessages : public CalToolTest {
protected:
    void SetUp() override
    {
        CalToolTest::SetUp();
        CalCaptureInstall(CalTestPlugin().module);
        CalToolSettings s{};
        s.weekNumbers = 1;
        s.firstDay = 2;
        s.font.lfHeight = -11;
        s.font.lfWeight = FW_NORMAL;
        std::strcpy(s.font.lfFaceName, "Tahoma");
        RECT r{0, 0, 200, 160};
        tool_ = CalTestPlugin().create(parent_->window, &r, &s, 0, 0);
        ASSERT_NE(tool_, nullptr);
        UpdateWindow(tool_);
        baseline_ = *CalToolFromWindow(tool_);
        frame_ = CalCapturePaint(tool_);
        ideal_ = SendMessageA(tool_, CTM_GETIDEALSIZE, 0, 0);
        ASSERT_EQ(frame_.width, 200);
    }

    // A window handle that names no window.
    HWND NoWindow()
    {
        for (;;) {
            auto h = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(rng_.Next()));
            if (!IsWindow(h))
                return h;
        }
    }

    // Counts a wrong answer; only the first ones are reported in full.
    bool Report() { return ++wrongAnswers_ <= 25; }

    LPARAM Address(void* p) { return rng_.Below(8) == 0 ? 0 : reinterpret_cast<LPARAM>(p); }

    // Sends one random message and says what it should have done.
    Expected SendOne(UINT& message)
    {
        CalToolState* state = CalToolFromWindow(tool_);
        Expected e;
        e.record = *state;
        CalToolSettings& s = e.record.settings;
        WPARAM w = rng_.Next();
        LPARAM l = static_cast<LPARAM>(rng_.Next());
        switch (rng_.Below(13)) {
            case 0: {
                message = CTM_GETSETTINGS;
                CalToolSettings* out = reinterpret_cast<CalToolSettings*>(0x1234);
                l = Address(&out);
                e.result = l != 0 ? 132 : 0;  // no variable to store into: nothing is stored
                const LRESULT answer = SendMessageA(tool_, message, w, l);
                if ((answer != e.result || (l != 0 && out != &state->settings)) && Report())
                    ADD_FAILURE() << "CTM_GETSETTINGS stored " << out << ", answered " << answer;
                return e;
            }
            case 1: {
                message = CTM_SETSETTINGS;
                CalToolSettings block;
                rng_.Fill(&block, sizeof block);
                w = rng_.Below(2) == 0 ? sizeof block : w;
                l = Address(&block);
                if (w == sizeof block && l != 0)
                    s = block;
                e.result = 0;
                break;
            }
            case 2: {
                message = CTM_CREATEPAGE;
                // Now and then a real parent: the page must come and go cleanly.
                const bool real = rng_.Below(16) == 0;
                w = reinterpret_cast<WPARAM>(real ? parent_->window : NoWindow());
                l = real ? MAKELPARAM(0, 170) : l;  // below the tool, so that closing it exposes nothing
                const auto page = reinterpret_cast<HWND>(SendMessageA(tool_, message, w, l));
                if ((real != (page != nullptr)) && Report())
                    ADD_FAILURE() << "CTM_CREATEPAGE for parent " << w << " gave page " << page;
                // The page opens where its template puts it, over the tool,
                // before it moves: what it uncovers is the platform's repaint.
                if (page != nullptr) {
                    DestroyWindow(page);
                    ValidateRect(tool_, nullptr);
                }
                return Expected{0, e.record, false, 0, 0};
            }
            case 3:
                message = CTM_GETIDEALSIZE;
                e.result = ideal_;
                break;
            case 4: {
                message = CTM_FITSIZE + rng_.Below(3);
                CalFitRequest request;
                rng_.Fill(&request, sizeof request);
                if (rng_.Below(2) == 0) {  // plausible sizes as well as any bits
                    request = CalFitRequest{static_cast<int32_t>(rng_.Below(300)),
                        static_cast<int32_t>(rng_.Below(300)), static_cast<int32_t>(rng_.Below(3000)),
                        static_cast<int32_t>(rng_.Below(3000)), static_cast<int32_t>(rng_.Below(2)),
                        static_cast<int32_t>(rng_.Below(5000))};
                }
                const CalFitRequest sent = request;
                l = Address(&request);
                const LRESULT answer = SendMessageA(tool_, message, w, l);
                if ((std::memcmp(&sent, &request, sizeof sent) != 0) && Report())
                    ADD_FAILURE() << "the fit request was written to";
                e.result = l != 0 ? static_cast<LRESULT>(CalFitSize(sent)) : 0;
                if ((answer != e.result) && Report())
                    ADD_FAILURE() << "CTM_FITSIZE answered " << answer << ", the fit is " << e.result;
                return e;
            }
            case 5: {
                // The neighbours and the tool's own notifications: none is the tool's to answer.
                const UINT others[] = {0x468, 0x470, CTN_SETTINGSCHANGED, CTN_SHOWPROPERTIES,
                    CTN_PAINTBACKGROUND, WM_USER + rng_.Below(0x7C00)};
                message = others[rng_.Below(std::size(others))];
                if ((message >= CTM_GETSETTINGS && message <= CTM_FITSIZE3) ||
                    (message >= CTM_SETDAYMARKS && message <= CTM_SETSELECTION))
                    message = 0x470;
                e.result = DefWindowProcA(tool_, message, w, l);
                break;
            }
            case 6:
            case 7: {
                message = WM_COMMAND;
                const WORD interesting[] = {IDM_PROPERTIES, IDM_WEEKNUMBERS, IDM_FIRSTDAY0, IDM_FIRSTDAY0 + 3,
                    IDM_FIRSTDAY0 + 6, IDC_USEBACKGROUND, 118, 128, 0, IDC_PAGEAPPLY, IDC_MONTHSPIN,
                    IDC_FIRSTDAY0, IDC_SELECTFONT, 0xFFFF};
                WORD id = rng_.Below(2) == 0 ? interesting[rng_.Below(std::size(interesting))]
                                             : static_cast<WORD>(rng_.Next());
                // The font chooser and the About box are modal: they have tests of their own.
                if (id == IDM_SELECTFONT || id == IDC_ABOUT)
                    id = 118;
                w = MAKEWPARAM(id, rng_.Next());
                if (id == IDM_PROPERTIES) {
                    e.notification = CTN_SHOWPROPERTIES;
                } else if (id == IDM_WEEKNUMBERS || id == IDC_USEBACKGROUND ||
                    (id >= IDM_FIRSTDAY0 && id <= IDM_FIRSTDAY0 + 6)) {
                    LONG& option = id == IDM_WEEKNUMBERS ? s.weekNumbers : s.useBackground;
                    if (id >= IDM_FIRSTDAY0 && id <= IDM_FIRSTDAY0 + 6)
                        s.firstDay = id - IDM_FIRSTDAY0;
                    else
                        option = option != 0 ? 0 : 1;
                    e.notification = CTN_SETTINGSCHANGED;
                    e.repaint = true;
                }
                break;
            }
            case 8: {
                message = WM_NOTIFY;
                NMUPDOWN n;
                rng_.Fill(&n, sizeof n);
                if (rng_.Below(2) == 0)
                    n.hdr.code = UDN_DELTAPOS;
                w = rng_.Below(3) == 0 ? IDC_MONTHSPIN : w;
                l = Address(&n);
                if (w == IDC_MONTHSPIN && l != 0)
                    e.record.spinDelta = n.iDelta;
                break;
            }
            case 9: {
                message = WM_HSCROLL;
                const HWND from[] = {state->monthSpin, state->yearSpin, NoWindow(), parent_->window};
                l = reinterpret_cast<LPARAM>(from[rng_.Below(4)]);
                const LONG deltas[] = {-1, 0, 1, rng_.Long()};
                state->spinDelta = e.record.spinDelta = deltas[rng_.Below(4)];
                if (rng_.Below(2) == 0)
                    w = MAKEWPARAM(SB_THUMBPOSITION, 1 + rng_.Below(12));
                const WORD p = HIWORD(w);
                SYSTEMTIME& shown = e.record.shown;
                if (reinterpret_cast<HWND>(l) == state->monthSpin) {
                    // Only a position the spinner can show moves the month; a
                    // wrap past either end carries into the year.
                    const LONG delta = e.record.spinDelta;
                    if (delta != 0 && p >= 1 && p <= 12) {
                        if (delta < 0 && p > shown.wMonth)
                            --shown.wYear;
                        else if (delta > 0 && p < shown.wMonth)
                            ++shown.wYear;
                        shown.wMonth = p;
                    }
                    e.repaint = true;
                } else if (p != shown.wYear) {
                    shown.wYear = p;
                    e.repaint = true;
                }
                break;
            }
            case 10: {
                const UINT own[] = {WM_TIMER, WM_SIZE, WM_ERASEBKGND};
                message = own[rng_.Below(3)];
                e.result = message == WM_ERASEBKGND ? -1 : 0;
                break;
            }
            case 11: {
                // Marks for months other than the one shown at the start, whose
                // picture later messages compare with: any bits, any months,
                // a count that may be 0, larger than the array or absurd.
                message = CTM_SETDAYMARKS;
                CalDayMarks marks[8];
                rng_.Fill(marks, sizeof marks);
                for (CalDayMarks& m : marks) {
                    if (rng_.Below(2) == 0) {
                        m.year = 1601 + static_cast<LONG>(rng_.Below(8399));
                        m.month = 1 + static_cast<LONG>(rng_.Below(12));
                    }
                    if (m.year == baseline_.shown.wYear && m.month == baseline_.shown.wMonth)
                        ++m.year;
                }
                const WPARAM counts[] = {0, 1 + rng_.Below(8), 0xFFFFFFFFu, rng_.Next()};
                w = counts[rng_.Below(4)];
                l = Address(marks);
                if (w > 8 && w <= (9999 - 1601 + 1) * 12)
                    w = 8;  // a count the array holds: a longer one is the host's own fault
                const bool taken = w == 0 || (l != 0 && w <= 8);
                e.result = taken ? 1 : 0;
                e.repaint = taken;
                const LRESULT answer = SendMessageA(tool_, message, w, l);
                if ((answer != e.result) && Report())
                    ADD_FAILURE() << "CTM_SETDAYMARKS (" << w << ", " << l << ") answered " << answer;
                return e;
            }
            default: {
                // Requests that carry no record at all.
                const UINT requests[] = {
                    CTM_GETSETTINGS, CTM_SETSETTINGS, CTM_FITSIZE, CTM_FITSIZE2, CTM_FITSIZE3};
                message = requests[rng_.Below(std::size(requests))];
                l = 0;
                break;
            }
        }
        const LRESULT answer = SendMessageA(tool_, message, w, l);
        if ((answer != e.result) && Report())
            ADD_FAILURE() << "message " << message << " (" << w << ", " << l << ") answered " << answer
                          << ", not " << e.result;
        return e;
    }

    CalRng rng_{kSeed};
    HWND tool_ = nullptr;
    CalToolState baseline_{};
    CalFrame frame_;
    LRESULT ideal_ = 0;
    long wrongAnswers_ = 0;
};

TEST_F(HostileMessages, EveryMessageIsAnsweredAsTheProtocolSaysAndChangesOnlyWhatItMay)
{
    long tried = 0;
    long mismatches = 0;
    long paintsCompared = 0;
    long otherPaints = 0;
    const DWORD start = GetTickCount();
    for (long i = 0; i < g_messages; ++i) {
        // Every message starts from the same tool, with nothing to repaint.
        *CalToolFromWindow(tool_) = baseline_;
        ValidateRect(tool_, nullptr);
        const size_t heard = parent_->notifications.size();
        UINT message = 0;
        const Expected e = SendOne(message);
        ++tried;

        const CalToolState& now = *CalToolFromWindow(tool_);
        bool ok = std::memcmp(&now, &e.record, sizeof now) == 0;
        ok = ok && CalNeedsPaint(tool_) == e.repaint;
        // The marks of a month about to be shown may be asked besides.
        std::vector<CalRecordedNotification> told;
        for (size_t k = heard; k < parent_->notifications.size(); ++k)
            if (parent_->notifications[k].message != CTN_GETDAYMARKS)
                told.push_back(parent_->notifications[k]);
        ok = ok && told.size() == (e.notification != 0 ? 1u : 0u);
        if (ok && !told.empty())
            ok = told[0].message == e.notification && told[0].wParam == reinterpret_cast<WPARAM>(tool_) &&
                told[0].lParam == e.notificationParam;
        if (!ok && ++mismatches <= 25)
            ADD_FAILURE() << "message " << i << " (" << message << ") changed the tool, its update region or "
                          << "what the host heard otherwise than it may: record "
                          << (std::memcmp(&now, &e.record, sizeof now) == 0) << ", repaint " << e.repaint
                          << ", heard " << told.size();

        // A tool left alone paints exactly as before; any other still paints.
        if (i % kPaintEvery == 0) {
            const bool untouched = std::memcmp(&now, &baseline_, sizeof now) == 0;
            const CalFrame frame = CalCapturePaint(tool_);
            if (untouched) {
                ++paintsCompared;
                if (frame != frame_ && ++mismatches <= 25)
                    ADD_FAILURE() << "message " << i << " (" << message << ") changed the picture";
            } else {
                ++otherPaints;
                if (frame.width != 200 && ++mismatches <= 25)
                    ADD_FAILURE() << "message " << i << " (" << message
                                  << ") left a tool that does not paint";
            }
        }
    }
    const DWORD ms = GetTickCount() - start;
    *CalToolFromWindow(tool_) = baseline_;
    EXPECT_EQ(CalCapturePaint(tool_), frame_) << "the tool ends as it began";
    CalPrintFigure("hostile messages tried", tried);
    CalPrintFigure("hostile messages: unchanged tools compared pixel for pixel", paintsCompared);
    CalPrintFigure("hostile messages: changed tools painted", otherPaints);
    CalPrintFigure("hostile messages answered wrongly", wrongAnswers_);
    CalPrintFigure("hostile messages with effects they may not have", mismatches);
    CalPrintFigure("hostile messages run time", ms, " ms");
    EXPECT_EQ(wrongAnswers_, 0);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(paintsCompared, g_messages / kPaintEvery / 4);
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--messages=", 11) == 0)
            g_messages = std::strtol(argv[i] + 11, nullptr, 10);
    return CalTestMain(argc, argv);
}
