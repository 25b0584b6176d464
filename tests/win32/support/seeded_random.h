// A generator with a fixed seed, so that every run of a long test tries the
// same inputs.
#ifndef CALENDAR_TESTS_SEEDED_RANDOM_H
#define CALENDAR_TESTS_SEEDED_RANDOM_H

#include <windows.h>

#include <cstdint>

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

#endif
