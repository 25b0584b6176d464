// The settings file on disk: read at start, with a damaged, truncated,
// empty or foreign file moved aside rather than overwritten; written by
// replacing the old file with a complete new one, so that a crash or a
// kill in the middle of a save leaves the last good file in place.
#ifndef PANELHOST_SETTINGS_STORE_H
#define PANELHOST_SETTINGS_STORE_H

#include <string>

#include "host/settings_format.h"

struct HostLoadOutcome {
    bool loaded = false;   // panel holds what the file saved
    bool writable = true;  // false: a bad file could not be moved aside, so it must not be overwritten
    std::string problem;   // non-empty: what was wrong with the file, in plain words
    HostSavedPanel panel;
};

HostLoadOutcome HostLoadSettingsFile(const std::string& path);

// Writes path.new, flushes it and renames it over path. On failure leaves
// path as it was, removes path.new and says why in *error, in plain words
// (a full disk, a read-only folder or file, a file in use, a folder gone).
bool HostSaveSettingsFile(const std::string& path, const HostSavedPanel& panel, std::string* error);

// Makes the folder that holds path again when it has gone while the host
// runs (deleted, say), so that the settings are not lost with it; only the
// one folder, never a missing drive or tree. True when it was made again.
bool HostRemakeSettingsFolder(const std::string& path);

// PanelHost\panel.settings in the user's application-data folder (APPDATA),
// the folder created when missing.
std::string HostDefaultSettingsPath();

#endif
