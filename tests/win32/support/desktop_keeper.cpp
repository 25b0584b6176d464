// Keeps a prefix's desktop in use for a whole test run. Wine ends the
// desktop's process a moment after the desktop's last user leaves, and the
// next program that needs it starts it again, handing it that program's
// output, which it then holds open as long as it lives: a test started so
// would last until the run's end. The test run starts one of these in each
// prefix before any test (scripts/run-tests) and ends it with the prefix's
// server. It shows nothing: a message-only window makes its thread a user
// of the desktop.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (window == nullptr)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
