// Size fitting against exact integer arithmetic: the aspect constant's bits,
// the reference rows and bounds, every small proposal, the packed size's
// 16-bit halves, and the 32-bit extremes.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "plugin/cal_protocol.h"
#include "tool/fit_size.h"
#include "view/month_layout.h"

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// The aspect as an exact fraction: width = height * kNum / kDen.
constexpr int64_t kNum = 1398101;
constexpr int64_t kDen = 1048576;

// v * num / den truncated toward zero, held at the 32-bit limits.
int32_t Scale(int64_t v, int64_t num, int64_t den)
{
    v = v * num / den;
    return v > kMax ? kMax : (v < kMin ? kMin : static_cast<int32_t>(v));
}

// Packed by hand so that the packing helpers are not their own reference.
uint32_t Packed(int32_t width, int32_t height)
{
    return (static_cast<uint32_t>(width) & 0xFFFFu) | ((static_cast<uint32_t>(height) & 0xFFFFu) << 16);
}

// The fit worked out in exact integers.
uint32_t ExactFit(const CalFitRequest& r)
{
    const bool byHeight = r.byHeight != 0;
    int32_t proposed = r.proposed;
    int32_t derived = byHeight ? Scale(proposed, kNum, kDen) : Scale(proposed, kDen, kNum);
    const int32_t bound = byHeight ? r.maxWidth : r.maxHeight;
    if (derived > bound) {
        derived = bound;
        proposed = byHeight ? Scale(derived, kDen, kNum) : Scale(derived, kNum, kDen);
    }
    const int32_t w = byHeight ? derived : proposed;
    const int32_t h = byHeight ? proposed : derived;
    return w < r.minWidth || h < r.minHeight ? Packed(r.minWidth, r.minHeight) : Packed(w, h);
}

// A request and a packed size as failures print them.
std::string Show(const CalFitRequest& r)
{
    return ::testing::PrintToString(
        std::tuple(r.minWidth, r.minHeight, r.maxWidth, r.maxHeight, r.byHeight, r.proposed));
}
std::string Show(uint32_t packed)
{
    return std::to_string(packed & 0xFFFFu) + " x " + std::to_string(packed >> 16);
}

// Whether the fit of r packs to want; a failure shows both as width x height.
::testing::AssertionResult Gives(const CalFitRequest& r, uint32_t want)
{
    const uint32_t got = CalFitSize(r);
    return got == want ? ::testing::AssertionSuccess()
                       : ::testing::AssertionFailure()
            << "request " << Show(r) << " gave " << Show(got) << ", expected " << Show(want);
}
::testing::AssertionResult Fits(const CalFitRequest& r)
{
    return Gives(r, ExactFit(r));
}

}  // namespace

TEST(FitSizeTest, AspectIsTheSinglePrecisionJustUnderFourThirds)
{
    uint32_t bits = 0;
    static_assert(sizeof(CAL_ASPECT) == sizeof(bits), "the aspect is single precision");
    std::memcpy(&bits, &CAL_ASPECT, sizeof(bits));
    EXPECT_EQ(bits, 0x3FAAAAA8u);
    EXPECT_EQ(static_cast<double>(CAL_ASPECT), 1398101.0 / 1048576.0);
}

TEST(FitSizeTest, ReferenceRowsAndBounds)
{
    const std::tuple<CalFitRequest, int32_t, int32_t> rows[] = {
        // The reference table.
        {{40, 30, 1000, 1000, 1, 120}, 159, 120},  // the factor lies just under 4/3
        {{40, 30, 1000, 1000, 0, 160}, 160, 120},
        {{40, 30, 200, 1000, 1, 300}, 200, 150},  // width 399 cut, the height follows
        {{40, 30, 1000, 100, 0, 400}, 133, 100},  // height 300 cut, the width follows
        {{40, 30, 1000, 100, 1, 300}, 399, 300},  // the proposed height is not bounded
        {{60, 40, 1000, 1000, 0, 50}, 60, 40},    // 50 x 37 is below the minimum width
        {{1, 1, 1000, 1000, 1, 3}, 3, 3},
        // A size equal to a minimum is not below it; one more is.
        {{159, 30, 1000, 1000, 1, 120}, 159, 120},
        {{40, 120, 1000, 1000, 0, 160}, 160, 120},
        {{160, 30, 1000, 1000, 1, 120}, 160, 30},
        {{40, 121, 1000, 1000, 0, 160}, 40, 121},
        // A derived size equal to its maximum passes; one pixel less cuts it.
        {{0, 0, 159, 1000, 1, 120}, 159, 120},
        {{0, 0, 158, 1000, 1, 120}, 158, 118},
        {{0, 0, 1000, 120, 0, 160}, 160, 120},
        {{0, 0, 1000, 119, 0, 160}, 158, 119},
        // The proposed side meets only its minimum, never its maximum.
        {{0, 0, 100, 1000, 0, 400}, 400, 300},
        {{0, 301, 1000, 1000, 1, 300}, 0, 301},
        {{401, 0, 1000, 1000, 0, 400}, 401, 0},
        // A cut size that then falls below a minimum gives the minimum.
        {{40, 160, 200, 1000, 1, 300}, 40, 160},
    };
    for (const auto& [request, width, height] : rows)
        EXPECT_TRUE(Gives(request, Packed(width, height)));
}

TEST(FitSizeTest, EveryProposalMatchesTheExactIntegerForms)
{
    for (int32_t byHeight : {0, 1})
        for (int32_t p = -100000; p <= 100000; ++p) {
            // Bounds that never bite, bounds that bite somewhere in the range, and minimums.
            ASSERT_TRUE(Fits({kMin, kMin, kMax, kMax, byHeight, p}));
            for (int32_t bound : {-1000, 0, 1, 1333, 74999, 99999}) {
                ASSERT_TRUE(Fits({kMin, kMin, bound, bound, byHeight, p}));
                ASSERT_TRUE(Fits({kMin, kMin, bound, kMax, byHeight, p}));
                ASSERT_TRUE(Fits({kMin, kMin, kMax, bound, byHeight, p}));
            }
            ASSERT_TRUE(Fits({40, 30, kMax, kMax, byHeight, p}));
            ASSERT_TRUE(Fits({500, 300, 2000, 1500, byHeight, p}));
            ASSERT_TRUE(Fits({-50, -80, 50000, 60000, byHeight, p}));
        }

    // Whole multiples of the fraction divide exactly, where a quotient that
    // comes out a hair low would truncate to one less.
    for (int64_t k = -1536; k <= 1535; ++k) {
        const int32_t w = static_cast<int32_t>(k * kNum);
        const int32_t h = static_cast<int32_t>(k * kDen);
        ASSERT_TRUE(Gives({kMin, kMin, kMax, kMax, 0, w}, Packed(w, h)));
        ASSERT_TRUE(Gives({kMin, kMin, kMax, kMax, 1, h}, Packed(w, h)));
    }

    // The whole 32-bit range, sampled: the double arithmetic stays exact to
    // the last unit.
    for (int32_t byHeight : {0, 1})
        for (int64_t p = kMin; p <= kMax; p += 65521) {
            const int32_t v = static_cast<int32_t>(p);
            ASSERT_TRUE(Fits({kMin, kMin, kMax, kMax, byHeight, v}));
            ASSERT_TRUE(Fits({kMin, kMin, v, v, byHeight, 1000000}));
        }
}

TEST(FitSizeTest, PackingKeepsTheLowSixteenBitsOfEachHalf)
{
    const std::tuple<int32_t, int32_t, uint32_t> cases[] = {
        {160, 120, 0x7800A0u},
        {70000, 1, 0x11170u},
        {1, 70000, 0x11700001u},
        {0x1FFFF, 0, 0xFFFFu},  // no carry into the height
        {-1, -2, 0xFFFEFFFFu},
        {kMin, kMax, 0xFFFF0000u},
        {kMax, kMin, 0x0000FFFFu},
    };
    for (const auto& [width, height, packed] : cases) {
        EXPECT_EQ(CalPackSize(width, height), packed) << width << " x " << height;
        EXPECT_EQ(CalPackedWidth(packed), static_cast<uint16_t>(width)) << width << " x " << height;
        EXPECT_EQ(CalPackedHeight(packed), static_cast<uint16_t>(height)) << width << " x " << height;
    }
    // A fitted size beyond 16 bits keeps its low bits too.
    EXPECT_TRUE(Gives({0, 0, kMax, kMax, 0, 70000}, Packed(70000, 52500)));
}

TEST(FitSizeTest, ExtremeProposalsAndBoundsAreWellDefined)
{
    // The largest height whose width still fits in 32 bits, and the next.
    const int32_t lastExactHeight = static_cast<int32_t>((int64_t{kMax} * kDen + kDen - 1) / kNum);
    ASSERT_LE(int64_t{lastExactHeight} * kNum / kDen, int64_t{kMax});
    ASSERT_GT(int64_t{lastExactHeight + 1} * kNum / kDen, int64_t{kMax});

    const int32_t values[] = {kMin, kMin + 1, -lastExactHeight - 1, -lastExactHeight, -1, 0, 1,
        lastExactHeight, lastExactHeight + 1, kMax - 1, kMax};
    for (int32_t byHeight : {0, 1, kMin})
        for (int32_t proposed : values)
            for (int32_t maxSize : values)
                for (int32_t minSize : {kMin, -1, 0, 1, kMax}) {
                    ASSERT_TRUE(Fits({minSize, kMin, maxSize, kMax, byHeight, proposed}));
                    ASSERT_TRUE(Fits({kMin, minSize, kMax, maxSize, byHeight, proposed}));
                    ASSERT_TRUE(Fits({minSize, minSize, maxSize, maxSize, byHeight, proposed}));
                }

    // Widths beyond 32 bits are held at the limit, not wrapped.
    EXPECT_TRUE(Gives({kMin, kMin, kMax, kMax, 1, kMax}, Packed(kMax, kMax)));
    EXPECT_TRUE(Gives({kMin, kMin, kMax, kMax, 1, kMin}, Packed(kMin, kMin)));
    EXPECT_TRUE(Gives({5, 7, kMax, kMax, 1, kMin}, Packed(5, 7)));
}

namespace {

CalTextExtent Lines(int32_t w, int32_t h)
{
    return CalTextExtent{w, h};
}

TEST(IdealSizeTest, CombinesTheWidestAndTallestLines)
{
    CalTextExtent months[12];
    for (auto& m : months)
        m = Lines(80, 13);
    months[4] = Lines(90, 12);
    CalTextExtent rows[3] = {Lines(115, 13), Lines(116, 13), Lines(117, 13)};
    // 90 * 8 / 6 = 120 beats the widest digit row; 8 rows of 13.
    EXPECT_EQ(CalCombineIdealSize(months, rows), 120u | (104u << 16));

    // A digit row wider than the widened title wins, and is not widened.
    rows[1] = Lines(130, 13);
    EXPECT_EQ(CalCombineIdealSize(months, rows), 130u | (104u << 16));
    // The tallest line of either kind sets the row height.
    rows[2] = Lines(10, 20);
    EXPECT_EQ(CalCombineIdealSize(months, rows) >> 16, 160u);
    months[11] = Lines(10, 25);
    EXPECT_EQ(CalCombineIdealSize(months, rows) >> 16, 200u);
    // The widening truncates: 91 * 8 / 6 = 121.33.
    months[4] = Lines(91, 12);
    rows[1] = Lines(0, 0);
    EXPECT_EQ(CalCombineIdealSize(months, rows) & 0xFFFFu, 121u);
}

// The narrowest width from `from` up whose day columns, laid out beside
// week numbers, are each at least `widest` wide; the packed limit when none is.
int32_t NarrowestHolding(int32_t from, int32_t height, int32_t widest)
{
    for (int32_t w = from; w < 0xFFFF; ++w)
        if (CalComputeMonthLayout(CalLayoutInput{w, height, 1, 0, 2024, 3, 0}).columnWidth >= widest)
            return w;
    return 0xFFFF;
}

TEST(IdealSizeTest, WidensForAHeaderItsColumnsCannotHold)
{
    const struct {
        const char* what;
        int32_t width, height;
        int32_t widths[7];
        int32_t textHeight;
        bool unchanged;
    } cases[] = {
        {"initials that fit", 117, 104, {8, 10, 7, 11, 7, 7, 8}, 13, true},
        {"a text exactly as wide as a column (13)", 117, 104, {13, 0, 0, 0, 0, 0, 0}, 13, true},
        {"a text one pixel wider than a column", 117, 104, {0, 0, 0, 14, 0, 0, 0}, 13, false},
        {"shortest names, wider and taller", 94, 104, {31, 28, 30, 29, 27, 30, 26}, 16, false},
        {"the widest in the last column", 94, 104, {5, 5, 5, 5, 5, 5, 40}, 13, false},
        {"no header text at all", 94, 104, {0, 0, 0, 0, 0, 0, 0}, 0, true},
        {"a taller header only", 117, 104, {8, 8, 8, 8, 8, 8, 8}, 20, false},
        {"a size already wide enough", 4000, 3000, {50, 50, 50, 50, 50, 50, 50}, 30, true},
        {"a text no width holds", 117, 104, {9000, 0, 0, 0, 0, 0, 0}, 13, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CalTextExtent headers[7];
        int32_t widest = 0;
        for (int i = 0; i < 7; ++i) {
            headers[i] = Lines(c.widths[i], c.textHeight);
            widest = std::max(widest, c.widths[i]);
        }
        const uint32_t size = Packed(c.width, c.height);
        const uint32_t widened = CalWidenForHeader(size, headers);
        if (c.unchanged) {
            EXPECT_EQ(widened, size);
        }
        EXPECT_EQ(CalPackedWidth(widened), uint32_t(NarrowestHolding(c.width, c.height, widest)));
        EXPECT_EQ(CalPackedHeight(widened), uint32_t(std::max(c.height, 8 * c.textHeight)));
    }
}

TEST(IdealSizeTest, KeepsSixteenBitsAtEachStep)
{
    CalTextExtent months[12] = {};
    CalTextExtent rows[3] = {};
    // 12000 widened is 16000; eight rows of 9000 are 72000, kept to its low
    // 16 bits.
    months[0] = Lines(12000, 9000);
    EXPECT_EQ(CalCombineIdealSize(months, rows), 16000u | ((72000u - 65536u) << 16));
    // A width past 16 bits is kept to its low 16 before widening.
    months[0] = Lines(65536 + 60, 1);
    EXPECT_EQ(CalCombineIdealSize(months, rows) & 0xFFFFu, 80u);
    // Nothing measured gives nothing; negative extents count as none.
    months[0] = Lines(-5, -5);
    EXPECT_EQ(CalCombineIdealSize(months, rows), 0u);
}

}  // namespace
