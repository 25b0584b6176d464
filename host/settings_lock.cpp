#include "host/settings_lock.h"

HostSettingsLock::~HostSettingsLock()
{
    HostReleaseSettingsLock(this);
}

HostLockState HostTakeSettingsLock(HostSettingsLock* lock, const std::string& settingsPath)
{
    if (lock->handle != INVALID_HANDLE_VALUE)
        return HostLockState::held;
    const std::string path = settingsPath + ".lock";
    // Read access is enough to hold it, and still opens a lock file left read-only.
    HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? HostLockState::inUse : HostLockState::unavailable;
    lock->handle = handle;
    lock->path = path;
    return HostLockState::held;
}

void HostReleaseSettingsLock(HostSettingsLock* lock)
{
    if (lock->handle == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(lock->handle);
    lock->handle = INVALID_HANDLE_VALUE;
    DeleteFileA(lock->path.c_str());
    lock->path.clear();
}
