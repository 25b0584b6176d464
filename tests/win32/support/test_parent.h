// A panel window for the tests: the parent of tool windows, recording every
// notification it receives and, when asked for its background, painting a
// known colour into the given surface.
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
    std::array<BYTE, 36> request;  // CTN_PAINTBACKGROUND: the request record as it arrived
};

struct CalTestParent {
    HWND window = nullptr;
    COLORREF background = RGB(0x20, 0x90, 0x40);  // painted for CTN_PAINTBACKGROUND
    std::vector<CalRecordedNotification> notifications;
    // Called for every notification, after it was recorded and handled.
    std::function<void(const CalRecordedNotification&)> onNotification;

    // Creates the parent as a visible top-level window with a client area of
    // width x height at (x, y) on the screen.
    explicit CalTestParent(int width = 400, int height = 300, int x = 40, int y = 40);
    ~CalTestParent();
    CalTestParent(const CalTestParent&) = delete;
    CalTestParent& operator=(const CalTestParent&) = delete;

    // The notifications recorded with the given message number.
    std::vector<CalRecordedNotification> Received(UINT message) const;
};

// Dispatches every message waiting for this thread, for about ms milliseconds.
void CalPumpMessages(DWORD ms = 0);

#endif
