#include "host/report.h"

#include <windows.h>

namespace {

bool WriteLine(DWORD which, const std::string& text)
{
    HANDLE h = GetStdHandle(which);
    if (h == nullptr || h == INVALID_HANDLE_VALUE)
        return false;
    const std::string line = text + "\r\n";
    DWORD written = 0;
    return WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE &&
        written == line.size();
}

}  // namespace

bool HostWriteError(const std::string& text)
{
    return WriteLine(STD_ERROR_HANDLE, text);
}

bool HostWriteOutput(const std::string& text)
{
    return WriteLine(STD_OUTPUT_HANDLE, text);
}

void HostReportFatal(const std::string& text)
{
    if (!HostWriteError("PanelHost: " + text))
        MessageBoxA(nullptr, text.c_str(), "Panel Host", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
