// What a test expects of the resource ledger once a case is over.
#ifndef CALENDAR_TESTS_LEDGER_EXPECTATIONS_H
#define CALENDAR_TESTS_LEDGER_EXPECTATIONS_H

#include "tests/win32/support/resource_ledger.h"

// Expects that since before every heap block, graphics object and menu was
// released again, none while still in use and none refused.
void CalExpectNothingLeft(const CalLedgerCounts& before);

#endif
