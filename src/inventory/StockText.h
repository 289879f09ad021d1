#pragma once
// The small text computations of the stock commands, kept apart from the window so that they
// can be checked on their own.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvanta {

// Add or Remove Inventory: the quantity text and the typed count are both read by whole-number
// reading (12.5 reads as 12, "3x" as 3, "x3" as 0) and the result quantity + sign * count is
// given by whole-number writing.  A result outside the 32-bit range throws an Error rather than
// wrapping around to a wrong stock figure.
std::string adjustedQuantityText(std::string_view quantityText, std::string_view countText,
                                 int sign);

// A stock quantity worked out in 64 bits, by whole-number writing; outside the 32-bit range
// of the stock figures it throws an Error naming the quantity.
std::string stockQuantityText(std::int64_t quantity);

}  // namespace corvanta
