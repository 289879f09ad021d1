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
  const std::int64_t result = q + (sign < 0 ? -n : n);
  if (result < std::numeric_limits<std::int32_t>::min() ||
      result > std::numeric_limits<std::int32_t>::max())
    throw Error("The quantity " + std::to_string(result) +
                " is out of range: a stock quantity must lie between -2147483648 and "
                "2147483647");
  return writeWholeNumber(static_cast<std::int32_t>(result));
}

}  // namespace corvanta
