// The figures a long run reports: lines "== figure NAME: VALUE" that the
// test runner collects into its summary.
#ifndef CALENDAR_TESTS_FIGURES_H
#define CALENDAR_TESTS_FIGURES_H

#include <cstdio>

inline void CalPrintFigure(const char* name, long long value, const char* unit = "")
{
    std::printf("== figure %s: %lld%s\n", name, value, unit);
    std::fflush(stdout);
}

#endif
