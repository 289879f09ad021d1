#include "orders/CorrectionSteps.h"

#include <exception>

#include "data/engine/Table.h"

namespace corvanta {

CorrectionSteps::CorrectionSteps(std::initializer_list<Table*> tables)
    : failuresBefore_(std::uncaught_exceptions()) {
  for (Table* t : tables)
    if (t->state() == TableState::Browse) browsing_.push_back(t);
}

CorrectionSteps::~CorrectionSteps() {
  if (std::uncaught_exceptions() == failuresBefore_) return;
  for (Table* t : browsing_) {
    if (t->state() == TableState::Browse) continue;
    try {
      t->cancel();
    } catch (...) {
      // The step's own error is the one on its way to the person.  The cursor is in browse
      // state either way (cancel leaves edit state before it reads the stored record).
    }
  }
}

}  // namespace corvanta
