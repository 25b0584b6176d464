#include "tests/win32/support/test_main.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include "tests/win32/support/plugin_loader.h"

int CalTestMain(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc >= 2)
        g_calTestDllPath = CalTestWindowsPath(argv[argc - 1]);
    return RUN_ALL_TESTS();
}

int CalTestMainWithCom(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = CalTestMain(argc, argv);
    CoUninitialize();
    return result;
}
