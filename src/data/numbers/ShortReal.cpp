// Storing into a short real: the one place where money loses precision.
//
// A short real keeps 40 significant bits (39 stored, the leading 1 implied) and a binary
// exponent byte biased by 129.  Every stored value is therefore exactly representable in a
// long double, which lets value_ hold it without any further conversion.
#include <cmath>

#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

namespace {

constexpr int kSignificandBits = 40;
constexpr int kExponentBias = 129;
// 1.0 x 2^-128 (exponent byte 1) is the smallest magnitude; 2^127 is the first one that needs
// an exponent byte of 256, which does not exist.
constexpr int kMinBinaryExponent = 1 - kExponentBias;
constexpr int kOverflowBinaryExponent = 256 - kExponentBias;

}  // namespace

Extended roundToShortReal(Extended v) {
  if (std::isnan(v)) throw Error("Invalid floating point operation");
  if (std::isinf(v)) throw Error("Floating point overflow");
  if (v == 0) return 0;  // also folds -0 into +0, which has no encoding of its own

  // frexpl gives |m| in [0.5, 1); scaling by 2^40 is exact and leaves the bits a short real
  // keeps in the integer part.  roundl rounds halves away from zero, which is the rule for
  // storing (not the round-to-even of the long double arithmetic itself).
  int exp = 0;
  const Extended m = std::frexp(v, &exp);
  const Extended kept = std::round(std::ldexp(m, kSignificandBits));
  const Extended rounded = std::ldexp(kept, exp - kSignificandBits);

  // The limits are checked after rounding: a value that rounds up to 2^127 cannot be stored,
  // and one that rounds up to 2^-128 can.
  const Extended magnitude = std::fabs(rounded);
  if (magnitude >= std::ldexp(Extended{1}, kOverflowBinaryExponent)) {
    throw Error("Floating point overflow");
  }
  if (magnitude < std::ldexp(Extended{1}, kMinBinaryExponent)) return 0;
  return rounded;
}

ShortReal::ShortReal(Extended v) : value_(roundToShortReal(v)) {}

std::array<std::uint8_t, 6> ShortReal::encode() const {
  std::array<std::uint8_t, 6> bytes{};
  if (value_ == 0) return bytes;

  int exp = 0;
  const Extended m = std::frexp(std::fabs(value_), &exp);  // value = m x 2^exp, m in [0.5, 1)
  // m x 2^40 is the full 40-bit significand; dropping the implied top bit leaves the fraction.
  const auto significand = static_cast<std::uint64_t>(std::ldexp(m, kSignificandBits));
  const std::uint64_t fraction = significand & ((std::uint64_t{1} << 39) - 1);

  // 1.f x 2^(exp - 1) is stored with exponent byte exp - 1 + bias.
  bytes[0] = static_cast<std::uint8_t>(exp - 1 + kExponentBias);
  for (int i = 0; i < 5; ++i) bytes[1 + i] = static_cast<std::uint8_t>(fraction >> (8 * i));
  if (value_ < 0) bytes[5] |= 0x80;
  return bytes;
}

ShortReal ShortReal::decode(const std::array<std::uint8_t, 6>& bytes) {
  ShortReal r;
  if (bytes[0] == 0) return r;  // the exponent byte alone marks zero; the rest is ignored

  std::uint64_t fraction = bytes[5] & 0x7F;
  for (int i = 4; i >= 1; --i) fraction = (fraction << 8) | bytes[i];
  const std::uint64_t significand = (std::uint64_t{1} << 39) | fraction;

  // The significand is an integer 1f x 2^39, so the value is significand x 2^(e - bias - 39).
  Extended v = std::ldexp(static_cast<Extended>(significand), bytes[0] - kExponentBias - 39);
  if (bytes[5] & 0x80) v = -v;
  r.value_ = v;  // already a short real: no rounding needed
  return r;
}

}  // namespace corvanta
