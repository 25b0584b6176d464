// The host's windows read the way the user's language does: mirrored, with
// their origin on the right, where it reads right to left.
#ifndef CALENDAR_HOST_READING_LAYOUT_H
#define CALENDAR_HOST_READING_LAYOUT_H

// Whether the user's locale reads right to left (Hebrew, Arabic, Persian...).
bool HostReadsRightToLeft();

// Makes every window the host creates from now on mirrored when the user's
// locale reads right to left, as programs localised for those languages are.
void HostFollowReadingLayout();

#endif
