// What a test reads of a tool window and sets in it directly. The record
// itself is CalToolFromWindow's (tool/tool_state.h); here are its spinners'
// positions, whether the window waits for a repaint, a month shown as
// browsing would leave it or stepped to with the keys, and settings blocks
// as the tests make and compare them.
#ifndef CALENDAR_TESTS_TOOL_RECORD_H
#define CALENDAR_TESTS_TOOL_RECORD_H

#include <windows.h>

#include <cstring>

#include "tool/tool_state.h"

// The spinner's position, as the spinner itself reports it.
int CalSpinnerPosition(HWND spinner);

// The window has something to repaint: an update region is pending.
bool CalNeedsPaint(HWND window);

// Shows (year, month) in the tool as the user would find it after browsing
// there: the record and both spinners, with nothing left to repaint.
void CalShowMonth(HWND tool, WORD year, WORD month);

// Shows (year, month) in the tool as a user gets there: Home for today's
// month, then Page Up or Page Down a month at a time.
void CalKeyToMonth(HWND tool, int year, int month);

// Where day's cell of the shown month lies in the tool's client area, as
// the month view lays it out.
RECT CalDayCell(HWND tool, int day);

// A block as a host hands one over: Arial, 9 pixels high, normal weight, and
// the two options given; every other byte zero.
CalToolSettings CalArialSettings(LONG weekNumbers = 0, LONG useBackground = 0);

// Byte for byte, as the host stores the block.
template <typename T> bool CalSameBytes(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

#endif
