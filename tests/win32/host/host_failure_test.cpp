// The panel host when its settings file cannot be written or read: a full
// disk, a read-only folder and a read-only file, a folder removed while it
// runs, a file held open by another program, and a second host on the same
// file. Each condition is made real from outside the host (on the Unix side
// where Windows has no means, through Wine's way of starting Unix programs),
// and each run must end with the last good settings on disk, the user told,
// and the host saving again once the condition is gone.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "host/settings_format.h"
#include "resource.h"
#include "tests/win32/support/host_expectations.h"
#include "tests/win32/support/host_process.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_files.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/time_scale.h"

namespace {

constexpr DWORD kExitSettingsInUse = 4;

std::string UnixPath(const std::string& windowsPath)
{
    using Convert = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unix = convert != nullptr ? convert(wide) : nullptr;
    const std::string path = unix != nullptr ? unix : "";
    if (unix != nullptr)
        HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

std::string Quoted(const std::string& unixPath)
{
    return "'" + unixPath + "'";
}

// Runs a Unix shell command and waits for it; its exit status, or -1 when
// it could not be run. Wine starts a Unix program without a process handle,
// so the command reports its end through a file of its own.
int Shell(const std::string& command, const TempFolder& dir)
{
    const std::string marker = dir.path() + "-shell-status";
    DeleteFileA(marker.c_str());
    std::string line = "Z:\\bin\\sh -c \"" + command + "; echo $? > " + Quoted(UnixPath(marker)) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    if (info.hProcess != nullptr) {
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    for (int i = 0; i < 1000 && ReadBytes(marker).empty(); ++i)
        Sleep(10);
    const std::vector<BYTE> status = ReadBytes(marker);
    DeleteFileA(marker.c_str());
    return status.empty() ? -1 : std::atoi(std::string(status.begin(), status.end()).c_str());
}

bool CanCreateIn(const std::string& folder)
{
    const std::string probe = folder + "\\probe";
    HANDLE h =
        CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    DeleteFileA(probe.c_str());
    return true;
}

// A good settings file of `tools` default calendars, its bytes returned.
std::vector<BYTE> WriteGoodFile(const std::string& path, size_t tools)
{
    HostSavedPanel panel;
    panel.tools.resize(tools);
    for (HostSavedTool& t : panel.tools)
        t.block = DefaultBlock();
    const std::vector<BYTE> bytes = HostEncodeSettings(panel);
    EXPECT_TRUE(WriteBytes(path, bytes));
    return bytes;
}

// Waits until the host is past its start, the first save included: it
// answers a sent message only from its message loop.
bool Started(HostProcess& host, size_t tools)
{
    return host.WaitForTools(tools) && SendMessageA(host.panel(), WM_NULL, 0, 0) == 0;
}

// A change the user makes: the tool's own menu command, which the host saves.
void Change(const HostProcess& host, size_t tool = 0)
{
    SendMessageA(host.Tools().at(tool), WM_COMMAND, MAKEWPARAM(IDM_WEEKNUMBERS, 0), 0);
}

size_t Count(const std::string& text, const std::string& words)
{
    size_t n = 0;
    for (size_t at = text.find(words); at != std::string::npos; at = text.find(words, at + 1))
        ++n;
    return n;
}

bool Has(const std::string& text, const std::string& words)
{
    return text.find(words) != std::string::npos;
}

void Figure(const char* condition, const std::string& how, const std::string& said, const std::string& onDisk)
{
    std::printf("== figure host settings, %s (%s): said \"%s\"; on disk: %s\n", condition, how.c_str(),
        said.c_str(), onDisk.c_str());
}

std::string Kept(bool same)
{
    return same ? "the last good file, unchanged" : "NOT the last good file";
}

// Reads a file through a handle the test holds without sharing.
std::vector<BYTE> ReadHeld(HANDLE file)
{
    std::vector<BYTE> bytes(GetFileSize(file, nullptr));
    DWORD got = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (!bytes.empty() && !ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr))
        bytes.clear();
    return bytes;
}

HANDLE HoldWithoutSharing(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(HostFailure, AFullDiskKeepsTheLastGoodFileUntilThereIsRoomAgain)
{
    TempFolder dir;
    const std::string path = dir.Path("panel.settings");
    const std::vector<BYTE> good = WriteGoodFile(path, 2);
    // Every write to the host's new file lands on a device that is always full.
    const std::string full = "ln -sf /dev/full " + Quoted(UnixPath(path + ".new"));
    ASSERT_EQ(Shell(full, dir), 0);
    HostProcess host({"--settings", path, g_pluginDll});
    ASSERT_TRUE(Started(host, 2)) << host.Errors();
    const std::string said = host.StatusText();
    EXPECT_TRUE(Has(said, "the disk is full")) << said;  // the save at start
    EXPECT_EQ(ReadBytes(path), good);
    const bool keptWhileFull = ReadBytes(path) == good;

    // Still full at the next change: tried again, not said again.
    ASSERT_EQ(Shell(full, dir), 0);
    Change(host);
    EXPECT_EQ(ReadBytes(path), good);
    EXPECT_EQ(host.StatusText(), said);

    // Room again: the next change is saved, and the user hears so.
    ASSERT_EQ(Shell("rm -f " + Quoted(UnixPath(path + ".new")), dir), 0);
    Change(host, 1);
    EXPECT_TRUE(Has(host.StatusText(), "saved again")) << host.StatusText();
    ExpectFileMatchesLive(host, ReadBytes(path));
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
    const std::string errors = host.Errors();
    EXPECT_EQ(Count(errors, "the disk is full"), 1u) << errors;
    EXPECT_EQ(Count(errors, "saved again"), 1u) << errors;
    EXPECT_FALSE(FileExists(path + ".new"));
    Figure("full disk", "the new file a link to /dev/full", said, Kept(keptWhileFull));
}


// The focus moved within the host as the user moves it: by Tab, which the
// host's own loop takes, or by a click's SetFocus, which the host hears of
// through the tools' accessibility events. True once the tool has it.
bool MoveFocus(const HostProcess& host, HWND tool, bool byTab)
{
    if (byTab) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        PostMessageA(GetFocus(), WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC0000001u));
    } else {
        SetFocus(tool);
    }
    const bool moved = CalWaitFor([tool] { return GetFocus() == tool; });
    // Time for the events the move raised to reach the host's loop, and past it.
    Sleep(CalTestScaled(300));
    SendMessageA(host.panel(), WM_NULL, 0, 0);
    return moved;
}

TEST(HostFailure, AFailureStaysOnTheStatusLineWhileTheFocusMoves)
{
    TempFolder dir;
    const std::string path = dir.Path("panel.settings");
    WriteGoodFile(path, 2);
    ASSERT_EQ(Shell("ln -sf /dev/full " + Quoted(UnixPath(path + ".new")), dir), 0);
    HostProcess host({"--settings", path, g_pluginDll});
    ASSERT_TRUE(Started(host, 2)) << host.Errors();
    const std::string said = host.StatusText();
    ASSERT_TRUE(Has(said, "the disk is full")) << said;
    const std::vector<HWND> tools = host.Tools();
    // This thread shares the host's input state, so that it sees and sets its focus.
    const DWORD hostThread = GetWindowThreadProcessId(host.panel(), nullptr);
    ASSERT_TRUE(AttachThreadInput(GetCurrentThreadId(), hostThread, TRUE));
    SetFocus(host.panel());
    EXPECT_TRUE(CalWaitFor([&] { return GetFocus() == tools[0]; })) << "the panel passes the focus on";

    EXPECT_TRUE(MoveFocus(host, tools[1], true));
    EXPECT_EQ(host.StatusText(), said) << "after Tab";
    EXPECT_TRUE(MoveFocus(host, tools[0], false));
    EXPECT_EQ(host.StatusText(), said) << "after a click's SetFocus";

    // Mended: the line says so, and from then on follows the focus again.
    ASSERT_EQ(Shell("rm -f " + Quoted(UnixPath(path + ".new")), dir), 0);
    Change(host, 1);
    EXPECT_TRUE(Has(host.StatusText(), "saved again")) << host.StatusText();
    EXPECT_TRUE(MoveFocus(host, tools[1], true));
    EXPECT_TRUE(CalWaitFor([&] { return Has(host.StatusText(), "of 2 has the focus"); })) << host.StatusText();
    EXPECT_TRUE(MoveFocus(host, tools[0], false));
    EXPECT_TRUE(CalWaitFor([&] { return Has(host.StatusText(), "Calendar 1 of 2 has the focus"); }))
        << host.StatusText();
    AttachThreadInput(GetCurrentThreadId(), hostThread, FALSE);
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
}

std::string MakeWritable(const std::string& unixFolder)
{
    return "chattr -i " + Quoted(unixFolder) + " 2>/dev/null; chmod u+w " + Quoted(unixFolder);
}

// A folder of the test's own, writable again and removed, however it ends.
struct SubFolder {
    const TempFolder& dir;
    std::string unix;
    ~SubFolder() { Shell(MakeWritable(unix) + "; rm -rf " + Quoted(unix), dir); }
};

TEST(HostFailure, AReadOnlyFolderKeepsTheLastGoodFile)
{
    TempFolder dir;
    const std::string folder = dir.Path("settings");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\panel.settings";
    const std::vector<BYTE> good = WriteGoodFile(path, 2);
    // Unix permissions stop an ordinary user; they do not stop root, which
    // an immutable folder does stop. The Windows read-only attribute is
    // ignored on folders, by Windows and by Wine alike (and Wine, unlike
    // Windows, replaces a file that has it, so it makes no test here).
    SubFolder restore{dir, UnixPath(folder)};
    std::string how = "chmod a-w";
    ASSERT_EQ(Shell("chmod a-w " + Quoted(restore.unix), dir), 0);
    if (CanCreateIn(folder)) {
        how = "chattr +i (chmod a-w does not stop root)";
        Shell("chattr +i " + Quoted(restore.unix), dir);
    }
    if (CanCreateIn(folder))
        GTEST_SKIP() << "no means here to make a folder read-only";

    HostProcess host({"--settings", path, g_pluginDll});
    ASSERT_TRUE(Started(host, 2)) << host.Errors();
    const std::string said = host.StatusText();
    EXPECT_TRUE(Has(said, "is read-only")) << said;
    EXPECT_FALSE(FileExists(path + ".lock")) << "the folder took a file after all";
    Change(host);
    EXPECT_EQ(ReadBytes(path), good);
    EXPECT_EQ(host.StatusText(), said);
    Figure("read-only folder", how, said, Kept(ReadBytes(path) == good));

    // Writable again: the next change takes the lock, saves, and says so.
    ASSERT_EQ(Shell(MakeWritable(restore.unix), dir), 0);
    Change(host, 1);
    EXPECT_TRUE(Has(host.StatusText(), "saved again")) << host.StatusText();
    ExpectFileMatchesLive(host, ReadBytes(path));
    EXPECT_TRUE(FileExists(path + ".lock")) << "the lock is taken once the folder allows it";
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
    EXPECT_FALSE(FileExists(path + ".lock")) << "left behind by a clean exit";
    const std::string errors = host.Errors();
    EXPECT_EQ(Count(errors, "is read-only"), 1u) << errors;
    EXPECT_EQ(Count(errors, "saved again"), 1u) << errors;
}

TEST(HostFailure, AFolderRemovedWhileTheHostRunsIsMadeAgain)
{
    TempFolder dir;
    const std::string top = dir.Path("top");
    const std::string folder = top + "\\settings";
    CreateDirectoryA(top.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\panel.settings";
    SubFolder cleanup{dir, UnixPath(top)};
    HostProcess host({"--settings", path, g_pluginDll});
    ASSERT_TRUE(Started(host, 2)) << host.Errors();
    ExpectFileMatchesLive(host, ReadBytes(path));
    // Windows refuses to delete the lock file the host holds open, and so
    // its folder; another system's user, or a drive going away, does not ask.
    EXPECT_FALSE(DeleteFileA((path + ".lock").c_str()));
    ASSERT_EQ(Shell("rm -rf " + Quoted(UnixPath(folder)), dir), 0);
    ASSERT_FALSE(FileExists(folder));
    Change(host);
    const std::string madeAgain = host.StatusText();
    EXPECT_TRUE(Has(madeAgain, "had gone; it was made again")) << madeAgain;
    ExpectFileMatchesLive(host, ReadBytes(path));
    EXPECT_TRUE(FileExists(path + ".lock"));
    Figure("settings folder removed", "rm -rf of the folder", madeAgain,
        "the folder made again, the live settings saved in it");

    // The folder above it gone too: not the host's to rebuild; it keeps trying.
    ASSERT_EQ(Shell("rm -rf " + Quoted(UnixPath(top)), dir), 0);
    Change(host, 1);
    const std::string said = host.StatusText();
    EXPECT_TRUE(Has(said, "does not exist")) << said;
    Change(host, 1);
    EXPECT_FALSE(FileExists(top));
    Figure("settings folder and its parent removed", "rm -rf of the parent", said,
        "nothing until the parent is back, then the live settings");
    ASSERT_TRUE(CreateDirectoryA(top.c_str(), nullptr));
    Change(host);
    EXPECT_TRUE(Has(host.StatusText(), "saved again")) << host.StatusText();
    ExpectFileMatchesLive(host, ReadBytes(path));
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
    const std::vector<BYTE> last = ReadBytes(path);
    EXPECT_EQ(HostDecodeSettings(last.data(), last.size()).panel.tools.size(), 2u);
    const std::string errors = host.Errors();
    EXPECT_EQ(Count(errors, "does not exist"), 1u) << errors;
    EXPECT_EQ(Count(errors, "made again"), 2u) << errors;
}

TEST(HostFailure, AFileHeldByAnotherProgramIsNeitherReadOverNorWrittenOver)
{
    TempFolder dir;
    const std::string path = dir.Path("panel.settings");
    const std::vector<BYTE> good = WriteGoodFile(path, 3);
    {
        // Held at start: defaults shown, nothing saved over the file.
        HANDLE held = HoldWithoutSharing(path);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        HostProcess host({"--settings", path, g_pluginDll});
        ASSERT_TRUE(Started(host, 2)) << host.Errors();
        const std::string said = host.StatusText();
        EXPECT_TRUE(Has(said, "in use by another program")) << said;
        EXPECT_TRUE(Has(said, "nothing is saved this time")) << said;
        Change(host);
        CloseHandle(held);
        Change(host, 1);
        PostMessageA(host.panel(), WM_CLOSE, 0, 0);
        EXPECT_EQ(host.Wait(), 0u);
        EXPECT_EQ(ReadBytes(path), good);
        Figure(
            "file held at start", "opened by the test without sharing", said, Kept(ReadBytes(path) == good));
    }
    HostProcess host({"--settings", path, g_pluginDll});
    ASSERT_TRUE(Started(host, 3)) << host.Errors();
    std::vector<BYTE> saved = ReadBytes(path);
    ExpectFileMatchesLive(host, saved);

    // Held while the host runs: the change waits for the file.
    HANDLE held = HoldWithoutSharing(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Change(host);
    const std::string said = host.StatusText();
    EXPECT_TRUE(Has(said, "in use by another program")) << said;
    EXPECT_EQ(ReadHeld(held), saved);
    Figure(
        "file held while running", "opened by the test without sharing", said, Kept(ReadHeld(held) == saved));
    CloseHandle(held);
    Change(host, 2);
    EXPECT_TRUE(Has(host.StatusText(), "saved again")) << host.StatusText();
    saved = ReadBytes(path);
    ExpectFileMatchesLive(host, saved);

    // Held when the host closes: said on the way out, the file as last saved.
    held = HoldWithoutSharing(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Change(host, 1);
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
    EXPECT_EQ(ReadHeld(held), saved);
    CloseHandle(held);
    const std::string errors = host.Errors();
    EXPECT_TRUE(Has(errors, "closes without saving its latest settings")) << errors;
    EXPECT_EQ(ReadBytes(path), saved);
    const std::string last = errors.substr(errors.rfind("PanelHost: ") + 11);
    Figure("file held at exit", "opened by the test without sharing", last.substr(0, last.find('\r')),
        Kept(ReadBytes(path) == saved));
    EXPECT_FALSE(FileExists(path + ".new"));
}

TEST(HostFailure, ASecondHostOnTheSameFileRefusesToStart)
{
    TempFolder dir;
    const std::string path = dir.Path("panel.settings");
    std::vector<BYTE> before;
    {
        HostProcess first({"--settings", path, g_pluginDll});
        ASSERT_TRUE(Started(first, 2)) << first.Errors();
        Change(first);
        before = ReadBytes(path);
        // The same file by another spelling: a lock on the file sees through it.
        std::string upper = dir.Path("PANEL.SETTINGS");
        for (const std::string& same : {path, upper}) {
            HostProcess second({"--settings", same, g_pluginDll});
            EXPECT_EQ(second.Wait(), kExitSettingsInUse);
            const std::string errors = second.Errors();
            EXPECT_TRUE(Has(errors, "already using the settings file")) << errors;
            EXPECT_EQ(ReadBytes(path), before);
            Figure("second host", "started on " + same, errors.substr(0, errors.find('\r')),
                Kept(ReadBytes(path) == before) + "; exit status " + std::to_string(kExitSettingsInUse));
        }
        // The first host goes on saving.
        Change(first, 1);
        ExpectFileMatchesLive(first, ReadBytes(path));
        before = ReadBytes(path);
        first.Kill();
    }
    // A killed host leaves its lock file but not its lock.
    EXPECT_TRUE(FileExists(path + ".lock"));
    HostProcess next({"--settings", path, g_pluginDll});
    ASSERT_TRUE(Started(next, 2)) << next.Errors();
    const HostDecodeResult file = HostDecodeSettings(before.data(), before.size());
    ASSERT_EQ(file.status, HostFileStatus::ok);
    EXPECT_EQ(next.LiveBlock(next.Tools()[1]), file.panel.tools[1].block) << "restored after the kill";
    PostMessageA(next.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(next.Wait(), 0u);
    EXPECT_EQ(next.Errors(), "");
    EXPECT_FALSE(FileExists(path + ".lock"));
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: host_failure_test PanelHost.exe Calendar.dll\n");
        return 2;
    }
    g_hostExe = CalTestWindowsPath(argv[1]);
    g_pluginDll = CalTestWindowsPath(argv[2]);
    g_calTestDllPath = g_pluginDll;
    return RUN_ALL_TESTS();
}
