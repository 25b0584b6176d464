// Long runs of one process: one tool painted again and again, far more
// graphics objects made and released than the platform's handle table
// holds, and tools created and destroyed by the thousand. The last paint
// must be the first one's picture, and the process must end holding the
// graphics objects and heap it began with.
//
// --paints=N and --cycles=N set the lengths. A paint of the tool costs
// about 1.5 ms under Wine, so the 70,000 paints take about two minutes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/win32/support/figures.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/process_resources.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/tool_test.h"
#include "tests/win32/support/transfer_capture.h"

namespace {

long g_paints = 70000;
long g_cycles = 10000;

// Entries of the platform's graphics handle table under Wine.
constexpr long kHandleTable = 65536;

class Soak : public CalToolTest {
protected:
    void SetUp() override
    {
        CalToolTest::SetUp();
        CalCaptureInstall(CalTestPlugin().module);
    }

    HWND Create()
    {
        RECT r{0, 0, 200, 160};
        return CalTestPlugin().create(parent_->window, &r, nullptr, 0, 0);
    }

    // Where the process stands once caches of the platform's own have filled.
    struct Standing {
        CalLedgerCounts ledger;
        long graphicsObjects;
        CalHeapTotals heap;
        std::vector<DWORD> table;
    };
    static Standing Now()
    {
        CalPumpMessages();
        std::vector<DWORD> table = CalGraphicsTable();
        long live = 0;
        for (DWORD type : table)
            live += type != 0 ? 1 : 0;
        return Standing{CalLedgerSnapshot(), live, CalProcessHeapTotals(), std::move(table)};
    }

    // Compares two standings, prints them, and returns the leaks found.
    static long Compare(const char* what, const Standing& a, const Standing& b)
    {
        const CalLedgerCounts d = b.ledger - a.ledger;
        const long heapGrowth = static_cast<long>(b.heap.bytes - a.heap.bytes);
        std::string name = what;
        CalPrintFigure((name + ": graphics objects made by the library").c_str(), d.objectsMade);
        CalPrintFigure((name + ": process graphics objects before").c_str(), a.graphicsObjects);
        CalPrintFigure((name + ": process graphics objects after").c_str(), b.graphicsObjects);
        CalPrintFigure((name + ": process heap busy bytes before").c_str(), a.heap.bytes);
        CalPrintFigure((name + ": process heap busy bytes after").c_str(), b.heap.bytes);
        CalPrintFigure((name + ": process heap busy blocks change").c_str(), b.heap.blocks - a.heap.blocks);
        EXPECT_TRUE(a.heap.walked && b.heap.walked) << "HeapWalk did not reach the end of the heap";
        const long leaks = d.LiveObjects() + d.LiveBlocks() + d.LiveMenus() + d.failedReleases +
            d.releasedWhileInUse + d.dcsReleasedDirty;
        // What the library makes is counted exactly above. The process as a
        // whole may also hold a few more of the platform's own cached objects
        // and blocks (a shared display sends events the driver answers), but
        // one lost object or record per paint or per tool would be thousands.
        const long objectGrowth = b.graphicsObjects - a.graphicsObjects;
        CalPrintFigure((name + ": process graphics objects change").c_str(), objectGrowth);
        EXPECT_LE(objectGrowth, 32) << "graphics objects of the process";
        if (objectGrowth != 0) {
            for (size_t i = 0; i < a.table.size(); ++i)
                if (a.table[i] != b.table[i])
                    std::printf("table entry %#zx: type %lu before, %lu after\n", i, a.table[i], b.table[i]);
        }
        EXPECT_LT(heapGrowth, 65536) << "heap bytes of the process";
        CalPrintFigure((name + ": leaks found").c_str(), leaks);
        return leaks;
    }
};

TEST_F(Soak, OneToolPaintsMoreObjectsThanTheHandleTableHoldsAndEndsAsItBegan)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    const CalFrame first = CalCapturePaint(tool);
    ASSERT_EQ(first.width, 200);
    const Standing before = Now();
    const long transfers = CalCaptureTransfers();
    const DWORD start = GetTickCount();
    // The tool alone: its spinners' own repaints would treble the run and
    // are not the library's paints.
    for (long i = 2; i < g_paints; ++i)
        RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    const CalFrame last = CalCapturePaint(tool);
    const DWORD ms = GetTickCount() - start;
    // A paint that could not make its surface would transfer nothing.
    EXPECT_EQ(CalCaptureTransfers() - transfers, g_paints - 1) << "every paint reached the window";
    EXPECT_EQ(last, first) << "the last paint shows the first one's picture";
    const Standing after = Now();
    const long made = (after.ledger - before.ledger).objectsMade;
    EXPECT_GT(made, kHandleTable) << "more objects than the table holds went through it";
    CalPrintFigure("paints in one process", g_paints);
    CalPrintFigure("paint run time", ms, " ms");
    EXPECT_EQ(Compare("paint soak", before, after), 0);
    DestroyWindow(tool);
}

TEST_F(Soak, ThousandsOfToolsComeAndGoAndTheLastPaintsAsTheFirst)
{
    // A few cycles first, so that the platform's caches are full when counting starts.
    CalFrame first;
    for (int i = 0; i < 50; ++i) {
        HWND tool = Create();
        ASSERT_NE(tool, nullptr);
        if (i == 0)
            first = CalCapturePaint(tool);
        DestroyWindow(tool);
    }
    ASSERT_EQ(first.width, 200);
    const Standing before = Now();
    const DWORD start = GetTickCount();
    long cycles = 0;
    CalFrame last;
    for (long i = 0; i < g_cycles; ++i) {
        HWND tool = Create();
        if (tool == nullptr)
            break;
        // Every eighth tool paints too: a paint costs more than a whole cycle.
        if (i + 1 == g_cycles)
            last = CalCapturePaint(tool);
        else if (i % 8 == 0)
            UpdateWindow(tool);
        DestroyWindow(tool);
        ++cycles;
    }
    const DWORD ms = GetTickCount() - start;
    EXPECT_EQ(cycles, g_cycles);
    EXPECT_EQ(last, first) << "the last tool paints as the first";
    const Standing after = Now();
    EXPECT_EQ((after.ledger - before.ledger).heapAllocated, 2 * cycles) << "a record and its marks per tool";
    CalPrintFigure("create-destroy cycles", cycles);
    CalPrintFigure("create-destroy run time", ms, " ms");
    EXPECT_EQ(Compare("create-destroy", before, after), 0);
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--paints=", 9) == 0)
            g_paints = std::strtol(argv[i] + 9, nullptr, 10);
        if (std::strncmp(argv[i], "--cycles=", 9) == 0)
            g_cycles = std::strtol(argv[i] + 9, nullptr, 10);
    }
    return CalTestMain(argc, argv);
}
