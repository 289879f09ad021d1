// Numbers to text and back.
//
// None of these may depend on the process locale: the GUI toolkit switches LC_NUMERIC to the
// user's settings at start-up, yet the decimal separator of stored and written numbers is
// always '.'.  Conversions therefore go through std::to_chars or the *_l functions with a
// private "C" locale, never through plain printf/strtod.
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "data/numbers/Numbers.h"

namespace corvanta {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::size_t skipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && text[i] == ' ') ++i;
  return i;
}

locale_t cLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t{});
  return loc;
}

// Scans a decimal number (sign, digits, optional fraction, optional exponent) starting at i.
// Returns the end of the longest well-formed prefix, or i when there is none.  An exponent
// marker not followed by digits is left out, as in "12e".  allowBareFraction admits ".5",
// which typed field input accepts but number reading does not (it needs a leading digit).
std::size_t scanDecimal(std::string_view text, std::size_t i, bool allowBareFraction) {
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.' && (digits > 0 || allowBareFraction)) {
    std::size_t j = i + 1;
    std::size_t fractionDigits = 0;
    while (j < text.size() && isDigit(text[j])) ++j, ++fractionDigits;
    if (digits + fractionDigits > 0) {
      i = j;
      digits += fractionDigits;
    }
  }
  if (digits == 0) return start;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Converts text already checked by scanDecimal; strtold needs a terminated copy.
Extended convertDecimal(std::string_view number) {
  const std::string copy(number);
  return strtold_l(copy.c_str(), nullptr, cLocale());
}

// The 15 significant digits of v and its decimal exponent: v ~ d.dddddddddddddd x 10^exp.
struct Digits15 {
  std::string digits;  // exactly 15 characters
  int exponent = 0;
};

Digits15 toDigits15(double v) {
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
  const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  Digits15 d;
  d.digits.reserve(15);
  d.digits += text[0];
  d.digits.append(text.substr(2, 14));
  std::from_chars(text.data() + 17 + (text[17] == '+' ? 1 : 0), text.data() + text.size(),
                  d.exponent);
  return d;
}

std::string nonFiniteText(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

}  // namespace

Extended readNumber(std::string_view text) {
  const std::size_t start = skipBlanks(text, 0);
  const std::size_t end = scanDecimal(text, start, false);
  if (end == start) return 0;
  // Trailing junk is ignored: the number read so far stands.
  return convertDecimal(text.substr(start, end - start));
}

std::int32_t readWholeNumber(std::string_view text) {
  std::size_t i = skipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const bool hex = i < text.size() && text[i] == '$';
  if (hex) ++i;

  // The magnitude may reach 2^31 only when a minus sign will apply to it.
  const std::int64_t limit =
      std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
  const int base = hex ? 16 : 10;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = hex ? hexDigitValue(text[i]) : (isDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) break;
    const std::int64_t next = magnitude * base + digit;
    if (next > limit) break;  // the digit that would overflow stops the reading
    magnitude = next;
  }

  if (i == text.size()) {
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  }
  // A read stopped early keeps the digits but not the sign.  The one magnitude that does not
  // fit (2^31, reachable only after '-') wraps to the minimum, as a 32-bit register would.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
}

std::string writeNumber(Extended v) {
  if (!std::isfinite(v)) return nonFiniteText(static_cast<double>(v));
  if (v == 0) v = 0;  // -0 writes as zero, with a blank

  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
  const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  // text is "d.dddddddddddddde±x..." with at least two exponent digits.
  const std::string_view mantissa = text.substr(0, 16);
  const char expSign = text[17];
  const std::string_view expDigits = text.substr(18);

  std::string out;
  out.reserve(23);
  out += v < 0 ? '-' : ' ';
  out.append(mantissa);
  out += 'E';
  out += expSign;
  out.append(expDigits.size() < 4 ? 4 - expDigits.size() : 0, '0');
  out.append(expDigits);
  return out;
}

std::string writeWholeNumber(std::int32_t v) {
  return std::to_string(v);
}

std::string formatFixed2(double v) {
  if (!std::isfinite(v)) return nonFiniteText(v);
  if (v == 0) return "0.00";

  // Rounding the 15-digit decimal (not the binary value) is what makes 2.675 show as 2.68:
  // its binary value lies just below 2.675, but its 15 significant digits do not.
  const Digits15 d = toDigits15(v);
  // Number of digits of the value in cents, before rounding: exponent 0 (1.0 .. 9.99) has
  // one digit before the point, plus two cent digits.
  const long keep = long{d.exponent} + 3;
  std::string cents;
  if (keep <= 0) {
    cents.push_back((keep == 0 && d.digits[0] >= '5') ? '1' : '0');
  } else if (keep >= 15) {
    cents = d.digits;
    cents.append(static_cast<std::size_t>(keep - 15), '0');
  } else {
    cents = d.digits.substr(0, static_cast<std::size_t>(keep));
    if (d.digits[static_cast<std::size_t>(keep)] >= '5') {  // halves away from zero
      std::size_t pos = cents.size();
      while (pos > 0 && cents[pos - 1] == '9') cents[--pos] = '0';
      if (pos == 0) {
        cents.insert(cents.begin(), '1');
      } else {
        ++cents[pos - 1];
      }
    }
  }

  const std::size_t firstNonZero = cents.find_first_not_of('0');
  if (firstNonZero == std::string::npos) return "0.00";  // no "-0.00"
  cents.erase(0, firstNonZero);
  if (cents.size() < 3) cents.insert(0, 3 - cents.size(), '0');
  cents.insert(cents.size() - 2, 1, '.');
  if (v < 0) cents.insert(cents.begin(), '-');
  return cents;
}

std::string formatGeneral15(double v) {
  if (!std::isfinite(v)) return nonFiniteText(v);
  if (v == 0) return "0";

  // The choice between plain and scientific form is made after rounding to 15 digits, so
  // 999999999999999.9 becomes 1E+15, not a 16-digit integer.
  const Digits15 d = toDigits15(v);
  std::string digits = d.digits;
  digits.erase(digits.find_last_not_of('0') + 1);  // digits[0] is never '0'
  const int exp = d.exponent;

  std::string out;
  if (v < 0) out += '-';
  if (exp >= 15 || exp < -4) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    const int absExp = exp < 0 ? -exp : exp;
    out += exp < 0 ? "E-" : "E+";
    if (absExp < 10) out += '0';
    out += std::to_string(absExp);
  } else if (exp < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exp - 1), '0');
    out += digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(exp) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out.append(digits, 0, intDigits);
      out += '.';
      out.append(digits, intDigits);
    }
  }
  return out;
}

bool parseFloatStrict(std::string_view text, double& out) {
  const std::size_t start = skipBlanks(text, 0);
  const std::size_t end = scanDecimal(text, start, true);
  if (end == start || skipBlanks(text, end) != text.size()) return false;
  const std::string copy(text.substr(start, end - start));
  const double v = strtod_l(copy.c_str(), nullptr, cLocale());
  if (std::isinf(v)) return false;
  out = v;
  return true;
}

bool parseIntegerStrict(std::string_view text, std::int64_t& out) {
  std::size_t i = skipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t digitsStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  if (i == digitsStart || skipBlanks(text, i) != text.size()) return false;

  // Accumulate negatively so that the minimum int64 is reachable.
  std::int64_t value = 0;
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  for (std::size_t j = digitsStart; j < i; ++j) {
    const int digit = text[j] - '0';
    if (value < (kMin + digit) / 10) return false;
    value = value * 10 - digit;
  }
  if (!negative) {
    if (value == kMin) return false;
    value = -value;
  }
  out = value;
  return true;
}

}  // namespace corvanta
