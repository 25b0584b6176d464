#include "host/tool_window.h"

#include <oleacc.h>

#include <cstring>

bool HostFetchBlock(HWND tool, CalToolSettings* block)
{
    CalToolSettings* live = nullptr;
    if (SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&live)) != CAL_SETTINGS_SIZE ||
        live == nullptr)
        return false;
    std::memcpy(block, live, CAL_SETTINGS_SIZE);
    return true;
}

RECT HostToolRect(HWND tool, HWND parent)
{
    RECT r{};
    GetWindowRect(tool, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE HostToolIdealSize(HWND tool)
{
    const uint32_t ideal = static_cast<uint32_t>(SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0));
    return SIZE{static_cast<LONG>(CalPackedWidth(ideal)), static_cast<LONG>(CalPackedHeight(ideal))};
}

std::string HostToolAccessibleName(HWND tool)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(
            tool, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return "";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string text;
    if (SUCCEEDED(object->get_accName(self, &name)) && name != nullptr) {
        const int bytes = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
        if (bytes > 1) {
            text.resize(static_cast<size_t>(bytes));
            WideCharToMultiByte(CP_ACP, 0, name, -1, text.data(), bytes, nullptr, nullptr);
            text.resize(static_cast<size_t>(bytes - 1));
        }
        SysFreeString(name);
    }
    object->Release();
    return text;
}
