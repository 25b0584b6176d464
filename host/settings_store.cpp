#include "host/settings_store.h"

#include <windows.h>
#include <shlobj.h>

#include "host/plugin_host.h"

namespace {

// Far beyond any panel's file: a larger one is not ours, and is not read whole.
constexpr DWORD kMaxFileSize = 1u << 20;

// Moves a bad file to path.damaged-N, the first N not taken, never replacing
// anything. Returns the new name, or "" when it could not be moved.
std::string SetAside(const std::string& path, DWORD* error)
{
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = path + ".damaged-" + std::to_string(n);
        if (MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE)
            return aside;
        *error = GetLastError();
        if (*error != ERROR_ALREADY_EXISTS && *error != ERROR_FILE_EXISTS)
            return "";
    }
    return "";
}

// Another program (a scanner, a backup) may hold the file for a moment:
// such a hold is waited out for a short while before it counts as a failure.
constexpr int kBusyTries = 5;
constexpr DWORD kBusyWaitMs = 50;

bool Busy(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string Numbered(const std::string& words, DWORD code)
{
    return words + " (error " + std::to_string(code) + ")";
}

// Why path.new could not be made, in the words a user acts on.
std::string CreateProblem(const std::string& path, DWORD code)
{
    if (code == ERROR_PATH_NOT_FOUND || code == ERROR_FILE_NOT_FOUND)
        return Numbered("its folder " + FolderOf(path) + " does not exist", code);
    if (code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT)
        return Numbered("its folder " + FolderOf(path) + " is read-only", code);
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL)
        return Numbered("the disk is full", code);
    return HostErrorText(code);
}

std::string WriteProblem(DWORD code)
{
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL)
        return Numbered("the disk is full", code);
    return HostErrorText(code);
}

std::string ReplaceProblem(DWORD code)
{
    if (code == ERROR_ACCESS_DENIED)
        return Numbered("the file is read-only or in use by another program", code);
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
        return Numbered("the file is in use by another program", code);
    return HostErrorText(code);
}

bool ReadWhole(const std::string& path, std::vector<uint8_t>* bytes, DWORD* error, bool* tooLarge)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 4 * kBusyTries; ++attempt) {
        if (attempt != 0)
            Sleep(kBusyWaitMs);
        file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        *error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (*error != ERROR_SHARING_VIOLATION && *error != ERROR_LOCK_VIOLATION)
            break;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    *tooLarge = high != 0 || size > kMaxFileSize;
    bool ok = true;
    if (!*tooLarge) {
        bytes->resize(size);
        DWORD got = 0;
        ok = size == 0 || (ReadFile(file, bytes->data(), size, &got, nullptr) != FALSE && got == size);
        if (!ok)
            *error = GetLastError();
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

HostLoadOutcome HostLoadSettingsFile(const std::string& path)
{
    HostLoadOutcome out;
    std::vector<uint8_t> bytes;
    DWORD error = 0;
    bool tooLarge = false;
    if (!ReadWhole(path, &bytes, &error, &tooLarge)) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return out;  // a first start: nothing saved yet
        // Unreadable is not damaged: leave it alone, and do not write over it.
        out.writable = false;
        const std::string why = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION
            ? Numbered("it is in use by another program", error)
            : HostErrorText(error);
        out.problem = "The settings file " + path + " could not be read: " + why +
            ". It is left as it is and nothing is saved this time; default calendars shown.";
        return out;
    }
    std::string detail;
    if (tooLarge) {
        detail = "it is far too large to be a panel settings file";
    } else {
        HostDecodeResult decoded = HostDecodeSettings(bytes.data(), bytes.size());
        if (decoded.status == HostFileStatus::ok) {
            out.loaded = true;
            out.panel = std::move(decoded.panel);
            return out;
        }
        detail = decoded.detail;
    }
    const std::string aside = SetAside(path, &error);
    if (aside.empty()) {
        out.writable = false;
        out.problem = "The settings file " + path + " was not used: " + detail +
            ". It could not be moved aside (" + HostErrorText(error) +
            "), so it is left as it is and nothing is saved this time; default "
            "calendars shown.";
    } else {
        out.problem = "The settings file " + path + " was not used: " + detail + ". Kept as " + aside +
            "; default calendars shown.";
    }
    return out;
}

bool HostSaveSettingsFile(const std::string& path, const HostSavedPanel& panel, std::string* error)
{
    const std::vector<uint8_t> bytes = HostEncodeSettings(panel);
    const std::string temporary = path + ".new";
    HANDLE file = CreateFileA(
        temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = "could not write " + path + ": " + CreateProblem(path, GetLastError());
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
        written == bytes.size();
    // On the disk before the rename makes it the settings file.
    ok = ok && FlushFileBuffers(file) != FALSE;
    DWORD code = ok ? 0 : GetLastError();
    // A short write that set no error is still a full disk.
    if (!ok && code == 0)
        code = ERROR_DISK_FULL;
    CloseHandle(file);
    std::string problem = ok ? std::string() : WriteProblem(code);
    for (int attempt = 0; ok && attempt < kBusyTries; ++attempt) {
        if (attempt != 0)
            Sleep(kBusyWaitMs);
        if (MoveFileExA(
                temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE)
            return true;
        code = GetLastError();
        if (!Busy(code))
            break;
    }
    if (ok)
        problem = ReplaceProblem(code);
    DeleteFileA(temporary.c_str());
    *error = "could not write " + path + ": " + problem;
    return false;
}

bool HostRemakeSettingsFolder(const std::string& path)
{
    const std::string folder = FolderOf(path);
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    // Fails when the folder above it has gone too: a drive unplugged is not ours to rebuild.
    return CreateDirectoryA(folder.c_str(), nullptr) != FALSE;
}

std::string HostDefaultSettingsPath()
{
    char folder[MAX_PATH] = "";
    const DWORD n = GetEnvironmentVariableA("APPDATA", folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        folder[0] = '\0';
        if (SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder) != S_OK)
            GetCurrentDirectoryA(MAX_PATH, folder);
    }
    std::string dir = std::string(folder) + "\\PanelHost";
    CreateDirectoryA(dir.c_str(), nullptr);  // already there is fine
    return dir + "\\panel.settings";
}
