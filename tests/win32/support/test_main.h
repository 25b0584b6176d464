// The main of the test programs that take the library's path as their last
// argument.
#ifndef CALENDAR_TESTS_TEST_MAIN_H
#define CALENDAR_TESTS_TEST_MAIN_H

// Initialises GoogleTest, takes the library's path (g_calTestDllPath) from
// the last argument and runs every test.
int CalTestMain(int argc, char** argv);

#endif
