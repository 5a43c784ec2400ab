#include "records/hiscore_checksum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "records/hiscore_table.h"

namespace zonky {
namespace {

// A second checksum, in exact integer arithmetic: each value is m x 2^e with a 64-bit
// significand m (top bit set), and every sum and square root is rounded to 64 bits by
// hand, to nearest with ties to even, as the x87 does. It shares nothing with the
// long double code but the rule.
__extension__ typedef unsigned __int128 Wide;

struct Exact {
    std::uint64_t m = 0;
    int e = 0;
};

int BitLength(Wide x) {
    int n = 0;
    for (; x != 0; x >>= 1) ++n;
    return n;
}

Exact Round(Wide n, int e) {
    const int length = BitLength(n);
    if (length <= 64) return {static_cast<std::uint64_t>(n << (64 - length)), e - (64 - length)};
    const int drop = length - 64;
    Wide q = n >> drop;
    const Wide rest = n & ((Wide{1} << drop) - 1);
    const Wide half = Wide{1} << (drop - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    e += drop;
    if ((q >> 64) != 0) {
        q >>= 1;
        ++e;
    }
    return {static_cast<std::uint64_t>(q), e};
}

Exact Add(Exact a, Exact b) {
    const int e = std::min(a.e, b.e);
    // The values summed here lie within a few binary orders of each other.
    EXPECT_LE(a.e - e, 62);
    EXPECT_LE(b.e - e, 62);
    return Round((Wide{a.m} << (a.e - e)) + (Wide{b.m} << (b.e - e)), e);
}

// Integer square root by digits, with the remainder n - root^2.
Wide IntegerSqrt(Wide n, Wide& remainder) {
    Wide root = 0;
    Wide bit = Wide{1} << 126;
    while (bit > n) bit >>= 2;
    while (bit != 0) {
        if (n >= root + bit) {
            n -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    remainder = n;
    return root;
}

Exact Sqrt(Exact a) {
    // Scale the significand to 127 or 128 bits with an even exponent: the root then has
    // exactly 64 bits, and it rounds up when the remainder exceeds the root (a square root
    // never lies exactly halfway).
    const int shift = ((a.e - 63) % 2 == 0) ? 63 : 64;
    const Wide n = Wide{a.m} << shift;
    Wide remainder = 0;
    Wide root = IntegerSqrt(n, remainder);
    if (remainder > root) ++root;
    int e = (a.e - shift) / 2;
    if ((root >> 64) != 0) {
        root >>= 1;
        ++e;
    }
    return {static_cast<std::uint64_t>(root), e};
}

Exact ExactChecksum(const HiScoreTable& table) {
    Exact a = Round(1000000, 0);
    for (std::size_t i = 1; i <= HiScoreTable::kSize; ++i) {
        const std::uint64_t v = 32u * table.bytes[i - 1] * i;
        const Exact inner = v == 0 ? a : Add(a, Round(v, 0));
        a = Add(a, Sqrt(inner));
    }
    return a;
}

ExtendedBytes ExactBytes(Exact x) {
    ExtendedBytes out{};
    for (int b = 0; b < 8; ++b) out[b] = static_cast<std::uint8_t>(x.m >> (8 * b));
    const int biased = x.e + 63 + 16383;
    out[8] = static_cast<std::uint8_t>(biased & 0xFF);
    out[9] = static_cast<std::uint8_t>(biased >> 8);
    return out;
}

HiScoreTable Filled(std::uint8_t (*byteAt)(std::size_t)) {
    HiScoreTable table;
    for (std::size_t i = 0; i < HiScoreTable::kSize; ++i) table.bytes[i] = byteAt(i);
    return table;
}

TEST(HiScoreChecksum, AgreesBitForBitWithExactIntegerArithmetic) {
    HiScoreTable played;
    InsertHiScore(played, 1, 1500, 3, "Ann", 4);
    InsertHiScore(played, 1, 900, 128, std::string(25, 'z'), 24);
    InsertHiScore(played, 3, 7, 1, "", 0);
    const HiScoreTable tables[] = {
        HiScoreTable{},
        Filled([](std::size_t) -> std::uint8_t { return 0xFF; }),
        Filled([](std::size_t i) { return static_cast<std::uint8_t>(i * 37 + 11); }),
        Filled([](std::size_t i) { return static_cast<std::uint8_t>(i % 7 == 0 ? 1 : 0); }),
        played,
    };
    for (const HiScoreTable& table : tables) {
        const Exact exact = ExactChecksum(table);
        const long double sum = HiScoreChecksum(table);
        EXPECT_EQ(EncodeExtended(sum), ExactBytes(exact));
        EXPECT_EQ(sum, std::ldexp(static_cast<long double>(exact.m), exact.e));
        EXPECT_EQ(DecodeExtended(ExactBytes(exact)), sum);
    }
}

TEST(HiScoreChecksum, EverySingleBitFlipInTheTableIsCaught) {
    HiScoreTable table;
    InsertHiScore(table, 2, 4321, 5, "Ivan", 7);
    const long double good = HiScoreChecksum(table);
    int caught = 0;
    for (std::size_t i = 0; i < HiScoreTable::kSize; ++i)
        for (int bit = 0; bit < 8; ++bit) {
            HiScoreTable flipped = table;
            flipped.bytes[i] ^= static_cast<std::uint8_t>(1u << bit);
            if (!ChecksumMatches(HiScoreChecksum(flipped), good)) ++caught;
        }
    EXPECT_EQ(caught, static_cast<int>(HiScoreTable::kSize * 8));
}

TEST(HiScoreChecksum, ComparesWithinOneThousandth) {
    const long double a = 2500000.25L;
    EXPECT_TRUE(ChecksumMatches(a, a));
    EXPECT_TRUE(ChecksumMatches(a, a + 0.0009L));
    EXPECT_TRUE(ChecksumMatches(a, a - 0.0009L));
    EXPECT_FALSE(ChecksumMatches(a, a + 0.0011L));
    EXPECT_FALSE(ChecksumMatches(a, a - 0.0011L));
    EXPECT_FALSE(ChecksumMatches(a, std::numeric_limits<long double>::quiet_NaN()));
    EXPECT_FALSE(ChecksumMatches(a, std::numeric_limits<long double>::infinity()));
}

ExtendedBytes Bytes(std::uint64_t significand, int signAndExponent) {
    ExtendedBytes out{};
    for (int b = 0; b < 8; ++b) out[b] = static_cast<std::uint8_t>(significand >> (8 * b));
    out[8] = static_cast<std::uint8_t>(signAndExponent & 0xFF);
    out[9] = static_cast<std::uint8_t>(signAndExponent >> 8);
    return out;
}

TEST(ExtendedLayout, KnownValuesHaveTheirX87Bytes) {
    // 1 = 1.0 x 2^0; 1e6 = 0xF4240 x 2^0, whose top bit is bit 19; -2.5 = -1.01b x 2^1.
    const std::uint64_t top = std::uint64_t{1} << 63;
    EXPECT_EQ(EncodeExtended(1.0L), Bytes(top, 0x3FFF));
    EXPECT_EQ(EncodeExtended(1000000.0L), Bytes(0xF424000000000000, 0x3FFF + 19));
    EXPECT_EQ(EncodeExtended(-2.5L), Bytes(0xA000000000000000, 0x8000 | 0x4000));
    EXPECT_EQ(EncodeExtended(0.0L), Bytes(0, 0));
    EXPECT_EQ(EncodeExtended(-0.0L), Bytes(0, 0x8000));
    EXPECT_EQ(EncodeExtended(std::numeric_limits<long double>::infinity()), Bytes(top, 0x7FFF));
    const long double smallest = std::numeric_limits<long double>::denorm_min();
    EXPECT_EQ(EncodeExtended(smallest), Bytes(1, 0));
    EXPECT_EQ(DecodeExtended(Bytes(1, 0)), smallest);
    EXPECT_EQ(DecodeExtended(Bytes(0xF424000000000000, 0x3FFF + 19)), 1000000.0L);
    // The significand's lowest bit counts: 1 + 2^-63.
    EXPECT_EQ(DecodeExtended(Bytes(top | 1, 0x3FFF)), 1.0L + std::ldexp(1.0L, -63));
}

TEST(ExtendedLayout, RoundTripsEveryKindOfValue) {
    const long double values[] = {HiScoreChecksum(HiScoreTable{}),
                                  3.0L,
                                  -1.0L / 3.0L,
                                  std::numeric_limits<long double>::max(),
                                  std::numeric_limits<long double>::min(),
                                  std::numeric_limits<long double>::denorm_min() * 12345,
                                  -std::numeric_limits<long double>::infinity()};
    for (const long double v : values) EXPECT_EQ(DecodeExtended(EncodeExtended(v)), v);
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::nanl("")))));
}

TEST(ExtendedLayout, EncodingsTheX87RefusesDecodeAsNaN) {
    const std::uint64_t top = std::uint64_t{1} << 63;
    EXPECT_TRUE(std::isnan(DecodeExtended(Bytes(0xF424000000000000 >> 1, 0x3FFF + 20))));
    EXPECT_TRUE(std::isnan(DecodeExtended(Bytes(0, 0x7FFF))));        // pseudo-infinity
    EXPECT_TRUE(std::isnan(DecodeExtended(Bytes(top | 1, 0x7FFF))));  // NaN
    EXPECT_TRUE(std::isnan(DecodeExtended(Bytes(0x4000000000000000, 0x7FFF))));
    // A pseudo-denormal reads as the same value at the smallest normal exponent.
    EXPECT_EQ(DecodeExtended(Bytes(top, 0)), std::numeric_limits<long double>::min());
}

}  // namespace
}  // namespace zonky
