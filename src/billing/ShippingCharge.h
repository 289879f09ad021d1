#pragma once
// The arithmetic that keeps an order's grand total in step with its shipping charge.  Every
// value arrives as the text a control shows, is read by number reading and held in a short
// real; the difference is taken in extended precision before the sum is stored again.
#include <string>
#include <string_view>

#include "data/numbers/Numbers.h"

namespace corvanta {

// newCharge + (grandTotal - previousCharge), each text read into a short real first and the
// result stored in a short real.  Throws "Floating point overflow" when it does not fit.
ShortReal grandTotalWithCharge(std::string_view grandTotal, std::string_view previousCharge,
                               std::string_view newCharge);

// True when the two charge texts stand for the same short real (the empty text counts as 0):
// then the grand total has nothing to move by.
bool sameCharge(std::string_view a, std::string_view b);

// The text a charge is remembered by: the text itself, "0" for the empty text.
std::string chargeText(std::string_view text);

}  // namespace corvanta
