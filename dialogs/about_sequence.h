// The About box's hidden caption and the mouse sequence that reveals it:
// pure logic, no platform headers.
#ifndef CALENDAR_DIALOGS_ABOUT_SEQUENCE_H
#define CALENDAR_DIALOGS_ABOUT_SEQUENCE_H

#include <cstdint>

// The mouse events of the box's own window that the sequence looks at.
enum class CalAboutEvent { RightDoubleClick, LeftDoubleClick, MouseMove };

struct CalAboutStepResult {
    int32_t clicks;  // the progress after the event, 0..3
    bool reveal;     // the sequence has just completed
};

// One step of right, left, right, left double-click with no movement in
// between. Progress outside 0..3 counts as 0.
CalAboutStepResult CalAboutStep(int32_t clicks, CalAboutEvent event);

// The hidden caption, 20 characters, stored scrambled: each character c as
// ((c XOR 0x7F) + 31) mod 256.
extern const char g_hiddenCaption[21];

// Unscrambles the NUL-terminated text into out: each byte b becomes
// ((b - 31) mod 256) XOR 0x7F, and a byte that becomes 0 ends the text.
// Text longer than out holds is cut.
void CalRevealCaption(const char* scrambled, char (&out)[100]);

#endif
