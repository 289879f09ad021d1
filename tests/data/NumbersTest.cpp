#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "data/numbers/Calendar.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {
namespace {

using Bytes = std::array<std::uint8_t, 6>;

Extended pow2(int e) {
  return std::ldexp(Extended{1}, e);
}

// Money values below were worked out by exact rational arithmetic; they only come out right
// if the long double arithmetic and the storing rule (40 bits, halves away) both hold.
TEST(ShortRealTest, StoringRoundsToFortyBits) {
  const ShortReal rate = 0.07L;
  EXPECT_EQ(writeNumber(rate), " 7.00000000000500E-0002");
  EXPECT_EQ(writeNumber(ShortReal(37.5L * rate)), " 2.62500000000364E+0000");

  // A price read back from a field is already a short real, and that shows in the result.
  const ShortReal price = 19.99L;
  EXPECT_EQ(writeNumber(ShortReal(price * (8.25L * 0.01L))), " 1.64917499999865E+0000");
  EXPECT_EQ(writeNumber(ShortReal(19.99L * (8.25L * 0.01L))), " 1.64917500000047E+0000");

  // Exactly half-way between 1 and the next short real: away from zero, not to even.
  EXPECT_EQ(ShortReal(1 + pow2(-40)).value(), 1 + pow2(-39));
  EXPECT_EQ(ShortReal(-(1 + pow2(-40))).value(), -(1 + pow2(-39)));
  EXPECT_EQ(ShortReal(1 + pow2(-40) - pow2(-62)).value(), 1);
  EXPECT_EQ(roundToShortReal(1 + pow2(-40)), 1 + pow2(-39));
}

TEST(ShortRealTest, RangeLimits) {
  EXPECT_EQ(ShortReal(pow2(-128)).value(), pow2(-128));
  EXPECT_EQ(ShortReal(pow2(-129)).value(), 0);
  EXPECT_EQ(ShortReal(-pow2(-130)).value(), 0);
  EXPECT_FALSE(std::signbit(ShortReal(-0.0L).value()));

  const Extended largest = (2 - pow2(-39)) * pow2(126);
  EXPECT_EQ(ShortReal(largest).value(), largest);
  try {
    ShortReal tooBig(pow2(127));
    FAIL() << "no overflow";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Floating point overflow");
  }
  // Rounds up to 2^127, so it cannot be stored either.
  EXPECT_THROW(ShortReal((2 - pow2(-40)) * pow2(126)), Error);
  EXPECT_THROW(ShortReal(-pow2(200)), Error);
}

TEST(ShortRealTest, SixByteEncoding) {
  EXPECT_EQ(ShortReal(1.0L).encode(), (Bytes{129, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ShortReal(-2.5L).encode(), (Bytes{130, 0, 0, 0, 0, 0xA0}));
  // The fraction is stored least significant byte first.
  EXPECT_EQ(ShortReal(1 + pow2(-39)).encode(), (Bytes{129, 1, 0, 0, 0, 0}));
  EXPECT_EQ(ShortReal(0.0L).encode(), (Bytes{0, 0, 0, 0, 0, 0}));

  EXPECT_EQ(ShortReal::decode(Bytes{0, 0xFF, 0x12, 0, 0x34, 0xFF}).value(), 0);
  EXPECT_EQ(ShortReal::decode(Bytes{130, 0, 0, 0, 0, 0xA0}).value(), -2.5L);

  for (Extended v : {0.07L, -19.99L, 1234567.891L, pow2(-128), (2 - pow2(-39)) * pow2(126)}) {
    const ShortReal stored = v;
    EXPECT_EQ(ShortReal::decode(stored.encode()).value(), stored.value()) << writeNumber(v);
  }
}

TEST(NumberTextTest, ReadNumber) {
  EXPECT_EQ(readNumber(" 12.5"), 12.5L);
  EXPECT_EQ(readNumber("-0.5"), -0.5L);
  EXPECT_EQ(readNumber("+1e3"), 1000);
  EXPECT_EQ(readNumber("0.07"), 0.07L);  // correctly rounded to long double
  EXPECT_EQ(readNumber(""), 0);
  EXPECT_EQ(readNumber("abc"), 0);
  EXPECT_EQ(readNumber(",5"), 0);
  EXPECT_EQ(readNumber("12.5x"), 12.5L);
  EXPECT_EQ(readNumber("7 %"), 7);
  EXPECT_EQ(readNumber("3e"), 3);
  // Forms strtold would take but a typed number never has.
  EXPECT_EQ(readNumber("0x10"), 0);
  EXPECT_EQ(readNumber("inf"), 0);
  EXPECT_EQ(readNumber("nan"), 0);
  EXPECT_EQ(readNumber("\t5"), 0);
}

TEST(NumberTextTest, ReadWholeNumber) {
  EXPECT_EQ(readWholeNumber("15"), 15);
  EXPECT_EQ(readWholeNumber("  -3"), -3);
  EXPECT_EQ(readWholeNumber("$1F"), 31);
  EXPECT_EQ(readWholeNumber("-$1f"), -31);
  EXPECT_EQ(readWholeNumber(""), 0);
  EXPECT_EQ(readWholeNumber("x1"), 0);
  // A stopped read keeps the digits but drops the sign.
  EXPECT_EQ(readWholeNumber("2.5"), 2);
  EXPECT_EQ(readWholeNumber("-2.5"), 2);
  EXPECT_EQ(readWholeNumber("12 "), 12);
  EXPECT_EQ(readWholeNumber("-12 "), 12);
  // Range: the digit that would overflow stops the read.
  EXPECT_EQ(readWholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(readWholeNumber("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(readWholeNumber("2147483648"), 214748364);
  EXPECT_EQ(readWholeNumber("-99999999999"), 999999999);
}

TEST(NumberTextTest, WriteNumbers) {
  EXPECT_EQ(writeNumber(37.5L), " 3.75000000000000E+0001");
  EXPECT_EQ(writeNumber(0), " 0.00000000000000E+0000");
  EXPECT_EQ(writeNumber(-0.0L), " 0.00000000000000E+0000");
  EXPECT_EQ(writeNumber(2.5L), " 2.50000000000000E+0000");
  EXPECT_EQ(writeNumber(-40.125L), "-4.01250000000000E+0001");
  EXPECT_EQ(writeNumber(9.999999999999999L), " 1.00000000000000E+0001");
  EXPECT_EQ(writeNumber(pow2(-128)), " 2.93873587705572E-0039");

  EXPECT_EQ(writeWholeNumber(-2), "-2");
  EXPECT_EQ(writeWholeNumber(0), "0");
  EXPECT_EQ(writeWholeNumber(15), "15");
}

TEST(NumberTextTest, DisplayTexts) {
  EXPECT_EQ(formatFixed2(12.346), "12.35");
  EXPECT_EQ(formatFixed2(12.5), "12.50");
  EXPECT_EQ(formatFixed2(2.675), "2.68");  // binary value is just below 2.675
  EXPECT_EQ(formatFixed2(-0.005), "-0.01");
  EXPECT_EQ(formatFixed2(-0.004), "0.00");
  EXPECT_EQ(formatFixed2(0), "0.00");
  EXPECT_EQ(formatFixed2(7.126), "7.13");
  EXPECT_EQ(formatFixed2(999.995), "1000.00");
  EXPECT_EQ(formatFixed2(1e-300), "0.00");
  const std::string huge = formatFixed2(1e300);
  EXPECT_EQ(huge.size(), 304u);
  EXPECT_EQ(huge.substr(0, 2), "10");

  EXPECT_EQ(formatGeneral15(3), "3");
  EXPECT_EQ(formatGeneral15(2.625), "2.625");
  EXPECT_EQ(formatGeneral15(0.1), "0.1");
  EXPECT_EQ(formatGeneral15(12.499), "12.499");
  EXPECT_EQ(formatGeneral15(1e20), "1E+20");
  EXPECT_EQ(formatGeneral15(-0.0), "0");
  EXPECT_EQ(formatGeneral15(-2.5e-7), "-2.5E-07");
  EXPECT_EQ(formatGeneral15(0.0001), "0.0001");
  EXPECT_EQ(formatGeneral15(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(formatGeneral15(123456789012345.0), "123456789012345");
  EXPECT_EQ(formatGeneral15(999999999999999.9), "1E+15");
}

TEST(NumberTextTest, StrictParsing) {
  double d = -1;
  EXPECT_TRUE(parseFloatStrict(" 12.5 ", d));
  EXPECT_EQ(d, 12.5);
  EXPECT_TRUE(parseFloatStrict(".5", d));
  EXPECT_EQ(d, 0.5);
  EXPECT_TRUE(parseFloatStrict("-5.", d));
  EXPECT_EQ(d, -5);
  EXPECT_TRUE(parseFloatStrict("+1.5E-2", d));
  EXPECT_EQ(d, 0.015);
  for (const char* bad :
       {"   ", ".", "1,5", "12abc", "0x1A", "inf", "nan", "1e", "e5", "- 5", "1e999", "\t1"}) {
    EXPECT_FALSE(parseFloatStrict(bad, d)) << bad;
  }

  std::int64_t i = -1;
  EXPECT_TRUE(parseIntegerStrict(" -42 ", i));
  EXPECT_EQ(i, -42);
  EXPECT_TRUE(parseIntegerStrict("-9223372036854775808", i));
  EXPECT_EQ(i, INT64_MIN);
  EXPECT_TRUE(parseIntegerStrict("+9223372036854775807", i));
  EXPECT_EQ(i, INT64_MAX);
  for (const char* bad : {"", "  ", "9223372036854775808", "1.0", "1e3", "$1F", "-", "12 3"}) {
    EXPECT_FALSE(parseIntegerStrict(bad, i)) << bad;
  }
}

TEST(DateTextTest, FormatsAndCalendars) {
  EXPECT_EQ(formatDate(1997, 3, 7, "M/d/yy"), "3/7/97");
  EXPECT_EQ(formatDate(2005, 11, 23, "dd.MM.yyyy"), "23.11.2005");
  EXPECT_EQ(formatDate(2009, 1, 2, "yyyy-MM-dd"), "2009-01-02");
  EXPECT_EQ(formatDate(2000, 12, 31, "yy/M/d"), "00/12/31");

  const Calendar march7 = Calendar::fixed({1997, 3, 7});
  EXPECT_EQ(march7.writeDate(), "3/7/97");
  EXPECT_EQ(Calendar::fixed({1997, 3, 7}, "yyyy-MM-dd").writeDate(), "1997-03-07");
  EXPECT_EQ(Calendar::fixed({1997, 3, 7}, "dd. MM. yyyy").writeDate(), "07. 03. 19");  // 10 chars
  EXPECT_EQ(Calendar::fixed({1997, 3, 7}, "").writeDate(), "3/7/97");  // no format: the default

  // The date source is asked at every writing: a program left running past midnight writes
  // the new day.
  CivilDate day{2026, 12, 31};
  Calendar running;
  running.today = [&day] { return day; };
  EXPECT_EQ(running.writeDate(), "12/31/26");
  day = {2027, 1, 1};
  EXPECT_EQ(running.writeDate(), "1/1/27");
  EXPECT_EQ(march7.writeDate(), "3/7/97");
}

}  // namespace
}  // namespace corvanta
