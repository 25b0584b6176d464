// What the long runs share: a generator with a fixed seed, so that every run
// tries the same inputs; the picture a tool's paint transfers to its window;
// a popup menu read and closed the moment it shows; and what the process
// holds of its heap and of graphics objects.
#ifndef CALENDAR_TESTS_ROBUSTNESS_ROBUST_SUPPORT_H
#define CALENDAR_TESTS_ROBUSTNESS_ROBUST_SUPPORT_H

#include <windows.h>

#include <cstdint>
#include <vector>

// splitmix64: small, fast, and the same sequence on every platform.
class CalRng {
public:
    explicit CalRng(uint64_t seed)
        : state_(seed)
    {
    }
    uint32_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 16);
    }
    uint32_t Below(uint32_t n) { return n == 0 ? 0 : Next() % n; }
    LONG Long() { return static_cast<LONG>(Next()); }
    void Fill(void* p, size_t n)
    {
        auto* b = static_cast<BYTE*>(p);
        for (size_t i = 0; i < n; ++i)
            b[i] = static_cast<BYTE>(Next());
    }

private:
    uint64_t state_;
};

// One frame as the library's paint transferred it, 0x00RRGGBB per pixel.
struct CalFrame {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    bool operator==(const CalFrame&) const = default;
};

// Routes the library's block transfers through a counter that can also copy
// the transferred picture. Call once, after the library is loaded.
void CalCaptureInstall(HMODULE module);

// Block transfers the library has made so far: one per completed paint.
long CalCaptureTransfers();

// Invalidates the tool and has it paint now; the frame it transferred, or an
// empty frame when the paint transferred nothing.
CalFrame CalCapturePaint(HWND tool);

// What an open context menu showed, read while it was open.
struct CalMenuLook {
    bool opened = false;  // the popup window was up and showed a menu
    int items = 0;        // items of the main menu
    bool weekNumbersChecked = false;
    bool backgroundChecked = false;
    int days = 0;             // items of the weekday submenu
    unsigned markedDays = 0;  // bit i: weekday item i carries a check or radio mark
};

// Right-clicks the tool and closes its menu as soon as the menu loop first
// waits for input; a watchdog closes it after two seconds if that never
// comes (the look then says not opened).
CalMenuLook CalOpenAndCloseMenu(HWND tool);

// Busy blocks and bytes of the process heap, walked with HeapWalk.
struct CalHeapTotals {
    long blocks = 0;
    long long bytes = 0;
    bool walked = false;  // HeapWalk ran to its end
};
CalHeapTotals CalProcessHeapTotals();

// Live graphics objects of the process: the entries of the platform's
// handle table that answer GetObjectType. Under Wine a handle with a zero
// upper half names its table entry whatever the entry's generation, so
// probing every index counts the whole table.
long CalLiveGraphicsObjects();

// The object type (OBJ_BRUSH, OBJ_DC, ...) of every entry of that table, 0
// for a free one: what two of them differ in names what was left behind.
std::vector<DWORD> CalGraphicsTable();

// Prints a line that the test runner collects into its summary.
void CalPrintFigure(const char* name, long long value, const char* unit = "");

#endif
