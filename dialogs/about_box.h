// The About box: the tool's name and notice, and a hidden caption.
#ifndef CALENDAR_DIALOGS_ABOUT_BOX_H
#define CALENDAR_DIALOGS_ABOUT_BOX_H

#include <windows.h>

#include <cstdint>

// Progress through the mouse sequence that reveals the hidden caption,
// shared by every About box of the process and kept between boxes.
extern int32_t g_aboutClicks;

INT_PTR CALLBACK CalAboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the About box modally over owner; its result is of no interest.
void CalShowAbout(HWND owner);

#endif
