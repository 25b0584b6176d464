#include "tests/win32/support/ledger_expectations.h"

#include <gtest/gtest.h>

void CalExpectNothingLeft(const CalLedgerCounts& before)
{
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    EXPECT_EQ(d.LiveBlocks(), 0) << "heap blocks left: " << d;
    EXPECT_EQ(d.LiveObjects(), 0) << "graphics objects left: " << d;
    EXPECT_EQ(d.LiveMenus(), 0) << "menus left: " << d;
    EXPECT_EQ(d.releasedWhileInUse + d.dcsReleasedDirty + d.failedReleases, 0) << d;
}
