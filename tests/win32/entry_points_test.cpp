// The library's entry points as a host meets them, in the order a host calls
// them. The first enumeration happens once per process, so the cases below
// run in the order written and share the one loaded library.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_main.h"

namespace {

// Filled step by step below, as a host fills it.
CalLoadedPlugin g_plugin;

HINSTANCE HostInstance()
{
    return GetModuleHandleA(nullptr);
}

struct NameBuffers {
    char init[32];
    char create[32];
    char cleanup[32];
    NameBuffers() { std::memset(this, 'x', sizeof *this); }
};

TEST(EntryPoints, LoadingResolvesTheFourPlainNames)
{
    g_plugin.module = LoadLibraryA(g_calTestDllPath.c_str());
    ASSERT_NE(g_plugin.module, nullptr) << g_calTestDllPath;
    CalLedgerInstall(g_plugin.module);
    g_plugin.enumerate = CalTestExport<CalEnumeratePanelTypesProc>(g_plugin.module, "EnumeratePanelTypes");
    g_plugin.init = CalTestExport<CalInitToolTypeProc>(g_plugin.module, "InitCalToolType");
    g_plugin.create = CalTestExport<CalToolCreateProc>(g_plugin.module, "CalToolCreate");
    g_plugin.cleanup = CalTestExport<CalToolCleanupProc>(g_plugin.module, "CalToolCleanup");
    EXPECT_NE(g_plugin.enumerate, nullptr);
    EXPECT_NE(g_plugin.init, nullptr);
    EXPECT_NE(g_plugin.create, nullptr);
    EXPECT_NE(g_plugin.cleanup, nullptr);
    EXPECT_EQ(GetProcAddress(g_plugin.module, "_EnumeratePanelTypes@20"), nullptr)
        << "decorated names are not exported";
}

TEST(EntryPoints, CreatingBeforeTheTypeIsInitialisedFailsAndKeepsNothing)
{
    ASSERT_NE(g_plugin.create, nullptr);
    const CalLedgerCounts before = CalLedgerSnapshot();
    RECT r{0, 0, 200, 160};
    EXPECT_EQ(g_plugin.create(GetDesktopWindow(), &r, nullptr, 0, 0), nullptr);
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    EXPECT_EQ(d.heapAllocated, 2) << "the record and its marks: " << d;
    EXPECT_EQ(d.LiveBlocks(), 0) << d;
}

TEST(EntryPoints, TheFirstEnumerationDescribesTheOneTypeLaterOnesNone)
{
    ASSERT_NE(g_plugin.enumerate, nullptr);
    // The first call names another instance; the second names ours, and the
    // class must be registered under the latest.
    NameBuffers first;
    EXPECT_EQ(g_plugin.enumerate(
                  first.init, first.create, first.cleanup, g_plugin.module, static_cast<LPARAM>(0xDEADBEEF)),
        1);
    EXPECT_STREQ(first.init, "InitCalToolType");
    EXPECT_STREQ(first.create, "CalToolCreate");
    EXPECT_STREQ(first.cleanup, "CalToolCleanup");
    EXPECT_EQ(first.init[16], 'x') << "nothing is written past the terminator";
    EXPECT_EQ(first.cleanup[15], 'x');

    for (LPARAM unused : {LPARAM{0}, LPARAM{-1}}) {
        NameBuffers later;
        const NameBuffers untouched;
        EXPECT_EQ(g_plugin.enumerate(later.init, later.create, later.cleanup, HostInstance(), unused), 0);
        EXPECT_EQ(std::memcmp(&later, &untouched, sizeof later), 0)
            << "a later call leaves the buffers alone";
    }
    NameBuffers none;
    EXPECT_EQ(g_plugin.enumerate(nullptr, nullptr, nullptr, HostInstance(), 0), 0);
}

TEST(EntryPoints, InitialisingRegistersTheClassOnceAndHandsOutOneDescriptor)
{
    ASSERT_NE(g_plugin.init, nullptr);
    const CalLedgerCounts before = CalLedgerSnapshot();
    g_plugin.init(&g_plugin.info, 0);
    ASSERT_NE(g_plugin.info, nullptr);
    CalToolTypeInfo* again = nullptr;
    g_plugin.init(&again, static_cast<LPARAM>(0x12345678));
    EXPECT_EQ(again, g_plugin.info) << "one descriptor address";
    g_plugin.init(nullptr, 0);  // a host that wants no answer gets none and no crash
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    EXPECT_EQ(d.classesRegistered, 1) << d;
    EXPECT_EQ(d.objectsMade, 2) << "the two bitmaps, loaded once";

    EXPECT_STREQ(g_plugin.info->name, "Calendar");
    EXPECT_STREQ(g_plugin.info->description, "Calendar Tool for Halvex");
    for (HBITMAP bitmap : {g_plugin.info->image, g_plugin.info->mask}) {
        BITMAP bm{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidth, 16);
        EXPECT_EQ(bm.bmHeight, 16);
    }
    EXPECT_NE(g_plugin.info->image, g_plugin.info->mask);

    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(HostInstance(), "CalTool", &wc)) << "registered under the latest host instance";
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(wc.cbWndExtra, 4);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.hbrBackground, GetStockObject(LTGRAY_BRUSH));
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    EXPECT_EQ(wc.hIcon, nullptr);
    EXPECT_EQ(wc.lpszMenuName, nullptr);
}

TEST(EntryPoints, CleanupChangesNothingAndToolsAreMadeUnderTheHostInstance)
{
    ASSERT_NE(g_plugin.cleanup, nullptr);
    ASSERT_NE(g_plugin.info, nullptr);
    g_plugin.cleanup(0);
    g_plugin.cleanup(static_cast<LPARAM>(0xFFFFFFFF));
    EXPECT_EQ(GetObjectType(g_plugin.info->image), static_cast<DWORD>(OBJ_BITMAP))
        << "handles given out stay valid";
    EXPECT_EQ(GetObjectType(g_plugin.info->mask), static_cast<DWORD>(OBJ_BITMAP));

    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, HostInstance(), nullptr);
    RECT r{10, 20, 210, 180};
    HWND tool = g_plugin.create(parent, &r, nullptr, 7, 9);
    ASSERT_NE(tool, nullptr) << "the class is still registered";
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(tool, GWLP_HINSTANCE)), HostInstance());
    char cls[16] = {};
    GetClassNameA(tool, cls, sizeof cls);
    EXPECT_STREQ(cls, "CalTool");
    int spinners = 0;
    for (HWND child = GetWindow(tool, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(child, GWLP_HINSTANCE)), HostInstance());
        ++spinners;
    }
    EXPECT_EQ(spinners, 2);
    DestroyWindow(parent);
}

// A host may free the library and load it again. The class registered by the
// first load outlives it, pointing at code that is gone; the new load must
// make its tools with its own window procedure.
TEST(EntryPoints, ALibraryLoadedAgainMakesToolsWithItsOwnCode)
{
    ASSERT_NE(g_plugin.module, nullptr);
    const auto* base = reinterpret_cast<const BYTE*>(g_plugin.module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const SIZE_T size = nt->OptionalHeader.SizeOfImage;
    ASSERT_TRUE(FreeLibrary(g_plugin.module));
    // Keep the old range taken, so that the new load lands elsewhere, as it
    // may in any host.
    void* taken = VirtualAlloc(const_cast<BYTE*>(base), size, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(taken, nullptr);

    HMODULE again = LoadLibraryA(g_calTestDllPath.c_str());
    ASSERT_NE(again, nullptr);
    ASSERT_NE(again, g_plugin.module);
    g_plugin.module = again;
    auto enumerate = CalTestExport<CalEnumeratePanelTypesProc>(g_plugin.module, "EnumeratePanelTypes");
    auto init = CalTestExport<CalInitToolTypeProc>(g_plugin.module, "InitCalToolType");
    auto create = CalTestExport<CalToolCreateProc>(g_plugin.module, "CalToolCreate");
    ASSERT_TRUE(enumerate != nullptr && init != nullptr && create != nullptr);
    NameBuffers names;
    EXPECT_EQ(enumerate(names.init, names.create, names.cleanup, HostInstance(), 0), 1);
    CalToolTypeInfo* info = nullptr;
    init(&info, 0);
    ASSERT_NE(info, nullptr);

    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, HostInstance(), nullptr);
    RECT r{0, 0, 160, 128};
    HWND tool = create(parent, &r, nullptr, 0, 0);
    ASSERT_NE(tool, nullptr);
    const auto proc = static_cast<ULONG_PTR>(GetClassLongPtrA(tool, GCLP_WNDPROC));
    const auto start = reinterpret_cast<ULONG_PTR>(again);
    EXPECT_GE(proc, start);
    EXPECT_LT(proc, start + size) << "the window procedure lies in the library now loaded";
    UpdateWindow(tool);
    DestroyWindow(parent);
    VirtualFree(taken, 0, MEM_RELEASE);
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
