// Scanning a row of palette indices eight pixels at a time for the first
// pixel that passes or fails a colour test. The fills and the region labels
// spend most of their time finding where runs begin and end; comparing a
// machine word at once instead of a byte keeps that near memory speed.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace rowscan {

static_assert(std::endian::native == std::endian::little, "byte order of the word scans");

inline uint64_t Load(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline uint64_t Spread(uint8_t c) {
    return 0x0101010101010101ULL * c;
}
// 0x80 in exactly the bytes of v that are zero.
inline uint64_t ZeroBytes(uint64_t v) {
    constexpr uint64_t lo7 = 0x7F7F7F7F7F7F7F7FULL;
    return ~(((v & lo7) + lo7) | v | lo7);
}

// Which pixels are inside: equal to a, or different from both a and b.
struct Test {
    bool equal;
    uint8_t a, b;
    static Test Equal(uint8_t c) { return {true, c, c}; }
    static Test NotEqual(uint8_t c) { return {false, c, c}; }
    static Test NotEither(uint8_t c, uint8_t d) { return {false, c, d}; }

    bool operator()(uint8_t c) const { return equal ? c == a : (c != a && c != b); }
    // 0x80 in the bytes of w that are inside.
    uint64_t Inside(uint64_t w) const {
        if (equal) return ZeroBytes(w ^ Spread(a));
        return ~(ZeroBytes(w ^ Spread(a)) | ZeroBytes(w ^ Spread(b))) & 0x8080808080808080ULL;
    }
};

// The first x in [x, end) whose pixel's insideness is `want`; end if none.
inline int Next(const uint8_t* row, int x, int end, const Test& t, bool want) {
    const uint64_t flip = want ? 0 : 0x8080808080808080ULL;
    for (; x + 8 <= end; x += 8) {
        const uint64_t m = t.Inside(Load(row + x)) ^ flip;
        if (m) return x + std::countr_zero(m) / 8;
    }
    for (; x < end; ++x)
        if (t(row[x]) == want) return x;
    return end;
}

// The last x in [begin, x) whose pixel's insideness is `want`; begin - 1 if none.
inline int Prev(const uint8_t* row, int x, int begin, const Test& t, bool want) {
    const uint64_t flip = want ? 0 : 0x8080808080808080ULL;
    for (; x - 8 >= begin; x -= 8) {
        const uint64_t m = t.Inside(Load(row + x - 8)) ^ flip;
        if (m) return x - 8 + (63 - std::countl_zero(m)) / 8;
    }
    for (; x > begin; --x)
        if (t(row[x - 1]) == want) return x - 1;
    return begin - 1;
}

}  // namespace rowscan
