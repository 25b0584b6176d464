// The main of the test programs that take the library's path as their last
// argument.
#ifndef CALENDAR_TESTS_TEST_MAIN_H
#define CALENDAR_TESTS_TEST_MAIN_H

// Initialises GoogleTest, takes the library's path (g_calTestDllPath) from
// the last argument and runs every test.
int CalTestMain(int argc, char** argv);

// The same with COM started on this thread for the whole run, as in a screen
// reader's process; the tools are made on this thread too.
int CalTestMainWithCom(int argc, char** argv);

#endif
