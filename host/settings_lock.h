// One host per settings file. A host holds FILE.lock open without sharing
// for its whole life, so a second host on the same file cannot open it and
// says so instead of writing over the first one's settings. The lock is an
// open handle, not the file's existence: a handle dies with its process, so
// a host that was killed leaves at most a stale file, which the next host
// opens as if it were new.
#ifndef PANELHOST_SETTINGS_LOCK_H
#define PANELHOST_SETTINGS_LOCK_H

#include <windows.h>

#include <string>

enum class HostLockState {
    held,         // this host keeps the settings file
    inUse,        // another program (another host) holds the lock
    unavailable,  // the lock file could not be made (a read-only or missing folder): try again later
};

struct HostSettingsLock {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::string path;  // of the lock file, while held
    ~HostSettingsLock();
};

HostLockState HostTakeSettingsLock(HostSettingsLock* lock, const std::string& settingsPath);

// Closes the handle and removes the lock file, unless another host has
// opened it in the meantime (then the removal fails, as it should).
void HostReleaseSettingsLock(HostSettingsLock* lock);

#endif
