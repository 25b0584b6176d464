// The screen's density, which the host's own layout follows. The host is
// aware of the system's density only (its manifest says so): it reads it
// once, and a window moved to a monitor of another density is stretched by
// the system.
#ifndef PANELHOST_SCREEN_DENSITY_H
#define PANELHOST_SCREEN_DENSITY_H

// The system's dots per inch (96 on a plain screen), read on the first call.
int HostScreenDpi();

#endif
