// The whole-number arithmetic of Add and Remove Inventory and the report path split.
#include <gtest/gtest.h>

#include "inventory/StockText.h"
#include "ui/Error.h"

namespace corvanta {
namespace {

TEST(AdjustedQuantityText, ReadsBothTextsAsWholeNumbers) {
  struct Case {
    const char *quantity, *count;
    int sign;
    const char* result;
  };
  const Case cases[] = {
      {"12", "5", +1, "17"},    {"12", "20", -1, "-8"}, {"12.5", "1", +1, "13"},
      {"12", "-2", +1, "10"},   {"12", "3x", +1, "15"}, {"12", "x3", +1, "12"},
      {"12", "-4.5", +1, "16"}, {"", "7", +1, "7"},     {"12", "$1F", -1, "-19"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(adjustedQuantityText(c.quantity, c.count, c.sign), c.result)
        << c.quantity << (c.sign > 0 ? " + " : " - ") << c.count;
}

TEST(AdjustedQuantityText, RefusesResultsBeyondThirtyTwoBitsInsteadOfWrapping) {
  EXPECT_EQ(adjustedQuantityText("2147483646", "1", +1), "2147483647");
  EXPECT_EQ(adjustedQuantityText("-2147483647", "1", -1), "-2147483648");
  EXPECT_THROW(adjustedQuantityText("2147483647", "1", +1), Error);
  EXPECT_THROW(adjustedQuantityText("-2147483647", "2", -1), Error);
}

}  // namespace
}  // namespace corvanta
