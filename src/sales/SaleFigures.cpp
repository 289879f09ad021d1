#include "sales/SaleFigures.h"

#include <cmath>

#include "inventory/StockText.h"
#include "ui/Error.h"

namespace corvanta {

LineFigures figureLine(std::string_view priceText, std::string_view quantityText,
                       std::string_view stockText, std::string_view rateText,
                       ShortReal runningGrandTotal, ShortReal runningTotalTax) {
  LineFigures f;
  f.price = readNumber(priceText);
  f.quantity = readNumber(quantityText);
  f.rate = readNumber(rateText);
  // 0.01L is the extended value nearest to a hundredth, as the shop's formula has it.
  f.rateFactor = f.rate * 0.01L;
  f.total = f.price * f.quantity;
  f.tax = f.total * f.rateFactor;
  // Only the result of each formula is stored: the two additions run in extended precision.
  f.grandTotal = (runningGrandTotal + f.total) + f.tax;
  f.totalTax = runningTotalTax + f.tax;
  f.stockText = stockAfterSale(stockText, f.quantity);
  return f;
}

std::string stockAfterSale(std::string_view stockText, Extended quantity) {
  const Extended result = readWholeNumber(stockText) - std::trunc(quantity);
  // Whatever lies beyond 64 bits lies beyond 32 bits too; the message names the figure.
  if (!(std::fabs(result) < 0x1p62L))
    throw Error("The quantity " + formatGeneral15(static_cast<double>(result)) +
                " is out of range: a stock quantity must lie between -2147483648 and "
                "2147483647");
  return stockQuantityText(static_cast<std::int64_t>(result));
}

std::string nextOrderNumber(double highestStored) {
  // 2^53: above it a double no longer holds every whole number, so "one more" might be
  // stored as the very number it should follow.
  constexpr double kExactLimit = 9007199254740992.0;
  const double whole = std::trunc(highestStored);
  if (!std::isfinite(whole) || whole + 1 >= kExactLimit || whole + 1 <= -kExactLimit)
    throw Error("No order number follows the highest one stored (" +
                formatGeneral15(highestStored) + ")");
  return std::to_string(static_cast<std::int64_t>(whole) + 1);
}

std::string lowerCaseAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool isPickUp(std::string_view pickUpShip) {
  return lowerCaseAscii(pickUpShip) == "pickup";
}

bool isPaidAtSale(std::string_view typeOfSale) {
  const std::string kind = lowerCaseAscii(typeOfSale);
  return kind == "cash" || kind == "credit card";
}

std::string variableText(ShortReal value) {
  // Every short real is a double exactly (40 significant bits).
  return formatGeneral15(static_cast<double>(value.value()));
}

}  // namespace corvanta
