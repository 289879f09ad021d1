// The arithmetic of a sale against exact values.  The expected short reals were worked out by
// rational arithmetic (tests/scenarios/sale_figures.py) and are written as the binary
// fractions they are, so a rounding step done in the wrong precision or in the wrong place
// shows up in the last bit.
#include <gtest/gtest.h>

#include <cmath>

#include "sales/SaleFigures.h"
#include "ui/Error.h"

namespace corvanta {
namespace {

TEST(LineFigures, WorkedLineAndASecondLineAccumulateInShortReals) {
  LineFigures a = figureLine("12.50", "3", "24", "7.00", 0, 0);
  EXPECT_EQ(a.rateFactor.value(), 0x1.1eb851eb86p-4L);  // 0.07 stored: 0.0700000000000500
  EXPECT_EQ(a.total.value(), 37.5L);
  EXPECT_EQ(a.tax.value(), 0x1.5000000002p+1L);  // 2.62500000000364
  EXPECT_EQ(a.grandTotal.value(), 40.125L);      // the tax's tail rounds away again
  EXPECT_EQ(a.totalTax.value(), a.tax.value());
  EXPECT_EQ(a.stockText, "21");
  EXPECT_EQ(writeNumber(a.tax), " 2.62500000000364E+0000");

  LineFigures b = figureLine("10.00", "1", "5", "7.00", a.grandTotal, a.totalTax);
  EXPECT_EQ(b.tax.value(), 0x1.6666666668p-1L);
  EXPECT_EQ(b.grandTotal.value(), 0x1.969999999ap+5L);  // 50.8250000000116
  EXPECT_EQ(b.totalTax.value(), 0x1.a99999999cp+1L);    // 3.32500000000437
}

TEST(LineFigures, PricesAreReadAsShownAndNothingIsRoundedToCents) {
  // A discount price of 12.346 is shown, and so charged, as 12.35.
  LineFigures d = figureLine("12.35", "2", "20", "7.00", 0, 0);
  EXPECT_EQ(d.total.value(), 0x1.8b33333334p+4L);      // 24.7000000000116
  EXPECT_EQ(d.tax.value(), 0x1.ba9fbe76cap+0L);        // 1.72900000000118
  EXPECT_EQ(d.grandTotal.value(), 0x1.a6dd2f1aap+4L);  // 26.4290000000037, not T + X to 15 digits

  // The product of a short real price and a short real rate fraction, not of the decimals.
  LineFigures r = figureLine("19.99", "1", "15", "8.25", 0, 0);
  EXPECT_EQ(r.rateFactor.value(), 0x1.51eb851eb8p-4L);
  EXPECT_EQ(r.tax.value(), 0x1.a630553260p+0L);  // 1.64917499999865
  EXPECT_EQ(writeNumber(r.tax), " 1.64917499999865E+0000");

  // A return: negative total and tax, taken off the running totals.
  LineFigures n = figureLine("12.50", "-1.5", "18", "7.00", d.grandTotal, d.totalTax);
  EXPECT_EQ(n.total.value(), -18.75L);
  EXPECT_EQ(n.tax.value(), -0x1.5000000002p+0L);
  EXPECT_EQ(n.grandTotal.value(), 0x1.9774bc6a8p+2L);
  EXPECT_EQ(n.totalTax.value(), 0x1.aa7ef9db2p-2L);
  EXPECT_EQ(n.stockText, "19");
}

TEST(LineFigures, OddQuantitiesAndRatesReadAsTheShopAlwaysHas) {
  for (const char* q : {"", "abc", " ", "$1F"}) {
    LineFigures f = figureLine("9.99", q, "7", "7.00", 40.125L, 2.5L);
    EXPECT_EQ(f.quantity.value(), 0) << q;
    EXPECT_EQ(f.total.value(), 0) << q;
    EXPECT_EQ(f.tax.value(), 0) << q;
    EXPECT_EQ(f.grandTotal.value(), 40.125L) << q;
    EXPECT_EQ(f.stockText, "7") << q;  // the stock follows the quantity on the line
  }
  LineFigures zero = figureLine("12.50", "3", "4", "0.00", 0, 0);
  EXPECT_EQ(zero.tax.value(), 0);
  EXPECT_EQ(zero.grandTotal.value(), 37.5L);
  EXPECT_EQ(figureLine("", "3", "4", "7.00", 0, 0).total.value(), 0);  // a level never set
}

TEST(LineFigures, AFigureTooLargeStopsBeforeAnythingIsReturned) {
  try {
    figureLine("1e30", "1e30", "1", "7.00", 0, 0);
    FAIL() << "no overflow";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Floating point overflow");
  }
  EXPECT_THROW(figureLine("1", "1e30", "1", "0", 0, 0), Error);  // the stock cannot follow
}

TEST(StockAfterSale, WholeUnitsWithTheSignKeptAndThirtyTwoBitsChecked) {
  EXPECT_EQ(stockAfterSale("24", 3), "21");
  EXPECT_EQ(stockAfterSale("24", 2.5L), "22");
  EXPECT_EQ(stockAfterSale("10.5", 1), "9");  // the stock text reads as 10
  EXPECT_EQ(stockAfterSale("3", 5), "-2");
  EXPECT_EQ(stockAfterSale("18", -1.5L), "19");  // a return of 1.5 puts one item back
  EXPECT_EQ(stockAfterSale("", 0), "0");
  EXPECT_EQ(stockAfterSale("-2147483647", 1), "-2147483648");
  try {
    stockAfterSale("2147483647", -1);
    FAIL() << "no range error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "The quantity 2147483648 is out of range: a stock quantity must lie between "
                 "-2147483648 and 2147483647");
  }
  EXPECT_THROW(stockAfterSale("-2147483648", 1), Error);
  EXPECT_THROW(stockAfterSale("0", 1e25L), Error);
  EXPECT_THROW(stockAfterSale("0", -1e25L), Error);
}

TEST(NextOrderNumber, OneAboveTheWholePartWithoutWrapOrRepeat) {
  EXPECT_EQ(nextOrderNumber(5), "6");
  EXPECT_EQ(nextOrderNumber(5.5), "6");
  EXPECT_EQ(nextOrderNumber(100.5), "101");
  EXPECT_EQ(nextOrderNumber(0), "1");
  EXPECT_EQ(nextOrderNumber(2147483647), "2147483648");
  EXPECT_EQ(nextOrderNumber(3e9), "3000000001");
  EXPECT_EQ(nextOrderNumber(9007199254740990.0), "9007199254740991");
  // Beyond 2^53 "one more" would be stored as a number already given.
  EXPECT_THROW(nextOrderNumber(9007199254740991.0), Error);
  EXPECT_THROW(nextOrderNumber(1e300), Error);
  EXPECT_THROW(nextOrderNumber(INFINITY), Error);
}

TEST(EndOfOrderRules, WholeTextWithoutRegardToCase) {
  EXPECT_TRUE(isPickUp("pickup"));
  EXPECT_TRUE(isPickUp("PickUp"));
  EXPECT_TRUE(isPickUp("PICKUP"));
  EXPECT_FALSE(isPickUp("Pick Up"));
  EXPECT_FALSE(isPickUp("pickup "));
  EXPECT_FALSE(isPickUp(""));
  EXPECT_TRUE(isPaidAtSale("cash"));
  EXPECT_TRUE(isPaidAtSale("CASH"));
  EXPECT_TRUE(isPaidAtSale("Credit Card"));
  EXPECT_FALSE(isPaidAtSale("cash "));
  EXPECT_FALSE(isPaidAtSale("Invoice"));
  EXPECT_FALSE(isPaidAtSale("CreditCard"));
  // Only A to Z change: a letter outside them stays as it is.
  EXPECT_EQ(lowerCaseAscii("ÉCash-1"), "Écash-1");
}

TEST(RunningTotalText, FifteenSignificantDigitsInGeneralForm) {
  EXPECT_EQ(variableText(0), "0");
  EXPECT_EQ(variableText(40.125L), "40.125");
  EXPECT_EQ(variableText(ShortReal(0x1.5000000002p+1L)), "2.62500000000364");
  EXPECT_EQ(variableText(ShortReal(-18.75L)), "-18.75");
}

}  // namespace
}  // namespace corvanta
