// The base of the tests that drive tool windows of the built library: a
// panel of their own for every case, and nothing of the library's left
// allocated when the case ends.
#ifndef CALENDAR_TESTS_TOOL_TEST_H
#define CALENDAR_TESTS_TOOL_TEST_H

#include <gtest/gtest.h>

#include <memory>

#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_parent.h"

class CalToolTest : public testing::Test {
protected:
    // Loads the library, counts what it makes from here on.
    void SetUp() override;
    // Destroys the panel with its tools, then expects every heap block and
    // graphics object the library made in the case to be released, cleanly.
    void TearDown() override;

    std::unique_ptr<CalTestParent> parent_ = std::make_unique<CalTestParent>();
    CalLedgerCounts before_{};
};

#endif
