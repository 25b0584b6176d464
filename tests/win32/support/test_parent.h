// A panel window for the tests: the parent of tool windows, recording every
// notification it receives (and counting the context menus passed up to it)
// and, when asked for its background, painting a known colour into the given
// surface.
#ifndef CALENDAR_TESTS_TEST_PARENT_H
#define CALENDAR_TESTS_TEST_PARENT_H

#include <windows.h>

#include <array>
#include <functional>
#include <vector>

struct CalRecordedNotification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::array<BYTE, 36> request;  // CTN_PAINTBACKGROUND, CTN_GETDAYMARKS, CTN_GETDAYTEXT: the record as it arrived
};

// Where a panel sits among the other windows: where it was made, or above
// every other window, so that what the screen shows there is its own whatever
// other programs open meanwhile (for tests that read the screen, with a
// corner of the screen that other tests' windows keep clear of).
enum class CalPanelLayer { Usual, Topmost };

struct CalTestParent {
    HWND window = nullptr;
    COLORREF background = RGB(0x20, 0x90, 0x40);  // painted for CTN_PAINTBACKGROUND
    std::vector<CalRecordedNotification> notifications;
    // Called for every notification, after it was recorded and handled.
    std::function<void(const CalRecordedNotification&)> onNotification;
    // When set, answers CTN_GETDAYMARKS: the marks of year and month, with
    // the result non-zero; unset, the panel knows nothing of marks.
    std::function<DWORD(LONG year, LONG month)> dayMarks;
    // When set, answers CTN_GETDAYTEXT with its text for the date, cut to the
    // capacity given; a null text, or none set, leaves the question unanswered.
    std::function<const wchar_t*(DWORD date)> dayText;
    // WM_CONTEXTMENU messages that reached the panel: a child passes up
    // those it leaves to its default handling.
    int contextMenus = 0;

    // Creates the parent as a visible top-level window with a client area of
    // width x height at (x, y) on the screen.
    explicit CalTestParent(int width = 400, int height = 300, int x = 40, int y = 40,
        CalPanelLayer layer = CalPanelLayer::Usual);
    ~CalTestParent();
    CalTestParent(const CalTestParent&) = delete;
    CalTestParent& operator=(const CalTestParent&) = delete;

    // The notifications recorded with the given message number.
    std::vector<CalRecordedNotification> Received(UINT message) const;
};

// Moves a top-level window (of any process) to (x, y) on the screen, above
// every other window, without activating it.
void CalTestPutOnTop(HWND window, int x, int y);

// Dispatches every message waiting for this thread, for about ms milliseconds.
void CalPumpMessages(DWORD ms = 0);

#endif
