#include "bench_support.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>

#include "tests/win32/support/test_parent.h"

double BenchNowUs()
{
    static const double perUs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perUs;
}

double BenchMedian(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BenchRow(
    const std::string& group, const std::string& what, const std::string& figure, const std::string& note)
{
    std::printf("row\t%s\t%s\t%s\t%s\n", group.c_str(), what.c_str(), figure.c_str(), note.c_str());
    std::fflush(stdout);
}

std::string BenchFormat(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string BenchMicros(double us)
{
    if (us >= 10000)
        return BenchFormat("%.2f ms", us / 1000);
    if (us >= 100)
        return BenchFormat("%.0f us", us);
    if (us >= 1)
        return BenchFormat("%.1f us", us);
    return BenchFormat("%.3f us", us);
}

double BenchPaintedShare(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return 0;
    BenchSurface copy(client.right, client.bottom);
    copy.Fill(kBenchPoisonPixel);
    HDC dc = GetDC(window);
    BitBlt(copy.dc, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    const double total = static_cast<double>(client.right) * client.bottom;
    return (total - static_cast<double>(copy.Count(kBenchPoisonPixel))) / total;
}

void BenchPoisonWindow(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    HBRUSH brush = CreateSolidBrush(kBenchPoison);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}

namespace {

std::vector<std::unique_ptr<BenchPaintCounter>> g_counters;

BenchPaintCounter* CounterOf(HWND window)
{
    for (auto& c : g_counters)
        if (c->window == window)
            return c.get();
    return nullptr;
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    BenchPaintCounter* c = CounterOf(window);
    if (c == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message != WM_PAINT)
        return CallWindowProcA(c->original, window, message, wParam, lParam);
    ++c->paints;
    const double start = BenchNowUs();
    const LRESULT result = CallWindowProcA(c->original, window, message, wParam, lParam);
    c->paintUs += BenchNowUs() - start;
    return result;
}

}  // namespace

BenchPaintCounter* BenchCountPaints(HWND window)
{
    if (BenchPaintCounter* c = CounterOf(window))
        return c;
    auto c = std::make_unique<BenchPaintCounter>();
    c->window = window;
    c->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    g_counters.push_back(std::move(c));
    return g_counters.back().get();
}

void BenchPumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        CalPumpMessages();
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}
