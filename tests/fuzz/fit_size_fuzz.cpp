// Size fitting for any 24 bytes of request: no undefined behaviour, and the
// result equals the same rule worked in exact integer arithmetic, which
// needs no floating point: the aspect is exactly 1398101 / 1048576.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/fuzz_input.h"
#include "tool/fit_size.h"

namespace {

constexpr int64_t kNumerator = 1398101;
constexpr int64_t kDenominator = 1048576;

// Quotients truncate toward zero, as C++ integer division does; a result
// beyond 32 bits is held to the nearest 32-bit value.
int32_t Clamp(int64_t v)
{
    return static_cast<int32_t>(v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v);
}
int32_t Width(int32_t h)
{
    return Clamp(int64_t{h} * kNumerator / kDenominator);
}
int32_t Height(int32_t w)
{
    return Clamp(int64_t{w} * kDenominator / kNumerator);
}

uint32_t Expected(const CalFitRequest& r)
{
    int32_t w = r.byHeight != 0 ? Width(r.proposed) : r.proposed;
    int32_t h = r.byHeight != 0 ? r.proposed : Height(r.proposed);
    if (r.byHeight != 0 && r.maxWidth < w) {
        w = r.maxWidth;
        h = Height(w);
    } else if (r.byHeight == 0 && r.maxHeight < h) {
        h = r.maxHeight;
        w = Width(h);
    }
    if (r.minWidth > w || r.minHeight > h) {
        w = r.minWidth;
        h = r.minHeight;
    }
    return (static_cast<uint32_t>(w) & 0xFFFFu) | (static_cast<uint32_t>(h) << 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CalFuzzInput bytes(data, size);
    CalFitRequest r{};
    r.minWidth = bytes.Next();
    r.minHeight = bytes.Next();
    r.maxWidth = bytes.Next();
    r.maxHeight = bytes.Next();
    r.byHeight = bytes.Next();
    r.proposed = bytes.Next();

    const uint32_t got = CalFitSize(r);
    const uint32_t want = Expected(r);
    if (got != want) {
        std::fprintf(stderr,
            "fit fault: min %d x %d, max %d x %d, byHeight %d, proposed %d: 0x%08X, expected 0x%08X\n",
            r.minWidth, r.minHeight, r.maxWidth, r.maxHeight, r.byHeight, r.proposed, got, want);
        std::abort();
    }
    return 0;
}
