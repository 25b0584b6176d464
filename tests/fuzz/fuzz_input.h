// Reads a fuzzer's bytes as the little-endian 32-bit fields of a record;
// missing bytes read as zero, so every input, however short, is a record.
#ifndef CALENDAR_TESTS_FUZZ_INPUT_H
#define CALENDAR_TESTS_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>

class CalFuzzInput {
public:
    CalFuzzInput(const uint8_t* data, size_t size)
        : data_(data)
        , size_(size)
    {
    }

    int32_t Next()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i, ++at_)
            if (at_ < size_)
                v |= uint32_t{data_[at_]} << (8 * i);
        return static_cast<int32_t>(v);
    }

    // A value in lo..hi, whatever the bytes.
    int32_t NextIn(int32_t lo, int32_t hi)
    {
        const uint32_t span = static_cast<uint32_t>(hi - lo) + 1u;
        return lo + static_cast<int32_t>(static_cast<uint32_t>(Next()) % span);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

#endif
