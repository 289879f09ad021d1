#include "billing/ShippingCharge.h"

namespace corvanta {

ShortReal grandTotalWithCharge(std::string_view grandTotal, std::string_view previousCharge,
                               std::string_view newCharge) {
  // Read in this order, each one stored before the next is read.
  const ShortReal previous = readNumber(previousCharge);
  const ShortReal charge = readNumber(newCharge);
  const ShortReal total = readNumber(grandTotal);
  const Extended withoutPrevious = total.value() - previous.value();
  return ShortReal(charge.value() + withoutPrevious);
}

bool sameCharge(std::string_view a, std::string_view b) {
  return ShortReal(readNumber(a)).value() == ShortReal(readNumber(b)).value();
}

std::string chargeText(std::string_view text) {
  return text.empty() ? std::string("0") : std::string(text);
}

}  // namespace corvanta
