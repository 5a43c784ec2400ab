// The checksum that guards the best-players file, and the 10-byte x87 extended layout it is
// stored in. The layout is encoded by hand so the bytes are the same whatever the machine's
// own long double looks like.
#pragma once

#include <array>
#include <cstdint>

#include "records/hiscore_table.h"

namespace zonky {

inline constexpr std::size_t kExtendedSize = 10;
using ExtendedBytes = std::array<std::uint8_t, kExtendedSize>;

// Every file ever written starts from this value; changing it invalidates them all.
inline constexpr long double kHiScoreChecksumStart = 1000000.0L;

// A = A + sqrt(A + 32 * b * i) over the table bytes b, i counting from 1, in long double.
long double HiScoreChecksum(const HiScoreTable& table);

// A stored checksum passes when it lies within 0.001 of the computed one; NaN never does.
bool ChecksumMatches(long double computed, long double stored);

// x87 layout: bytes 0..7 the 64-bit significand with its explicit integer bit,
// little-endian; bytes 8..9 the sign (bit 15) and the exponent biased by 16383.
ExtendedBytes EncodeExtended(long double value);

// The value of 10 stored bytes. Encodings the x87 itself refuses (unnormals,
// pseudo-infinities, pseudo-NaNs) decode as NaN, so they fail every comparison.
long double DecodeExtended(const ExtendedBytes& bytes);

}  // namespace zonky
