#include "tests/win32/support/tool_test.h"

#include "tests/win32/support/ledger_expectations.h"

void CalToolTest::SetUp()
{
    const CalLoadedPlugin& plugin = CalTestPlugin();
    ASSERT_NE(plugin.create, nullptr) << "library not loaded from " << g_calTestDllPath;
    static const bool ledger = (CalLedgerInstall(plugin.module), true);
    (void)ledger;
    before_ = CalLedgerSnapshot();
}

void CalToolTest::TearDown()
{
    parent_.reset();
    CalPumpMessages();
    CalExpectNothingLeft(before_);
}
