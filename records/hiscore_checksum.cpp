#include "records/hiscore_checksum.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace zonky {
namespace {

constexpr int kExponentBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
constexpr int kSignificandBits = 64;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
// The smallest x87 exponent, shared by denormals: value = significand x 2^(1 - 16383 - 63).
constexpr int kDenormalScale = 1 - kExponentBias - (kSignificandBits - 1);
constexpr long double kChecksumTolerance = 0.001L;

ExtendedBytes Pack(std::uint64_t significand, bool negative, int exponent) {
    ExtendedBytes out{};
    for (int b = 0; b < 8; ++b) out[b] = static_cast<std::uint8_t>(significand >> (8 * b));
    const auto top = static_cast<std::uint16_t>((negative ? 0x8000 : 0) | exponent);
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

}  // namespace

long double HiScoreChecksum(const HiScoreTable& table) {
    long double a = kHiScoreChecksumStart;
    std::uint32_t i = 1;
    for (const std::uint8_t b : table.bytes) {
        // Exact in 32 bits: at most 32 x 255 x 1212.
        const std::uint32_t v = 32u * b * i;
        a = a + std::sqrt(a + static_cast<long double>(v));
        ++i;
    }
    return a;
}

bool ChecksumMatches(long double computed, long double stored) {
    return std::fabs(computed - stored) <= kChecksumTolerance;
}

ExtendedBytes EncodeExtended(long double value) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return Pack(kIntegerBit | (kIntegerBit >> 1), negative, kMaxExponent);
    if (std::isinf(value)) return Pack(kIntegerBit, negative, kMaxExponent);
    if (value == 0) return Pack(0, negative, 0);

    const long double magnitude = std::fabs(value);
    int exponent = 0;
    const long double fraction = std::frexp(magnitude, &exponent);  // in [0.5, 1)
    int biased = exponent - 1 + kExponentBias;
    if (biased <= 0) {
        // Denormal: the significand is the value in units of the smallest step.
        const long double units = std::nearbyint(std::ldexp(magnitude, -kDenormalScale));
        if (units >= std::ldexp(1.0L, 63)) return Pack(kIntegerBit, negative, 1);
        return Pack(static_cast<std::uint64_t>(units), negative, 0);
    }
    // Exact where long double has 64 bits; rounds where it has more.
    long double scaled = std::nearbyint(std::ldexp(fraction, kSignificandBits));
    if (scaled >= std::ldexp(1.0L, kSignificandBits)) {
        scaled = std::ldexp(scaled, -1);
        ++biased;
    }
    if (biased >= kMaxExponent) return Pack(kIntegerBit, negative, kMaxExponent);
    return Pack(static_cast<std::uint64_t>(scaled), negative, biased);
}

long double DecodeExtended(const ExtendedBytes& bytes) {
    std::uint64_t significand = 0;
    for (int b = 7; b >= 0; --b) significand = significand << 8 | bytes[b];
    const int top = bytes[8] | bytes[9] << 8;
    const bool negative = (top & 0x8000) != 0;
    const int exponent = top & kMaxExponent;

    long double magnitude = 0;
    if (exponent == kMaxExponent) {
        if (significand != kIntegerBit) return std::nanl("");
        magnitude = std::numeric_limits<long double>::infinity();
    } else if (exponent == 0) {
        // Denormals, and pseudo-denormals (integer bit set), which the x87 reads alike.
        magnitude = std::ldexp(static_cast<long double>(significand), kDenormalScale);
    } else {
        if ((significand & kIntegerBit) == 0) return std::nanl("");  // unnormal
        magnitude = std::ldexp(static_cast<long double>(significand),
                               exponent - kExponentBias - (kSignificandBits - 1));
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace zonky
