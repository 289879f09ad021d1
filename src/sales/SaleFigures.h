#pragma once
// The arithmetic of a sale, kept apart from the windows so that every figure can be checked
// against values worked out by hand.
//
// Money is computed as the shop always has: each input read from the text a control shows,
// held as a short real, every product and sum formed in extended precision and rounded only
// when it is stored into a short real.  Nothing is ever rounded to cents here.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/numbers/Numbers.h"

namespace corvanta {

// One order line, from the texts of the controls the price choice reads.
struct LineFigures {
  ShortReal price;       // P: the chosen price level as shown ("0.00")
  ShortReal quantity;    // Q: the quantity typed
  ShortReal rate;        // R: the tax rate in per cent, as shown
  ShortReal rateFactor;  // F = R x 0.01
  ShortReal total;       // T = P x Q
  ShortReal tax;         // X = T x F
  // The running totals once this line is stored: (grand + T) + X and tax + X.
  ShortReal grandTotal;
  ShortReal totalTax;
  // The product's stock quantity after the sale, by whole-number writing.
  std::string stockText;
};

// Works out a line.  Texts are read by number reading (the stock by whole-number reading);
// nothing is refused for being odd (an empty or lettered quantity is 0), but a result too
// large for a short real throws "Floating point overflow" and a stock quantity outside the
// 32-bit range throws an Error, both before the caller has changed anything.
LineFigures figureLine(std::string_view priceText, std::string_view quantityText,
                       std::string_view stockText, std::string_view rateText,
                       ShortReal runningGrandTotal, ShortReal runningTotalTax);

// The stock quantity after selling `quantity`: the stock text by whole-number reading (10.5
// reads as 10) less the whole part of the quantity, sign kept (a return of -1.5 puts 1 back),
// in 64 bits.  A result outside the 32-bit range throws an Error naming it.
std::string stockAfterSale(std::string_view stockText, Extended quantity);

// The number of the next order: one above the whole part of the highest order number stored
// (5.5 gives 6).  Throws an Error when that number could not be stored exactly, rather than
// hand out a number that is already taken.
std::string nextOrderNumber(double highestStored);

// Lower case as the end of an order compares texts: A to Z become a to z, nothing else moves.
std::string lowerCaseAscii(std::string_view text);

// The end of an order's two rules on the whole field text, without regard to case.
bool isPickUp(std::string_view pickUpShip);      // "pickup": no shipping charge
bool isPaidAtSale(std::string_view typeOfSale);  // "cash" or "credit card": "recieved"

// A program variable as a scenario reads it: 15 significant digits in general form.
std::string variableText(ShortReal value);

}  // namespace corvanta
