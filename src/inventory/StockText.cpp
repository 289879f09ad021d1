#include "inventory/StockText.h"

#include <cstdint>
#include <limits>

#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

std::string adjustedQuantityText(std::string_view quantityText, std::string_view countText,
                                 int sign) {
  const std::int64_t q = readWholeNumber(quantityText);
  const std::int64_t n = readWholeNumber(countText);
  return stockQuantityText(q + (sign < 0 ? -n : n));
}

std::string stockQuantityText(std::int64_t quantity) {
  if (quantity < std::numeric_limits<std::int32_t>::min() ||
      quantity > std::numeric_limits<std::int32_t>::max())
    throw Error("The quantity " + std::to_string(quantity) +
                " is out of range: a stock quantity must lie between -2147483648 and "
                "2147483647");
  return writeWholeNumber(static_cast<std::int32_t>(quantity));
}

}  // namespace corvanta
