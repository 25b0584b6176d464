#include "host/calendars_page.h"

#include <commdlg.h>

#include <algorithm>

#include "host/calendar_files.h"
#include "host/host_ids.h"

namespace {

struct PageData {
    std::vector<std::wstring> files;
    std::vector<std::wstring> applied;
};

// What creation hands the page: its data, which the page owns once it has taken it.
struct PageInit {
    PageData* data = nullptr;
    bool taken = false;
};

PageData* DataOf(HWND page)
{
    return reinterpret_cast<PageData*>(GetWindowLongPtrW(page, DWLP_USER));
}

void Refill(HWND page, const PageData& data, int select)
{
    HWND list = GetDlgItem(page, IDC_CALENDARS_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& file : data.files)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file.c_str()));
    const int count = static_cast<int>(data.files.size());
    if (count > 0)
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(std::clamp(select, 0, count - 1)), 0);
    EnableWindow(GetDlgItem(page, IDC_CALENDARS_REMOVE), count > 0);
}

void AddFile(HWND page, PageData* data)
{
    wchar_t path[32768] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetAncestor(page, GA_ROOT);
    ofn.lpstrFilter = L"iCalendar files (*.ics)\0*.ics\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = static_cast<DWORD>(std::size(path));
    ofn.lpstrTitle = L"Add a Calendar File";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn))
        return;
    const std::wstring file(path);
    auto known = std::find_if(
        data->files.begin(), data->files.end(), [&](const std::wstring& f) { return HostSamePath(f, file); });
    if (known == data->files.end())
        known = data->files.insert(data->files.end(), file);
    Refill(page, *data, static_cast<int>(known - data->files.begin()));
}

void RemoveFile(HWND page, PageData* data)
{
    const LRESULT at = SendDlgItemMessageW(page, IDC_CALENDARS_LIST, LB_GETCURSEL, 0, 0);
    if (at < 0 || static_cast<size_t>(at) >= data->files.size())
        return;
    data->files.erase(data->files.begin() + at);
    Refill(page, *data, static_cast<int>(at));
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* init = reinterpret_cast<PageInit*>(lParam);
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(init->data));
        init->taken = true;
        Refill(page, *init->data, 0);
        return FALSE;
    }
    PageData* data = DataOf(page);
    if (data == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(page, DWLP_USER, 0);
        delete data;
        return FALSE;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    if (LOWORD(wParam) == IDC_CALENDARS_ADD)
        AddFile(page, data);
    else if (LOWORD(wParam) == IDC_CALENDARS_REMOVE)
        RemoveFile(page, data);
    else
        return FALSE;
    return TRUE;
}

}  // namespace

HWND HostCreateCalendarsPage(HWND sheet, HINSTANCE instance, const std::vector<std::wstring>& files, int x, int y)
{
    PageInit init{new PageData{files, files}};
    HWND page = CreateDialogParamW(
        instance, MAKEINTRESOURCEW(IDD_HOST_CALENDARS), sheet, PageProc, reinterpret_cast<LPARAM>(&init));
    if (!init.taken)
        delete init.data;
    if (page == nullptr)
        return nullptr;
    SetWindowPos(page, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return page;
}

std::vector<std::wstring> HostCalendarsPageFiles(HWND page)
{
    const PageData* data = DataOf(page);
    return data != nullptr ? data->files : std::vector<std::wstring>{};
}

bool HostCalendarsPageChanged(HWND page)
{
    const PageData* data = DataOf(page);
    return data != nullptr && data->files != data->applied;
}

void HostCalendarsPageApplied(HWND page)
{
    if (PageData* data = DataOf(page); data != nullptr)
        data->applied = data->files;
}
