// The roundings of a corrected line and of the order's totals.  Expected figures come from
// exact rational arithmetic on the inputs as short reals (tests/support/order_figures.py).
#include <gtest/gtest.h>

#include <limits>

#include "orders/OrderArithmetic.h"
#include "ui/Error.h"

namespace corvanta {
namespace {

// Figures as a correction reads them: each a control's text taken by number reading.
LineFigures shown(const char* quantity, const char* price, const char* total, const char* tax,
                  const char* grandTotal, const char* totalTax, const char* rate) {
  LineFigures f;
  f.quantity = readNumber(quantity);
  f.price = readNumber(price);
  f.oldTotal = readNumber(total);
  f.oldTax = readNumber(tax);
  f.grandTotal = readNumber(grandTotal);
  f.totalTax = readNumber(totalTax);
  f.taxRate = readNumber(rate);
  return f;
}

// The four results as number writing gives them to the fields.
std::string written(const LineRepricing& r) {
  return writeNumber(r.total) + "|" + writeNumber(r.tax) + "|" + writeNumber(r.grandTotal) + "|" +
         writeNumber(r.totalTax);
}

TEST(RepriceLine, KeepsThePartialSumsOfTheTotalsInExtendedPrecision) {
  // Rounding every partial sum to a short real would give 538.151875000447.
  EXPECT_EQ(written(repriceLine(shown("5", "95.45", "478.25", "38.26", "530.88", "38.26", "9.75"))),
            " 4.77250000000000E+0002| 4.65318749999860E+0001| 5.38151874999516E+0002|"
            " 4.65318749999860E+0001");
  // Three at 10.00 down to two, and discount price 1 of 9.00 for the same line.
  EXPECT_EQ(written(repriceLine(shown("2", "10.00", "30.00", "2.40", "32.40", "2.40", "8.00"))),
            " 2.00000000000000E+0001| 1.60000000000036E+0000| 2.16000000000349E+0001|"
            " 1.60000000000036E+0000");
  EXPECT_EQ(written(repriceLine(shown("3", "9.00", "30.00", "2.40", "32.40", "2.40", "8.00"))),
            " 2.70000000000000E+0001| 2.15999999999985E+0000| 2.91600000000326E+0001|"
            " 2.15999999999985E+0000");
}

TEST(RepriceLine, TaxesWithTheRateFractionHeldAsAShortReal) {
  // With the fraction 6.5 x 0.01 kept in extended precision the tax would be 3.01665000000139.
  const LineRepricing r =
      repriceLine(shown("3", "15.47", "47.41", "3.79", "495.57", "3.79", "6.50"));
  EXPECT_EQ(writeNumber(r.total), " 4.64100000000326E+0001");
  EXPECT_EQ(writeNumber(r.tax), " 3.01665000000503E+0000");
  EXPECT_EQ(
      writeNumber(repriceLine(shown("2.5", "4.00", "10.00", "0.80", "10.80", "0.80", "8")).tax),
      " 8.00000000000182E-0001");
  // A rate raised since the sale: the old tax comes out as stored, the new one goes in.
  const LineRepricing up =
      repriceLine(shown("3", "10.00", "30.00", "2.40", "32.40", "2.40", "8.25"));
  EXPECT_EQ(writeNumber(up.tax), " 2.47499999999854E+0000");
  EXPECT_EQ(writeNumber(up.grandTotal), " 3.24750000000349E+0001");
}

TEST(RepriceLine, LeavesTheRestOfTheGrandTotalAlone) {
  // 37.40 holds a shipping charge of 5.00 that the correction never reads.
  EXPECT_EQ(writeNumber(
                repriceLine(shown("2", "10.00", "30.00", "2.40", "37.40", "2.40", "8")).grandTotal),
            " 2.66000000000349E+0001");
  // An empty price reads as 0: the line's figures leave the order.
  const LineRepricing none = repriceLine(shown("2", "", "20.00", "1.60", "21.60", "1.60", "8"));
  EXPECT_EQ(writeNumber(none.total), " 0.00000000000000E+0000");
  EXPECT_EQ(writeNumber(none.grandTotal), " 5.45696821063757E-0012");
}

TEST(RepriceLine, ATotalBeyondAShortRealIsRefused) {
  EXPECT_THROW(repriceLine(shown("1e30", "1e30", "0", "0", "0", "0", "8")), Error);
}

TEST(TotalsWithoutLine, TakesTheStoredFiguresOutWhole) {
  const OrderTotals t = totalsWithoutLine(44.5, 3.0, 7.5, 0.6);
  EXPECT_EQ(writeNumber(t.grandTotal), " 3.64000000000233E+0001");
  EXPECT_EQ(writeNumber(t.totalTax), " 2.40000000000146E+0000");
}

TEST(MovedQuantity, WorksInSixtyFourBitsAndRefusesWhatThirtyTwoCannotHold) {
  EXPECT_EQ(movedQuantity(3, -5, "quantity sold"), -2);
  EXPECT_EQ(movedQuantity(std::numeric_limits<std::int32_t>::min(), 0, "q"),
            std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(movedQuantity(-2147483647, -1, "q"), std::numeric_limits<std::int32_t>::min());
  try {
    movedQuantity(2147483647, 1, "stock quantity");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "The stock quantity 2147483648 is out of range: a quantity must lie between "
                 "-2147483648 and 2147483647");
  }
  EXPECT_THROW(movedQuantity(std::numeric_limits<std::int32_t>::min(), -1, "q"), Error);
}

}  // namespace
}  // namespace corvanta
