#pragma once
// The steps of a correction change several tables, one post each.  A post that fails leaves
// its record in edit state with the step's figures; left so, the next move of that cursor
// (a click in any window) would post them outside the command, without the mark that tells a
// later start the step was done, and so a step refused as done elsewhere, or lost with its
// connection, could still be written.  While a CorrectionSteps lives, a failure puts each of
// its tables that the steps took out of browse state back to what is stored.
#include <initializer_list>
#include <vector>

namespace corvanta {

class Table;

class CorrectionSteps {
 public:
  explicit CorrectionSteps(std::initializer_list<Table*> tables);
  ~CorrectionSteps();
  CorrectionSteps(const CorrectionSteps&) = delete;
  CorrectionSteps& operator=(const CorrectionSteps&) = delete;

 private:
  std::vector<Table*> browsing_;  // a table already editing holds a person's typing: left alone
  int failuresBefore_;
};

}  // namespace corvanta
