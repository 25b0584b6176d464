#include "tests/win32/support/host_process.h"

#include <algorithm>
#include <cstring>

#include "plugin/caltool.h"
#include "tool/day_marks.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/time_scale.h"

std::string g_hostExe;
std::string g_pluginDll;

namespace {

struct Search {
    DWORD pid;
    const char* className;
    bool visibleOnly;
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (pid != s->pid || window == s->except || lstrcmpA(name, s->className) != 0 ||
        (s->visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    s->found = window;
    return FALSE;
}

BOOL CALLBACK CollectTool(HWND window, LPARAM param)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "CalTool") == 0)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

}  // namespace

HWND FindTopLevel(DWORD pid, const char* className, bool visibleOnly, HWND except)
{
    Search s{pid, className, visibleOnly, except, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HostBlock DefaultBlock()
{
    CalTestParent parent;
    RECT r{0, 0, 160, 120};
    HWND tool = CalTestPlugin().create(parent.window, &r, nullptr, 0, 0);
    CalToolSettings* live = nullptr;
    SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&live));
    HostBlock block{};
    if (live != nullptr)
        std::memcpy(block.data(), live, block.size());
    DestroyWindow(tool);
    return block;
}

LONG BlockField(const HostBlock& block, size_t offset)
{
    LONG v;
    std::memcpy(&v, block.data() + offset, sizeof v);
    return v;
}

HostProcess::HostProcess(const std::vector<std::string>& args)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE write[2]{};
    for (int i = 0; i < 2; ++i) {
        CreatePipe(&pipes_[i], &write[i], &inherit, 0);
        SetHandleInformation(pipes_[i], HANDLE_FLAG_INHERIT, 0);
    }
    std::string line = "\"" + g_hostExe + "\"";
    for (const std::string& a : args)
        line += " \"" + a + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write[0];
    startup.hStdError = write[1];
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info_))
        info_ = {};
    for (int i = 0; i < 2; ++i) {
        CloseHandle(write[i]);  // the host holds the only write ends: the readers see the end
        readers_[i] = std::thread([this, i] {
            char buffer[512];
            DWORD got = 0;
            while (ReadFile(pipes_[i], buffer, sizeof buffer, &got, nullptr) && got > 0)
                text_[i].append(buffer, got);
        });
    }
    if (started())
        slot_ = VirtualAllocEx(info_.hProcess, nullptr, sizeof(void*), MEM_COMMIT, PAGE_READWRITE);
}

HostProcess::~HostProcess()
{
    if (started() && Wait(0) == STILL_ACTIVE)
        Kill();
    Drain();
    for (HANDLE h : pipes_)
        CloseHandle(h);
    if (started()) {
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
}

void HostProcess::Drain()
{
    for (std::thread& t : readers_)
        if (t.joinable())
            t.join();
}

bool HostProcess::WaitForTools(size_t count, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (started() && GetTickCount() - start < CalTestScaled(timeoutMs)) {
        panel_ = FindTopLevel(info_.dwProcessId, "PanelHostWindow", true);
        if (panel_ != nullptr && Tools().size() == count)
            return true;
        if (WaitForSingleObject(info_.hProcess, 20) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

std::vector<HWND> HostProcess::Tools() const
{
    std::vector<HWND> tools;
    if (panel_ != nullptr)
        EnumChildWindows(panel_, CollectTool, reinterpret_cast<LPARAM>(&tools));
    std::vector<std::pair<POINT, HWND>> placed;
    for (HWND t : tools) {
        RECT r;
        GetWindowRect(t, &r);
        placed.push_back({{r.left, r.top}, t});
    }
    std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
        return a.first.y != b.first.y ? a.first.y < b.first.y : a.first.x < b.first.x;
    });
    for (size_t i = 0; i < placed.size(); ++i)
        tools[i] = placed[i].second;
    return tools;
}

HWND HostProcess::Sheet(HWND except) const
{
    return FindTopLevel(info_.dwProcessId, "#32770", true, except);
}

std::vector<BYTE> HostProcess::ReadRecord(HWND tool, size_t offset, size_t size) const
{
    std::vector<BYTE> bytes(size);
    DWORD address = 0;
    SIZE_T got = 0;
    if (SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(slot_)) == 132 &&
        ReadProcessMemory(info_.hProcess, slot_, &address, sizeof address, &got) && address != 0)
        ReadProcessMemory(
            info_.hProcess, reinterpret_cast<void*>(uintptr_t{address} + offset), bytes.data(), size, &got);
    return bytes;
}

bool HostProcess::WriteRecord(HWND tool, size_t offset, const void* bytes, size_t size) const
{
    DWORD address = 0;
    SIZE_T done = 0;
    return SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(slot_)) == 132 &&
        ReadProcessMemory(info_.hProcess, slot_, &address, sizeof address, &done) && address != 0 &&
        WriteProcessMemory(
            info_.hProcess, reinterpret_cast<void*>(uintptr_t{address} + offset), bytes, size, &done);
}

HostBlock HostProcess::LiveBlock(HWND tool) const
{
    const std::vector<BYTE> bytes = ReadRecord(tool, 0, 132);
    HostBlock block;
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

void HostProcess::SetBlock(HWND tool, const HostBlock& block) const
{
    void* there = VirtualAllocEx(info_.hProcess, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    SIZE_T put = 0;
    if (there != nullptr && WriteProcessMemory(info_.hProcess, there, block.data(), block.size(), &put))
        SendMessageA(tool, CTM_SETSETTINGS, 132, reinterpret_cast<LPARAM>(there));
    VirtualFreeEx(info_.hProcess, there, 0, MEM_RELEASE);
}

std::string HostProcess::StatusText() const
{
    char text[1024] = "";
    GetWindowTextA(GetDlgItem(panel_, 210), text, sizeof text);
    return text;
}

std::string HostProcess::WaitForStatus(const std::string& text, DWORD timeoutMs) const
{
    std::string seen;
    return CalWaitFor([&] { return (seen = StatusText()).find(text) != std::string::npos; }, timeoutMs) ? seen
                                                                                                     : "";
}

int64_t HostProcess::MarksOf(HWND tool, int32_t year, int32_t month) const
{
    const std::vector<BYTE> field = ReadRecord(tool, offsetof(CalToolState, marks), sizeof(void*));
    uintptr_t address = 0;
    std::memcpy(&address, field.data(), sizeof address);
    CalDayMarkStore store{};
    SIZE_T got = 0;
    if (address == 0 ||
        !ReadProcessMemory(info_.hProcess, reinterpret_cast<void*>(address), &store, sizeof store, &got))
        return -1;
    for (const CalMarkedMonth& known : store.months.entry)
        if (known.year == year && known.month == month)
            return known.days;
    return -1;
}

DWORD HostProcess::Wait(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, CalTestScaled(timeoutMs)) == WAIT_OBJECT_0)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void HostProcess::Kill()
{
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, CalTestScaled(10000));
}

std::string HostProcess::Errors()
{
    Drain();
    return text_[1];
}

std::string HostProcess::Output()
{
    Drain();
    return text_[0];
}
