// Linked into every test program that runs twice, plain and with the common
// controls 6 manifest: the library got the generation the build asked for,
// and the spinners it makes are that generation's.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/win32/support/comctl_generation.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_parent.h"

namespace {

// The built library when the program loads it, else the program itself,
// which then links the library's objects.
HMODULE Library()
{
    return g_calTestDllPath.empty() ? GetModuleHandleA(nullptr) : CalTestPlugin().module;
}

TEST(CommonControls, TheLibraryGotTheGenerationThisProgramAsksFor)
{
    const CalComctlGeneration g = CalTestComctlGeneration(Library());
    ASSERT_NE(g.module, nullptr) << "the library does not import comctl32";
    std::printf("== figure common controls asked for %d: got generation %d (DllGetVersion %lu.%lu, %s)\n",
        CAL_TEST_COMCTL_MAJOR, g.generation, g.major, g.minor, g.file.c_str());
    EXPECT_EQ(g.generation, CAL_TEST_COMCTL_MAJOR) << g.file;

    // The spinners the library makes run in that module.
    if (g_calTestDllPath.empty())
        return;  // a program with the objects linked in makes no tool here
    CalTestParent parent;
    RECT r{0, 0, 200, 150};
    HWND tool = CalTestPlugin().create(parent.window, &r, nullptr, 0, 0);
    ASSERT_NE(tool, nullptr);
    HWND spinner = FindWindowExA(tool, nullptr, UPDOWN_CLASSA, nullptr);
    ASSERT_NE(spinner, nullptr);
    HMODULE owner = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(GetWindowLongPtrW(spinner, GWLP_WNDPROC)), &owner);
    EXPECT_EQ(owner, g.module) << "the spinner's window procedure is not in the library's comctl32";
    DestroyWindow(tool);
}

}  // namespace
