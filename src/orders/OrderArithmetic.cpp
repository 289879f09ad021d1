#include "orders/OrderArithmetic.h"

#include <limits>
#include <string>

#include "ui/Error.h"

namespace corvanta {

LineRepricing repriceLine(const LineFigures& in) {
  LineRepricing out;
  out.total = in.quantity * in.price;
  // The percentage becomes a fraction with the extended constant nearest 0.01, and the
  // fraction is held as a short real before it multiplies: new lines are taxed the same way.
  const ShortReal rate = in.taxRate * 0.01L;
  out.tax = out.total * rate;
  const Extended grand = in.grandTotal - in.oldTotal - in.oldTax + out.total + out.tax;
  out.grandTotal = grand;
  const Extended tax = in.totalTax - in.oldTax + out.tax;
  out.totalTax = tax;
  return out;
}

OrderTotals totalsWithoutLine(double grandTotal, double totalTax, double lineTotal,
                              double lineTax) {
  OrderTotals out;
  out.grandTotal = Extended{grandTotal} - lineTotal - lineTax;
  out.totalTax = Extended{totalTax} - lineTax;
  return out;
}

std::int32_t movedQuantity(std::int32_t quantity, std::int64_t amount, std::string_view what) {
  const std::int64_t result = std::int64_t{quantity} + amount;
  if (result < std::numeric_limits<std::int32_t>::min() ||
      result > std::numeric_limits<std::int32_t>::max())
    throw Error("The " + std::string(what) + " " + std::to_string(result) +
                " is out of range: a quantity must lie between -2147483648 and 2147483647");
  return static_cast<std::int32_t>(result);
}

}  // namespace corvanta
