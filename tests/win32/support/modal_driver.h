// Drives a modal loop (a popup menu, a dialog box, the font chooser) from
// inside it: steps run from a thread timer that the loop dispatches, and a
// deadline closes whatever is still open so that a test fails instead of
// hanging.
#ifndef CALENDAR_TESTS_MODAL_DRIVER_H
#define CALENDAR_TESTS_MODAL_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct CalModalScript {
    // A step is tried on every tick until it returns true; then the next one.
    std::vector<std::function<bool()>> steps;
    DWORD timeoutMs = 5000;
    // Set by Run: the deadline closed what was open. A script that did not
    // finish but was not timed out ended because its loop ended by itself.
    bool timedOut = false;

    CalModalScript& Then(std::function<bool()> step)
    {
        steps.push_back(std::move(step));
        return *this;
    }

    // Calls body, which enters the modal loop, and runs the steps from
    // within it. True when every step ran and body returned before the
    // deadline; on the deadline every menu and dialog box of this thread is
    // closed and the result is false. Runs do not nest.
    bool Run(const std::function<void()>& body);
};

// The visible top-level window of this thread with the class name: "#32768"
// for a popup menu, "#32770" for a dialog box. Null when there is none.
HWND CalTestFindWindow(const char* className, const char* title = nullptr);

// The menu shown by the open popup menu window, or null.
HMENU CalTestOpenMenu();

// The text of a menu item (by position), "" for a separator.
std::string CalTestMenuText(HMENU menu, int position);

// In an open font chooser, selects a face other than current in its list of
// font names, as a user's click would. Returns the face, "" when the list
// offers no other.
std::string CalTestPickOtherFace(HWND chooser, const char* current);

#endif
