// SPDX-License-Identifier: Apache-2.0
// Draws typed values from a fuzzer's bytes; past the end every value is 0.
#ifndef ZELVAR_FUZZ_FUZZ_INPUT_H
#define ZELVAR_FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A property every input must keep; a violation aborts, which the fuzzer reports with the input.
#define FUZZ_CHECK(cond)                                                              \
    do {                                                                              \
        if (!(cond)) {                                                                \
            std::fprintf(stderr, "property failed: %s (line %d)\n", #cond, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <typename T>
    T Value() {
        unsigned char raw[sizeof(T)] = {};
        for (unsigned char& b : raw) b = Byte();
        T v;
        std::memcpy(&v, raw, sizeof v);
        return v;
    }

    // One of the listed values, or (when the selector byte says so) any value at all, so that
    // the interesting values are reached often and the rest are still tried.
    template <typename T, std::size_t N>
    T OneOfOrAny(const T (&choices)[N]) {
        const std::uint8_t selector = Byte();
        if (selector < 200) return choices[selector % N];
        return Value<T>();
    }

    std::size_t Remaining() const { return size_ - pos_; }
    const std::uint8_t* Rest() const { return data_ + pos_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

#endif  // ZELVAR_FUZZ_FUZZ_INPUT_H
