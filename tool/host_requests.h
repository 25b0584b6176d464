// The tool window's answers to the host's requests: its settings block,
// a new block, its properties page and its sizes.
#ifndef CALENDAR_TOOL_HOST_REQUESTS_H
#define CALENDAR_TOOL_HOST_REQUESTS_H

#include "tool/tool_state.h"

// Stores the address of the live settings block at the pointer variable
// whose address is lParam; returns the block's size, 132.
LRESULT CalGetSettings(CalToolState* state, LPARAM lParam);

// Copies the block at lParam over the record's when size is 132, and brings
// an open properties page of this tool in line with the record. Returns 0.
LRESULT CalSetSettings(CalToolState* state, WPARAM size, LPARAM lParam);

// Creates the properties page for this tool under parent, at the position
// packed in lParam (x in bits 0-15, y in bits 16-31, both unsigned).
// Returns the page, or 0.
LRESULT CalCreatePage(CalToolState* state, WPARAM parent, LPARAM lParam);

// The size fitted to the CalFitRequest at lParam.
LRESULT CalFitRequestedSize(LPARAM lParam);

#endif
