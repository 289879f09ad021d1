// The grand-total arithmetic of a shipping charge, on texts as the controls show them.
// Expected texts were worked out by exact rational arithmetic (40-bit short reals, 64-bit
// extended sums, 15 significant digits written).
#include <gtest/gtest.h>

#include "billing/ShippingCharge.h"
#include "ui/Error.h"

namespace corvanta {
namespace {

std::string moved(const char* total, const char* previous, const char* charge) {
  return writeNumber(grandTotalWithCharge(total, previous, charge));
}

TEST(ShippingCharge, GrandTotalMovesByTheDifferenceHeldInShortReals) {
  EXPECT_EQ(moved("105.00", "0", "12.50"), " 1.17500000000000E+0002");
  EXPECT_EQ(moved("117.50", "12.50", "7.00"), " 1.12000000000000E+0002");
  // The charge taken out entirely, and a total written earlier by number writing.
  EXPECT_EQ(moved(" 1.05000000000000E+0002", "5.00", ""), " 1.00000000000000E+0002");
  // Amounts not exact in binary show the short real's precision, not a double's: a double
  // sum would give 26.59 and 28.95.
  EXPECT_EQ(moved("21.60", "0", "4.99"), " 2.65899999999965E+0001");
  EXPECT_EQ(moved("26.59", "4.99", "7.35"), " 2.89500000000116E+0001");
  // A charge larger than the total leaves it negative, as typed.
  EXPECT_EQ(moved("10.00", "20.00", "0"), "-1.00000000000000E+0001");
}

TEST(ShippingCharge, TextsThatAreNoNumberCountAsZeroAndHugeSumsOverflow) {
  EXPECT_EQ(moved("abc", "", "2.5"), " 2.50000000000000E+0000");
  try {
    grandTotalWithCharge("1e38", "0", "1.5e38");
    FAIL() << "no overflow";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Floating point overflow");
  }
}

TEST(ShippingCharge, SameChargeComparesValuesNotTexts) {
  EXPECT_TRUE(sameCharge("5", "5.00"));
  EXPECT_TRUE(sameCharge("", "0"));
  EXPECT_TRUE(sameCharge(" 1.25000000000000E+0001", "12.50"));
  EXPECT_FALSE(sameCharge("12.50", "12.49"));
  EXPECT_EQ(chargeText(""), "0");
  EXPECT_EQ(chargeText("7.00"), "7.00");
}

}  // namespace
}  // namespace corvanta
