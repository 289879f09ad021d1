#pragma once
// Money arithmetic and the text forms every computing command uses.
//
// Money, rates and running totals are held between steps as "short reals":
// a 6-byte binary floating type with a 40-bit significand.  Arithmetic runs in
// x86-64 extended precision (long double); only a value *stored* into a short
// real is cut to its precision (nearest, halves away from zero).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvanta {

using Extended = long double;

class ShortReal {
 public:
  ShortReal() = default;
  // Rounds to the nearest short real (halves away from zero). Magnitudes below
  // 2^-128 become 0; magnitudes that round to 2^127 or more throw
  // corvanta::Error("Floating point overflow").
  ShortReal(Extended v);  // NOLINT: storing is an implicit conversion in the shop's formulas

  Extended value() const { return value_; }
  operator Extended() const { return value_; }  // NOLINT

  // The 6-byte encoding: byte 0 exponent biased by 129 (0 = zero); bytes 1..4 and the low
  // 7 bits of byte 5 the 39 fraction bits, least significant first; top bit of byte 5 sign.
  std::array<std::uint8_t, 6> encode() const;
  static ShortReal decode(const std::array<std::uint8_t, 6>& bytes);

 private:
  Extended value_ = 0;
};

// Rounds an extended value to short-real precision (as ShortReal's constructor).
Extended roundToShortReal(Extended v);

// Number reading: leading blanks, optional sign, digits, optional '.' digits, optional
// exponent.  Empty text or text that cannot start a number gives 0.  Text that starts like a
// number but carries trailing junk ("12.5x", "7 %") gives the number read so far.  Never throws.
Extended readNumber(std::string_view text);

// Whole-number reading (32-bit): leading blanks, optional sign, decimal digits or '$' hex.
// Whole text read: the signed value.  Reading stopped early at a foreign character: the
// digits read so far, *without* the sign ("2.5" -> 2, "-2.5" -> 2).  Empty/unstartable: 0.
// A digit that would overflow stops the reading there.  Never throws.
std::int32_t readWholeNumber(std::string_view text);

// Number writing: always 23 characters, " 3.75000000000000E+0001" / "-4.01250000000000E+0001".
std::string writeNumber(Extended v);

// Whole-number writing: "-2", "0", "15".
std::string writeWholeNumber(std::int32_t v);

// A date in a short date format: letters d, dd, M, MM, yy, yyyy are replaced by the day,
// month and year (the longest letter run first), every other character is copied.  Where
// today's date and the format come from is the run's Calendar (data/numbers/Calendar.h).
std::string formatDate(int year, int month, int day, std::string_view format);

// Display texts of number fields.
std::string formatFixed2(double v);     // "0.00": 15 significant digits, then cents, halves up
std::string formatGeneral15(double v);  // shortest general form, up to 15 significant digits

// Strict conversion used when a float field takes a text: blanks around, sign, digits, '.',
// exponent.  Returns false for anything else, blanks-only text included.  The empty text is
// not handled here (it stores an empty field).
bool parseFloatStrict(std::string_view text, double& out);

// Strict conversion of integer key text; false when the text is not a whole number.
bool parseIntegerStrict(std::string_view text, std::int64_t& out);

}  // namespace corvanta
