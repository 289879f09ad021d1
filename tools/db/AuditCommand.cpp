#include <iomanip>
#include <ostream>

#include "Audit.h"
#include "DbTool.h"
#include "SafetyCommands.h"

namespace corvanta {

namespace {

const char* title(AuditKind kind) {
  switch (kind) {
    case AuditKind::GrandTotal:
      return "GrandTotal differs";
    case AuditKind::TotalTax:
      return "TotalTax differs";
    case AuditKind::NoBillingRecord:
      return "no billing record";
    case AuditKind::NoLines:
      return "billing without lines";
    case AuditKind::UnknownPart:
      return "unknown part number";
    case AuditKind::UnknownLineCustomer:
      return "line: unknown customer";
    case AuditKind::UnknownBillingCustomer:
      return "billing: unknown customer";
  }
  return "?";
}

std::string csv(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + '"';
}

}  // namespace

int auditCommand(const std::vector<std::string>& args, std::ostream& out) {
  bool asCsv = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--csv")
      asCsv = true;
    else
      throw DbUsageError{"audit does not take '" + args[i] + "'"};
  }
  const Engine engine(EngineConfig::fromEnvironment());
  if (asCsv)
    out << "Finding,OrderNumber,Item,Stored,Expected,Detail\n";
  else
    out << std::left << std::setw(10) << "Order" << std::setw(9) << "Item" << std::setw(27)
        << "Finding"
        << "Detail\n";
  const AuditSummary sum = auditTables(engine, [&](const AuditFinding& f) {
    const std::string item = f.item ? std::to_string(f.item) : "";
    if (asCsv)
      out << auditKindName(f.kind) << ',' << csv(f.order) << ',' << item << ',' << csv(f.stored)
          << ',' << csv(f.expected) << ',' << csv(f.detail) << '\n';
    else
      out << std::left << std::setw(10) << (f.order.empty() ? "(empty)" : f.order) << std::setw(9)
          << item << std::setw(27) << title(f.kind) << f.detail << '\n';
  });
  // The summary goes where a person reads it; a CSV file stays rows only.
  if (!asCsv) {
    out << "\n"
        << sum.orders << " orders (" << sum.lines << " lines) and " << sum.billingRecords
        << " billing records read: "
        << (sum.findings ? std::to_string(sum.findings) + " finding(s)." : "nothing found.")
        << "\n";
    if (sum.subCentGrandTotal || sum.subCentTotalTax)
      out << "Differences under a cent (not listed): " << sum.subCentGrandTotal << " GrandTotal, "
          << sum.subCentTotalTax << " TotalTax.\n";
  }
  out.flush();
  return sum.findings ? 1 : 0;
}

}  // namespace corvanta
