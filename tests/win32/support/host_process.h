// Runs PanelHost.exe as a user's session would, from another process: its
// standard output and error read through pipes, its windows found by
// class, its tools' live settings blocks read out of its memory.
#ifndef CALENDAR_TESTS_HOST_PROCESS_H
#define CALENDAR_TESTS_HOST_PROCESS_H

#include <windows.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/support/time_scale.h"

using HostBlock = std::array<BYTE, 132>;

extern std::string g_hostExe;  // Windows paths, from the command line
extern std::string g_pluginDll;

// A tool's defaults, from a tool of the library (CalTestPlugin) made in this
// process.
HostBlock DefaultBlock();

// The 32-bit field at offset in a block.
LONG BlockField(const HostBlock& block, size_t offset);

// A top-level window of the process with the class (visible only, unless
// asked otherwise) other than except, or null.
HWND FindTopLevel(DWORD pid, const char* className, bool visibleOnly = true, HWND except = nullptr);

class HostProcess {
public:
    // Starts the host with these arguments (each quoted).
    explicit HostProcess(const std::vector<std::string>& args);
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    HANDLE process() const { return info_.hProcess; }

    // Waits until the panel shows count tools; false after timeoutMs.
    bool WaitForTools(size_t count, DWORD timeoutMs = 15000);
    HWND panel() const { return panel_; }
    // The panel's tools, in the panel's order (row by row).
    std::vector<HWND> Tools() const;
    // A visible top-level dialog box of the host (the property sheet, when
    // no other box is open) other than except, or null.
    HWND Sheet(HWND except = nullptr) const;
    HostBlock LiveBlock(HWND tool) const;
    // Bytes of the tool's record in the host, from its start (the block).
    std::vector<BYTE> ReadRecord(HWND tool, size_t offset, size_t size) const;
    // Writes bytes into the tool's record in the host, at offset from its start.
    bool WriteRecord(HWND tool, size_t offset, const void* bytes, size_t size) const;
    // Hands the tool a block through CTM_SETSETTINGS, from the host's memory.
    void SetBlock(HWND tool, const HostBlock& block) const;
    std::string StatusText() const;
    // The status line, once it contains text; empty after timeoutMs.
    std::string WaitForStatus(const std::string& text, DWORD timeoutMs = 15000) const;
    // The days the tool knows as marked in a month, read out of its record
    // in the host; -1 when it knows nothing of the month.
    int64_t MarksOf(HWND tool, int32_t year, int32_t month) const;

    // Waits for the process to end; its exit code, or STILL_ACTIVE after the timeout.
    DWORD Wait(DWORD timeoutMs = 15000);
    void Kill();
    std::string Errors();  // what it wrote to standard error, once it has ended
    std::string Output();

private:
    PROCESS_INFORMATION info_{};
    HWND panel_ = nullptr;
    HANDLE pipes_[2]{};
    std::string text_[2];
    std::thread readers_[2];
    void* slot_ = nullptr;  // a pointer variable in the host for CTM_GETSETTINGS
    void Drain();
};

// Waits until condition holds, up to about ms milliseconds (stretched under
// an emulator); false when it never did.
template <typename Condition> bool CalWaitFor(Condition condition, DWORD ms = 10000)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > CalTestScaled(ms))
            return false;
        Sleep(20);
    }
    return true;
}

#endif
