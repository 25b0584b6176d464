// Settings blocks no host should hand back, but a damaged store could:
// random bytes, and the default and valid blocks with flipped bits, extreme
// options, huge font sizes, unterminated face names and garbage in the font
// chooser's record. Each goes in through creation or through the host's
// settings request, and is then painted, measured, shown in the context menu
// and edited on the properties page. The tool must survive every one,
// release all it makes, and treat a first day outside the week as the
// weekday it stands for, never as an index past the week.
//
// Block n is made from the fixed seed and n alone, so a range of blocks
// (--blocks=FIRST:COUNT) is the same in every run and in every split.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "tests/win32/support/figures.h"
#include "tests/win32/support/ledger_expectations.h"
#include "tests/win32/support/menu_look.h"
#include "tests/win32/support/modal_driver.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/seeded_random.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tests/win32/support/transfer_capture.h"
#include "tool/tool_state.h"

namespace {

constexpr uint64_t kSeed = 0xCA1E7DA5EEDull;
long g_first = 0;
long g_count = 10000;

const LONG kExtremes[] = {INT_MIN, INT_MIN + 1, INT_MIN + 6, -1000000, -121, -8, -7, -6, -1, 0, 1, 2, 6, 7, 8,
    13, 121, 127, 1047, 65536, INT_MAX - 6, INT_MAX - 1, INT_MAX};
const LONG kFontSizes[] = {INT_MIN, -2000000000, -1000000, -65536, -32768, -4000, -500, -72, -9, -1, 0, 1, 9,
    300, 32767, 65535, 1000000, INT_MAX};
const char* const kFaces[] = {"Arial", "Tahoma", "Courier New", "MS Sans Serif", "System", "", "@Arial",
    "Times New Roman", "Symbol", "Wingdings", "NoSuchFace"};

LONG Extreme(CalRng& rng)
{
    return rng.Below(4) == 0 ? rng.Long() : kExtremes[rng.Below(std::size(kExtremes))];
}

CalToolSettings ValidBlock(CalRng& rng)
{
    CalToolSettings s = CalArialSettings();
    s.weekNumbers = static_cast<LONG>(rng.Below(2));
    s.firstDay = static_cast<LONG>(rng.Below(7));
    s.useBackground = static_cast<LONG>(rng.Below(2));
    const LONG heights[] = {-9, -11, -13, -16, -24, 8, 12};
    s.font.lfHeight = heights[rng.Below(std::size(heights))];
    s.font.lfWeight = rng.Below(2) != 0 ? FW_BOLD : FW_NORMAL;
    s.font.lfItalic = static_cast<BYTE>(rng.Below(2));
    std::memset(s.font.lfFaceName, 0, sizeof s.font.lfFaceName);
    std::strcpy(s.font.lfFaceName, kFaces[rng.Below(6)]);
    if (rng.Below(2) != 0)
        rng.Fill(&s.chooseFont, sizeof s.chooseFont);  // stale handles of another process
    return s;
}

void FlipBits(CalRng& rng, CalToolSettings& s)
{
    auto* bytes = reinterpret_cast<BYTE*>(&s);
    for (uint32_t n = 1 + rng.Below(16); n > 0; --n)
        bytes[rng.Below(sizeof s)] ^= static_cast<BYTE>(1u << rng.Below(8));
}

void ExtremeOptions(CalRng& rng, CalToolSettings& s)
{
    for (LONG* option : {&s.weekNumbers, &s.firstDay, &s.useBackground})
        if (rng.Below(3) != 0)
            *option = Extreme(rng);
}

void ExtremeFont(CalRng& rng, CalToolSettings& s)
{
    LOGFONTA& f = s.font;
    f.lfHeight = kFontSizes[rng.Below(std::size(kFontSizes))];
    f.lfWidth = rng.Below(2) != 0 ? kFontSizes[rng.Below(std::size(kFontSizes))] : 0;
    f.lfEscapement = rng.Below(2) != 0 ? rng.Long() : 0;
    f.lfOrientation = rng.Below(2) != 0 ? rng.Long() : 0;
    f.lfWeight = rng.Below(2) != 0 ? rng.Long() : static_cast<LONG>(rng.Below(1001));
    for (BYTE* b : {&f.lfItalic, &f.lfUnderline, &f.lfStrikeOut, &f.lfCharSet, &f.lfOutPrecision,
             &f.lfClipPrecision, &f.lfQuality, &f.lfPitchAndFamily})
        *b = static_cast<BYTE>(rng.Next());
}

void UnterminatedFace(CalRng& rng, CalToolSettings& s)
{
    char* face = s.font.lfFaceName;
    for (int i = 0; i < LF_FACESIZE; ++i)
        face[i] = static_cast<char>(1 + rng.Below(255));
    if (rng.Below(2) != 0)
        std::memcpy(face, "Arial", 5);  // a real face with the rest of the field full
    s.useBackground = static_cast<LONG>(rng.Next() | 0x01010101u);  // no zero byte after it either
}

void GarbageChooser(CalRng& rng, CalToolSettings& s)
{
    const DWORD pointers[] = {0, 1, 0xFFFFFFFF, 0xCDCDCDCD, 0x80000000, 0x00400000, 0xDEADBEEF};
    auto* words = reinterpret_cast<DWORD*>(&s.chooseFont);
    for (size_t i = 0; i < sizeof s.chooseFont / 4; ++i)
        words[i] = rng.Below(2) != 0 ? pointers[rng.Below(std::size(pointers))] : rng.Next();
}

// The block numbered n: eight kinds in turn, each drawn from its own stream.
CalToolSettings HostileBlock(long n)
{
    CalRng rng(kSeed ^ (static_cast<uint64_t>(n) * 0x100000001B3ull));
    CalToolSettings s{};
    switch (n % 8) {
        case 0:
            rng.Fill(&s, sizeof s);
            break;
        case 1:
            s = CalArialSettings();
            FlipBits(rng, s);
            break;
        case 2:
            s = ValidBlock(rng);
            FlipBits(rng, s);
            break;
        case 3:
            s = rng.Below(2) != 0 ? CalArialSettings() : ValidBlock(rng);
            ExtremeOptions(rng, s);
            break;
        case 4:
            s = ValidBlock(rng);
            ExtremeFont(rng, s);
            break;
        case 5:
            s = ValidBlock(rng);
            UnterminatedFace(rng, s);
            break;
        case 6:
            s = ValidBlock(rng);
            GarbageChooser(rng, s);
            break;
        default:
            s = ValidBlock(rng);
            ExtremeOptions(rng, s);
            ExtremeFont(rng, s);
            UnterminatedFace(rng, s);
            ExtremeOptions(rng, s);
            GarbageChooser(rng, s);
            break;
    }
    return s;
}

// The weekday a stored first day stands for, 0..6, by a floor modulo.
LONG WeekdayOf(LONG firstDay)
{
    const LONG r = firstDay % 7;
    return r < 0 ? r + 7 : r;
}

// The block the tool must paint exactly like: options that count as on or
// off by being non-zero, and the first day reduced into the week.
CalToolSettings Normalised(const CalToolSettings& s)
{
    CalToolSettings n = s;
    n.weekNumbers = s.weekNumbers != 0 ? 1 : 0;
    n.firstDay = WeekdayOf(s.firstDay);
    n.useBackground = s.useBackground != 0 ? 1 : 0;
    return n;
}

LRESULT SetSettings(HWND tool, const CalToolSettings& s)
{
    return SendMessageA(tool, CTM_SETSETTINGS, sizeof s, reinterpret_cast<LPARAM>(&s));
}

class HostileBlocks : public CalToolTest {
protected:
    void SetUp() override
    {
        CalToolTest::SetUp();
        CalCaptureInstall(CalTestPlugin().module);
        before_ = CalLedgerSnapshot();
    }

    HWND Create(const CalToolSettings* s)
    {
        RECT r{0, 0, 200, 160};
        HWND tool = CalTestPlugin().create(parent_->window, &r, s, 0, 0);
        if (tool != nullptr)
            UpdateWindow(tool);
        return tool;
    }

    // Counts every failed expectation, reporting only the first ones in
    // full so that a systematic fault does not bury the log.
    void Expect(bool ok, long block, const char* what)
    {
        if (ok)
            return;
        if (++failures_ <= 25)
            ADD_FAILURE() << "block " << block << ": " << what;
    }

    // Everything a host and a user do with a tool that holds block s.
    void Exercise(HWND tool, const CalToolSettings& s, long block)
    {
        CalToolState* state = CalToolFromWindow(tool);
        Expect(CalSameBytes(state->settings, s), block, "the block is taken as stored");

        // The first day and the two options must paint as what they stand for.
        const CalFrame hostile = CalCapturePaint(tool);
        Expect(hostile.width == 200 && hostile.height == 160, block, "the paint reached the window");
        const uint32_t ideal = static_cast<uint32_t>(SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0));
        const CalToolSettings normal = Normalised(s);
        if (!CalSameBytes(normal, s)) {
            SetSettings(tool, normal);
            Expect(
                CalCapturePaint(tool) == hostile, block, "paints as the block with its options normalised");
            Expect(static_cast<uint32_t>(SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0)) == ideal, block,
                "the preferred size depends on the font alone");
            SetSettings(tool, s);
            ++compared_;
        }

        const CalMenuLook menu = CalOpenAndCloseMenu(tool);
        Expect(menu.opened, block, "the context menu opened");
        Expect(menu.items == 8 && menu.days == 7, block, "the menu has its items");
        Expect(menu.weekNumbersChecked == (s.weekNumbers != 0), block, "week numbers marked when on");
        Expect(menu.backgroundChecked == (s.useBackground != 0), block, "background marked when on");
        const unsigned mark = s.firstDay >= 0 && s.firstDay <= 6 ? 1u << s.firstDay : 0u;
        Expect(
            menu.markedDays == mark, block, "the weekday mark is the first day's, or none outside the week");
        menus_ += menu.opened ? 1 : 0;
        Expect(CalSameBytes(state->settings, s), block, "painting, measuring and the menu change nothing");

        CheckPage(tool, s, block);
    }

    // The page shows the block, and an apply stores only what its buttons
    // can hold, telling the host exactly when something changed.
    void CheckPage(HWND tool, const CalToolSettings& s, long block)
    {
        CalToolState* state = CalToolFromWindow(tool);
        const bool fontPending = !CalSameBytes(state->appliedFont, s.font);
        const auto page = reinterpret_cast<HWND>(SendMessageA(
            tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(parent_->window), MAKELPARAM(0, 170)));
        Expect(page != nullptr, block, "a page was created");
        if (page == nullptr)
            return;
        int checkedDays = 0;
        for (int i = 0; i < 7; ++i)
            checkedDays += IsDlgButtonChecked(page, IDC_FIRSTDAY0 + i) == BST_CHECKED ? 1 : 0;
        const LONG weekday = WeekdayOf(s.firstDay);
        Expect(checkedDays == 1 && IsDlgButtonChecked(page, IDC_FIRSTDAY0 + weekday) == BST_CHECKED, block,
            "exactly the first day's weekday is checked");
        Expect((IsDlgButtonChecked(page, IDC_WEEKNUMBERS) == BST_CHECKED) == (s.weekNumbers == 1), block,
            "week-number box checked for 1 only");
        Expect((IsDlgButtonChecked(page, IDC_USEBACKGROUND) == BST_CHECKED) == (s.useBackground == 1), block,
            "background box checked for 1 only");

        const LONG weekNumbers = s.weekNumbers == 1 ? 1 : 0;
        const LONG useBackground = s.useBackground == 1 ? 1 : 0;
        const bool changed = weekNumbers != s.weekNumbers || useBackground != s.useBackground ||
            weekday != s.firstDay || fontPending;
        const size_t heard = parent_->Received(CTN_SETTINGSCHANGED).size();
        Expect(
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PAGEAPPLY, 0), 0) == 0, block, "apply answers 0");
        const auto told = parent_->Received(CTN_SETTINGSCHANGED);
        Expect(told.size() == heard + (changed ? 1 : 0), block,
            "the host hears of an apply that changed something");
        if (changed && told.size() == heard + 1)
            Expect(told.back().wParam == reinterpret_cast<WPARAM>(tool) && told.back().lParam == 1, block,
                "the apply's notification names the tool");
        Expect(state->settings.weekNumbers == weekNumbers && state->settings.useBackground == useBackground &&
                state->settings.firstDay == weekday,
            block, "the apply stores 0 or 1 and a weekday 0..6");
        Expect(CalSameBytes(state->appliedFont, s.font), block, "the apply takes the block's font into use");
        DestroyWindow(page);
        pages_ += 1;
    }

    long failures_ = 0;
    long compared_ = 0;  // blocks painted beside their normalised twin
    long menus_ = 0;
    long pages_ = 0;
};

TEST_F(HostileBlocks, EveryBlockIsSurvivedThroughCreationAndTheSettingsRequest)
{
    HWND live = Create(nullptr);
    ASSERT_NE(live, nullptr);
    long tried = 0;
    long leaks = 0;
    long created = 0;
    DWORD slowestMs = 0;
    long slowest = -1;
    const DWORD start = GetTickCount();
    for (long n = g_first; n < g_first + g_count; ++n) {
        const CalToolSettings s = HostileBlock(n);
        const CalLedgerCounts before = CalLedgerSnapshot();
        const DWORD blockStart = GetTickCount();
        // Even blocks come with a new tool, odd ones to a tool that lives on.
        if (n % 2 == 0) {
            HWND tool = Create(&s);
            Expect(tool != nullptr, n, "a tool was created");
            if (tool == nullptr)
                continue;
            ++created;
            Exercise(tool, s, n);
            DestroyWindow(tool);
        } else {
            Expect(SetSettings(live, s) == 0, n, "the settings request answers 0");
            Exercise(live, s, n);
        }
        ++tried;
        if (GetTickCount() - blockStart > slowestMs) {
            slowestMs = GetTickCount() - blockStart;
            slowest = n;
        }
        const CalLedgerCounts d = CalLedgerSnapshot() - before;
        if (d.LiveObjects() != 0 || d.LiveMenus() != 0 || d.LiveBlocks() != 0 || d.failedReleases != 0 ||
            d.releasedWhileInUse != 0 || d.dcsReleasedDirty != 0) {
            ++leaks;
            Expect(false, n, "something made for the block was left or released unsoundly");
        }
    }
    const DWORD ms = GetTickCount() - start;
    DestroyWindow(live);
    CalPumpMessages();
    CalExpectNothingLeft(before_);

    const std::string range =
        " (blocks " + std::to_string(g_first) + ".." + std::to_string(g_first + g_count - 1) + ")";
    CalPrintFigure(("hostile blocks tried" + range).c_str(), tried);
    CalPrintFigure(("hostile blocks given to a new tool" + range).c_str(), created);
    CalPrintFigure(("hostile blocks painted beside their normalised twin" + range).c_str(), compared_);
    CalPrintFigure(("hostile block menus seen open" + range).c_str(), menus_);
    CalPrintFigure(("hostile block pages applied" + range).c_str(), pages_);
    CalPrintFigure(("hostile block leaks found" + range).c_str(), leaks);
    CalPrintFigure(("hostile block ms per block" + range).c_str(), tried != 0 ? ms / tried : 0);
    CalPrintFigure(
        ("hostile block slowest, block " + std::to_string(slowest) + range).c_str(), slowestMs, " ms");
    EXPECT_EQ(tried, g_count);
    EXPECT_EQ(menus_, g_count) << "every menu was seen open before it was closed";
    EXPECT_EQ(pages_, g_count);
    EXPECT_EQ(leaks, 0);
    EXPECT_EQ(failures_, 0) << "failed expectations over all blocks";
}

// The font chooser is the one user of the chooser's record: whatever a block
// stored there, the record is filled afresh before the chooser opens, from
// the menu and from the page alike, and a cancelled choice changes nothing.
// The comparison with a normalised twin means something only if the
// captured picture tells the seven first days and both options apart.
TEST_F(HostileBlocks, ThePictureTellsEveryFirstDayAndOptionApart)
{
    std::vector<CalFrame> frames;
    for (LONG day = 0; day < 7; ++day) {
        CalToolSettings s = CalArialSettings();
        s.firstDay = day;
        HWND tool = Create(&s);
        ASSERT_NE(tool, nullptr);
        frames.push_back(CalCapturePaint(tool));
        CalToolFromWindow(tool)->settings.weekNumbers = 1;
        frames.push_back(CalCapturePaint(tool));
        CalToolFromWindow(tool)->settings.useBackground = 1;
        frames.push_back(CalCapturePaint(tool));
        DestroyWindow(tool);
    }
    for (size_t i = 0; i < frames.size(); ++i)
        for (size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_NE(frames[i], frames[j]) << "pictures " << i << " and " << j;
}

// Glyphs tens of thousands of units in size took the platform minutes to
// draw; the tool makes its font no larger than 1000 units either way.
TEST_F(HostileBlocks, AHugeFontPaintsAsTheLargestFontAToolMakes)
{
    CalToolSettings huge = CalArialSettings();
    huge.weekNumbers = 1;
    huge.firstDay = 4;
    huge.font.lfHeight = 32767;
    huge.font.lfWidth = 1000000;
    CalToolSettings largest = huge;
    largest.font.lfHeight = 1000;
    largest.font.lfWidth = 1000;
    const DWORD start = GetTickCount();
    HWND tool = Create(&huge);
    ASSERT_NE(tool, nullptr);
    const CalFrame frame = CalCapturePaint(tool);
    const auto size = SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0);
    EXPECT_LT(GetTickCount() - start, 5000u) << "two paints and a measurement";
    EXPECT_TRUE(CalSameBytes(CalToolFromWindow(tool)->settings, huge)) << "the block keeps what it holds";
    HWND bounded = Create(&largest);
    ASSERT_NE(bounded, nullptr);
    EXPECT_EQ(CalCapturePaint(bounded), frame);
    EXPECT_EQ(SendMessageA(bounded, CTM_GETIDEALSIZE, 0, 0), size);
}

TEST_F(HostileBlocks, GarbageInTheChoosersRecordNeverReachesTheChooser)
{
    for (long n = 6; n < 6 + 8 * 4; n += 8) {
        const CalToolSettings s = HostileBlock(n);
        HWND tool = Create(&s);
        ASSERT_NE(tool, nullptr);
        CalToolState* state = CalToolFromWindow(tool);
        const auto page = reinterpret_cast<HWND>(SendMessageA(
            tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(parent_->window), MAKELPARAM(0, 170)));
        ASSERT_NE(page, nullptr);
        for (HWND owner : {tool, page}) {
            CHOOSEFONTA seen{};
            CalModalScript script;
            script.Then([&] {
                HWND box = CalTestFindWindow("#32770", nullptr);
                if (box == nullptr || box == page)
                    return false;
                seen = state->settings.chooseFont;
                PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                return true;
            });
            const size_t heard = parent_->Received(CTN_SETTINGSCHANGED).size();
            EXPECT_TRUE(script.Run([&] {
                if (owner == tool)
                    SendMessageA(tool, WM_COMMAND, IDM_SELECTFONT, 0);
                else
                    SendDlgItemMessageA(page, IDC_SELECTFONT, BM_CLICK, 0, 0);
            })) << "block "
                << n;
            EXPECT_EQ(seen.lStructSize, sizeof(CHOOSEFONTA)) << "block " << n;
            EXPECT_EQ(seen.hwndOwner, owner) << "block " << n;
            EXPECT_EQ(seen.lpLogFont, &state->settings.font) << "block " << n;
            EXPECT_EQ(seen.Flags, static_cast<DWORD>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT))
                << "block " << n;
            EXPECT_EQ(seen.lpfnHook, nullptr) << "block " << n;
            EXPECT_EQ(seen.lpTemplateName, nullptr) << "block " << n;
            EXPECT_EQ(seen.hInstance, nullptr) << "block " << n;
            EXPECT_EQ(seen.lpszStyle, nullptr) << "block " << n;
            EXPECT_EQ(seen.rgbColors, s.chooseFont.rgbColors) << "the colour is left as stored";
            EXPECT_TRUE(CalSameBytes(state->settings.font, s.font))
                << "a cancelled choice keeps the font, block " << n;
            EXPECT_EQ(parent_->Received(CTN_SETTINGSCHANGED).size(), heard)
                << "a cancelled choice tells nothing";
        }
        DestroyWindow(page);
        DestroyWindow(tool);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // --blocks=FIRST:COUNT runs a part of the blocks, so that a long run
    // can be split over several processes.
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--blocks=", 9) == 0) {
            char* end = nullptr;
            g_first = std::strtol(argv[i] + 9, &end, 10);
            if (end != nullptr && *end == ':')
                g_count = std::strtol(end + 1, nullptr, 10);
        }
    }
    return CalTestMain(argc, argv);
}
