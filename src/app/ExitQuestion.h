#pragma once
// Before the program ends at a person's request (Exit, or the main window's close box): what
// ending now would throw away, put to the person as one Yes/No question.
//
// Ending discards every record still in edit or insert state.  That is right for a record
// nobody typed into, but typing a person has not saved yet is asked about first, and so is
// an order with stored lines that is still being entered: ending would leave those lines
// without their billing and shipping record, so Yes leaves the order the way "Exit w/o
// Entering an Order" does (the lines taken back out, their stock returned).
#include <cstddef>
#include <string>
#include <vector>

namespace corvanta {

class CorvantaApp;

struct WorkAtRisk {
  // One entry per table with typed changes: "a new customer", "changes to a stock item".
  std::vector<std::string> records;
  // The order being entered, when it has stored lines.
  std::string orderNumber;
  std::size_t orderLines = 0;

  bool empty() const { return records.empty() && orderLines == 0; }
};

// What ending now would lose.  A record counts when its table is in edit or insert state and
// a field or a data-aware edit bound to it holds a change.  The pending line record of the
// order being entered is the program's own and counts only through the order's stored lines.
WorkAtRisk workAtRisk(const CorvantaApp& app);

// The question's text for a non-empty WorkAtRisk.
std::string exitQuestion(const WorkAtRisk& work);

// Asks when something would be lost.  No: false, nothing changes.  Yes (or nothing to ask
// about): true, after the order being entered, if any, was left.  An engine error while the
// order is left propagates (the program then keeps running).
bool confirmEnding(CorvantaApp& app);

}  // namespace corvanta
