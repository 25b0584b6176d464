// A tool's context menu read and closed the moment it shows.
#ifndef CALENDAR_TESTS_MENU_LOOK_H
#define CALENDAR_TESTS_MENU_LOOK_H

#include <windows.h>

#include <string>
#include <vector>

// What an open context menu showed, read while it was open.
struct CalMenuLook {
    bool opened = false;  // the popup window was up and showed a menu
    int items = 0;        // items of the main menu
    bool weekNumbersChecked = false;
    bool backgroundChecked = false;
    int days = 0;                        // items of the weekday submenu
    unsigned markedDays = 0;             // bit i: weekday item i carries a check or radio mark
    std::vector<std::wstring> dayNames;  // the weekday items' texts, as the menu holds them
};

// Right-clicks the tool and closes its menu as soon as the menu loop first
// waits for input; a watchdog closes it after two seconds if that never
// comes (the look then says not opened).
CalMenuLook CalOpenAndCloseMenu(HWND tool);

#endif
