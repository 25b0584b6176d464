// Size fitting against exact integer arithmetic: the aspect constant's bits,
// the reference table, the bounds, sweeps over every small proposal, the
// packed size's 16-bit halves, and the 32-bit extremes.
#include <cstdint>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "plugin/cal_protocol.h"
#include "tool/fit_size.h"

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// The aspect as an exact fraction: width = height * kNum / kDen.
constexpr int64_t kNum = 1398101;
constexpr int64_t kDen = 1048576;

CalFitRequest Request(int32_t minWidth, int32_t minHeight, int32_t maxWidth, int32_t maxHeight,
    int32_t byHeight, int32_t proposed)
{
    return CalFitRequest{minWidth, minHeight, maxWidth, maxHeight, byHeight, proposed};
}

// Integer division truncates toward zero, as the fit requires; results
// beyond 32 bits are held at the nearest limit.
int32_t Saturate(int64_t v)
{
    return v > kMax ? kMax : (v < kMin ? kMin : static_cast<int32_t>(v));
}
int32_t ExactWidth(int32_t h)
{
    return Saturate(int64_t{h} * kNum / kDen);
}
int32_t ExactHeight(int32_t w)
{
    return Saturate(int64_t{w} * kDen / kNum);
}

struct Size {
    int32_t width;
    int32_t height;
};

// The fit worked out in exact integers, before packing.
Size ExactFit(const CalFitRequest& r)
{
    Size s{};
    if (r.byHeight != 0) {
        s.height = r.proposed;
        s.width = ExactWidth(s.height);
        if (s.width > r.maxWidth) {
            s.width = r.maxWidth;
            s.height = ExactHeight(s.width);
        }
    } else {
        s.width = r.proposed;
        s.height = ExactHeight(s.width);
        if (s.height > r.maxHeight) {
            s.height = r.maxHeight;
            s.width = ExactWidth(s.height);
        }
    }
    if (s.width < r.minWidth || s.height < r.minHeight)
        return Size{r.minWidth, r.minHeight};
    return s;
}

// Packed by hand so that the packing helpers are not their own reference.
uint32_t Packed(int32_t width, int32_t height)
{
    return (static_cast<uint32_t>(width) & 0xFFFFu) | ((static_cast<uint32_t>(height) & 0xFFFFu) << 16);
}

::testing::AssertionResult FitsLikeExactArithmetic(const CalFitRequest& r)
{
    const Size expected = ExactFit(r);
    const uint32_t got = CalFitSize(r);
    if (got == Packed(expected.width, expected.height))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << "request (" << r.minWidth << ", " << r.minHeight << ", " << r.maxWidth << ", " << r.maxHeight
        << ", " << r.byHeight << ", " << r.proposed << ") gave width " << CalPackedWidth(got) << " height "
        << CalPackedHeight(got) << ", expected " << expected.width << " x " << expected.height;
}

}  // namespace

TEST(FitSizeTest, AspectIsTheSinglePrecisionJustUnderFourThirds)
{
    uint32_t bits = 0;
    static_assert(sizeof(CAL_ASPECT) == sizeof(bits), "the aspect is single precision");
    std::memcpy(&bits, &CAL_ASPECT, sizeof(bits));
    EXPECT_EQ(bits, 0x3FAAAAA8u);
    EXPECT_EQ(static_cast<double>(CAL_ASPECT), 1398101.0 / 1048576.0);
    EXPECT_EQ(static_cast<double>(CAL_ASPECT) * 1048576.0, 1398101.0);
    EXPECT_LT(CAL_ASPECT, 4.0f / 3.0f);
}

TEST(FitSizeTest, ReferenceTable)
{
    struct Row {
        CalFitRequest request;
        uint32_t width;
        uint32_t height;
    };
    const Row rows[] = {
        {Request(40, 30, 1000, 1000, 1, 120), 159, 120},  // the factor lies just under 4/3
        {Request(40, 30, 1000, 1000, 0, 160), 160, 120},
        {Request(40, 30, 200, 1000, 1, 300), 200, 150},  // width 399 cut, the height follows
        {Request(40, 30, 1000, 100, 0, 400), 133, 100},  // height 300 cut, the width follows
        {Request(40, 30, 1000, 100, 1, 300), 399, 300},  // the proposed height is not bounded
        {Request(60, 40, 1000, 1000, 0, 50), 60, 40},    // 50 x 37 is below the minimum width
        {Request(1, 1, 1000, 1000, 1, 3), 3, 3},
    };
    for (const Row& row : rows) {
        const uint32_t packed = CalFitSize(row.request);
        EXPECT_EQ(CalPackedWidth(packed), row.width) << "proposed " << row.request.proposed;
        EXPECT_EQ(CalPackedHeight(packed), row.height) << "proposed " << row.request.proposed;
        EXPECT_EQ(packed, row.width | row.height << 16) << "proposed " << row.request.proposed;
    }
}

TEST(FitSizeTest, BoundsAreInclusiveAndOnlyTheDerivedSideIsBounded)
{
    // A size equal to a minimum is not below it: the computed size comes back,
    // visibly different from the minimum pair.
    EXPECT_EQ(CalFitSize(Request(159, 30, 1000, 1000, 1, 120)), Packed(159, 120));
    EXPECT_EQ(CalFitSize(Request(40, 120, 1000, 1000, 0, 160)), Packed(160, 120));
    EXPECT_EQ(CalFitSize(Request(160, 30, 1000, 1000, 1, 120)), Packed(160, 30));
    EXPECT_EQ(CalFitSize(Request(40, 121, 1000, 1000, 0, 160)), Packed(40, 121));

    // A derived size equal to its maximum passes; one pixel less cuts it.
    EXPECT_EQ(CalFitSize(Request(0, 0, 159, 1000, 1, 120)), Packed(159, 120));
    EXPECT_EQ(CalFitSize(Request(0, 0, 158, 1000, 1, 120)), Packed(158, 118));
    EXPECT_EQ(CalFitSize(Request(0, 0, 1000, 120, 0, 160)), Packed(160, 120));
    EXPECT_EQ(CalFitSize(Request(0, 0, 1000, 119, 0, 160)), Packed(158, 119));

    // The proposed side is never held to its own maximum, only to the minimum.
    EXPECT_EQ(CalFitSize(Request(0, 0, 100, 1000, 0, 400)), Packed(400, 300));
    EXPECT_EQ(CalFitSize(Request(0, 0, 1000, 10, 1, 300)), Packed(399, 300));
    EXPECT_EQ(CalFitSize(Request(0, 301, 1000, 1000, 1, 300)), Packed(0, 301));
    EXPECT_EQ(CalFitSize(Request(401, 0, 1000, 1000, 0, 400)), Packed(401, 0));

    // A cut size that then falls below a minimum gives the minimum.
    EXPECT_EQ(CalFitSize(Request(40, 160, 200, 1000, 1, 300)), Packed(40, 160));
}

TEST(FitSizeTest, EveryProposalMatchesTheExactIntegerForms)
{
    constexpr int32_t kRange = 100000;
    for (int32_t byHeight = 0; byHeight <= 1; ++byHeight) {
        for (int32_t p = -kRange; p <= kRange; ++p) {
            // Bounds that never bite leave the plain quotient or product.
            const CalFitRequest unbounded = Request(kMin, kMin, kMax, kMax, byHeight, p);
            const uint32_t packed = CalFitSize(unbounded);
            const int32_t derived = byHeight ? ExactWidth(p) : ExactHeight(p);
            const uint32_t expected = byHeight ? Packed(derived, p) : Packed(p, derived);
            ASSERT_EQ(packed, expected) << "byHeight " << byHeight << " proposed " << p;

            // Bounds that bite somewhere in the range, and minimums.
            for (int32_t bound : {-1000, 0, 1, 1333, 74999, 99999}) {
                ASSERT_TRUE(FitsLikeExactArithmetic(Request(kMin, kMin, bound, bound, byHeight, p)));
                ASSERT_TRUE(FitsLikeExactArithmetic(Request(kMin, kMin, bound, kMax, byHeight, p)));
                ASSERT_TRUE(FitsLikeExactArithmetic(Request(kMin, kMin, kMax, bound, byHeight, p)));
            }
            ASSERT_TRUE(FitsLikeExactArithmetic(Request(40, 30, kMax, kMax, byHeight, p)));
            ASSERT_TRUE(FitsLikeExactArithmetic(Request(500, 300, 2000, 1500, byHeight, p)));
            ASSERT_TRUE(FitsLikeExactArithmetic(Request(-50, -80, 50000, 60000, byHeight, p)));
        }
    }

    // Whole multiples of the fraction divide exactly, where a quotient that
    // comes out a hair low would truncate to one less.
    for (int64_t k = -1536; k <= 1535; ++k) {
        const int32_t w = static_cast<int32_t>(k * kNum);
        const int32_t h = static_cast<int32_t>(k * kDen);
        ASSERT_EQ(CalFitSize(Request(kMin, kMin, kMax, kMax, 0, w)), Packed(w, h)) << k;
        ASSERT_EQ(CalFitSize(Request(kMin, kMin, kMax, kMax, 1, h)), Packed(w, h)) << k;
    }

    // The whole 32-bit range, sampled: the double arithmetic stays exact to
    // the last unit, and results beyond 32 bits saturate.
    for (int32_t byHeight = 0; byHeight <= 1; ++byHeight) {
        for (int64_t p = kMin; p <= kMax; p += 65521) {
            const int32_t v = static_cast<int32_t>(p);
            ASSERT_TRUE(FitsLikeExactArithmetic(Request(kMin, kMin, kMax, kMax, byHeight, v)));
            ASSERT_TRUE(FitsLikeExactArithmetic(Request(kMin, kMin, v, v, byHeight, 1000000)));
        }
    }
}

TEST(FitSizeTest, PackingKeepsTheLowSixteenBitsOfEachHalf)
{
    EXPECT_EQ(CalPackSize(160, 120), 0x7800A0u);
    EXPECT_EQ(CalPackSize(70000, 1), (70000u & 0xFFFFu) | 1u << 16);
    EXPECT_EQ(CalPackSize(1, 70000), 1u | (70000u & 0xFFFFu) << 16);
    EXPECT_EQ(CalPackSize(0x1FFFF, 0), 0xFFFFu);  // no carry into the height
    EXPECT_EQ(CalPackSize(-1, -2), 0xFFFEFFFFu);
    EXPECT_EQ(CalPackSize(-70000, 0), static_cast<uint32_t>(-70000) & 0xFFFFu);
    EXPECT_EQ(CalPackSize(kMin, kMax), 0xFFFF0000u);
    EXPECT_EQ(CalPackSize(kMax, kMin), 0x0000FFFFu);

    EXPECT_EQ(CalPackedWidth(0x7800A0u), 160u);
    EXPECT_EQ(CalPackedHeight(0x7800A0u), 120u);
    EXPECT_EQ(CalPackedWidth(0xFFFEFFFFu), 0xFFFFu);
    EXPECT_EQ(CalPackedHeight(0xFFFEFFFFu), 0xFFFEu);

    for (int32_t v = 0; v <= 0xFFFF; ++v) {
        const uint32_t packed = CalPackSize(v, 0xFFFF - v);
        ASSERT_EQ(CalPackedWidth(packed), static_cast<uint32_t>(v));
        ASSERT_EQ(CalPackedHeight(packed), static_cast<uint32_t>(0xFFFF - v));
    }

    // A fitted size beyond 16 bits keeps its low bits too.
    const uint32_t wide = CalFitSize(Request(0, 0, kMax, kMax, 0, 70000));
    EXPECT_EQ(CalPackedWidth(wide), 70000u & 0xFFFFu);
    EXPECT_EQ(CalPackedHeight(wide), 52500u);
}

TEST(FitSizeTest, ExtremeProposalsAndBoundsAreWellDefined)
{
    // The largest height whose width still fits in 32 bits, and the next.
    const int32_t lastExactHeight = static_cast<int32_t>((int64_t{kMax} * kDen + kDen - 1) / kNum);
    ASSERT_EQ(ExactWidth(lastExactHeight), static_cast<int32_t>(int64_t{lastExactHeight} * kNum / kDen));
    ASSERT_GT(int64_t{lastExactHeight + 1} * kNum / kDen, int64_t{kMax});

    const int32_t values[] = {kMin, kMin + 1, -lastExactHeight - 1, -lastExactHeight, -1, 0, 1,
        lastExactHeight, lastExactHeight + 1, kMax - 1, kMax};
    for (int32_t byHeight : {0, 1, kMin}) {
        for (int32_t proposed : values)
            for (int32_t maxSize : values)
                for (int32_t minSize : {kMin, -1, 0, 1, kMax}) {
                    ASSERT_TRUE(
                        FitsLikeExactArithmetic(Request(minSize, kMin, maxSize, kMax, byHeight, proposed)));
                    ASSERT_TRUE(
                        FitsLikeExactArithmetic(Request(kMin, minSize, kMax, maxSize, byHeight, proposed)));
                    ASSERT_TRUE(FitsLikeExactArithmetic(
                        Request(minSize, minSize, maxSize, maxSize, byHeight, proposed)));
                }
    }

    // Widths beyond 32 bits are held at the limit, not wrapped.
    EXPECT_EQ(CalFitSize(Request(kMin, kMin, kMax, kMax, 1, kMax)), Packed(kMax, kMax));
    EXPECT_EQ(CalFitSize(Request(kMin, kMin, kMax, kMax, 1, kMin)), Packed(kMin, kMin));
    EXPECT_EQ(CalFitSize(Request(5, 7, kMax, kMax, 1, kMin)), Packed(5, 7));
    // The widest proposal still has a height in range.
    EXPECT_EQ(CalFitSize(Request(kMin, kMin, kMax, kMax, 0, kMax)),
        Packed(kMax, static_cast<int32_t>(int64_t{kMax} * kDen / kNum)));
}
