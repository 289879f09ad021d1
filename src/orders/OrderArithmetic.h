#pragma once
// The arithmetic of an order correction, apart from the controls it reads and writes, so that
// every rounding can be checked on its own.
//
// A corrected line is priced anew and the order's totals move by the difference between the
// line's new and old figures: the rest of the grand total (the order's other lines, its
// shipping charge) is never read and stays in it unchanged.
#include <cstdint>
#include <string_view>

#include "data/numbers/Numbers.h"

namespace corvanta {

// What a correction reads, each value taken by number reading of the text its control shows
// (the old money figures and the rate therefore arrive rounded to cents).
struct LineFigures {
  ShortReal quantity;
  ShortReal price;
  ShortReal oldTotal;
  ShortReal oldTax;
  ShortReal grandTotal;
  ShortReal totalTax;
  ShortReal taxRate;  // per cent
};

// What it writes, each a short real, unrounded to cents.
struct LineRepricing {
  ShortReal total;       // quantity x price
  ShortReal tax;         // total x (rate x 0.01), the rate fraction itself a short real
  ShortReal grandTotal;  // grand total - old total - old tax + total + tax
  ShortReal totalTax;    // total tax - old tax + tax
};

// The two order totals are evaluated from left to right in extended precision and only the
// results are rounded to short reals.  Throws Error("Floating point overflow") for a result
// too large for a short real.
LineRepricing repriceLine(const LineFigures& in);

// The order's totals once a line leaves it: its stored total and tax come out of the stored
// grand total and total tax, in extended precision, each result rounded to a short real.
struct OrderTotals {
  ShortReal grandTotal;
  ShortReal totalTax;
};
OrderTotals totalsWithoutLine(double grandTotal, double totalTax, double lineTotal, double lineTax);

// A whole-number quantity moved by an amount, worked out in 64 bits.  A result outside the
// 32-bit range of the quantity fields' whole-number text throws an Error naming `what`, so a
// correction is refused before it changes anything instead of wrapping round.
std::int32_t movedQuantity(std::int32_t quantity, std::int64_t amount, std::string_view what);

}  // namespace corvanta
