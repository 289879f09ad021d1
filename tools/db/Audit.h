#pragma once
// The audit: one reading pass over the shop's tables that finds where stored figures disagree
// with the lines they summarise, and records that point at nothing.
//
// Orders are read in order-number order from the sales lines; each order's billing record is
// looked up by its key, then the billing records are walked once to find those without lines.
// Memory holds the stock's part numbers and the clients' numbers (bounded by those tables),
// never the lines or the billing records, so the pass stays flat however many orders there are.
#include <cstdint>
#include <functional>
#include <string>

#include "data/engine/Engine.h"

namespace corvanta {

enum class AuditKind {
  GrandTotal,             // GrandTotal differs from its lines' totals and taxes plus shipping
  TotalTax,               // TotalTax differs from its lines' taxes
  NoBillingRecord,        // an order has lines but no billing record
  NoLines,                // a billing record has no lines
  UnknownPart,            // a line's part number is not in the stock table
  UnknownLineCustomer,    // a line's customer number is not in the clients table
  UnknownBillingCustomer  // a billing record's customer number is not in the clients table
};

// The short name used in the CSV output: "grand-total", "no-billing-record", ...
const char* auditKindName(AuditKind kind);

struct AuditFinding {
  AuditKind kind;
  std::string order;             // the order number as shown ("1001"), "" when the field is empty
  std::int64_t item = 0;         // the sales line's "Item" for line findings, else 0
  std::string stored, expected;  // figures or keys as text; expected may be empty
  std::string detail;            // one readable sentence
};

struct AuditSummary {
  std::int64_t orders = 0, lines = 0, billingRecords = 0;
  std::int64_t findings = 0;
  // Figures that differ by less than a cent (but more than the float rounding of the stored
  // values): corrections can leave these, so they are counted, not reported one by one.
  std::int64_t subCentGrandTotal = 0, subCentTotalTax = 0;
};

// Reads the tables of the engine's aliases (never writes, never creates a missing table:
// throws an Error naming what is missing) and calls `found` for each finding as it is met.
AuditSummary auditTables(const Engine& engine,
                         const std::function<void(const AuditFinding&)>& found);

// Whether two stored money figures differ by a cent or more, by less, or not at all.  `terms`
// is the number of float values summed into `expected`; their rounding is not a difference.
enum class FigureMatch { Equal, SubCent, Differs };
FigureMatch compareFigures(double stored, double expected, std::int64_t terms);

}  // namespace corvanta
