#include "Audit.h"

#include <cfloat>
#include <cmath>
#include <memory>
#include <optional>
#include <unordered_set>

#include "data/engine/Field.h"
#include "data/engine/TableFile.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

namespace {

const TableDef& table(const char* name) {
  return *findTableDef(name);
}

double number(const Value& v) {
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
  return 0;
}

std::string text(const Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

std::string money(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// A customer number as stored in a float field names a client when it is a whole number.
std::optional<std::int64_t> customerNumber(const Value& v) {
  if (isNull(v)) return std::nullopt;
  const double d = number(v);
  if (d != std::floor(d) || std::fabs(d) > 9e15) return std::nullopt;
  return static_cast<std::int64_t>(d);
}

bool sameKey(const Value& a, const Value& b) {
  if (isNull(a) || isNull(b)) return isNull(a) && isNull(b);
  return number(a) == number(b);
}

}  // namespace

const char* auditKindName(AuditKind kind) {
  switch (kind) {
    case AuditKind::GrandTotal:
      return "grand-total";
    case AuditKind::TotalTax:
      return "total-tax";
    case AuditKind::NoBillingRecord:
      return "no-billing-record";
    case AuditKind::NoLines:
      return "no-lines";
    case AuditKind::UnknownPart:
      return "unknown-part";
    case AuditKind::UnknownLineCustomer:
      return "unknown-line-customer";
    case AuditKind::UnknownBillingCustomer:
      return "unknown-billing-customer";
  }
  return "?";
}

FigureMatch compareFigures(double stored, double expected, std::int64_t terms) {
  const double diff = std::fabs(stored - expected);
  // The figures are single-precision values: every float added into `expected` may carry
  // half a unit in the last place of the running total, and so may `stored` itself.
  const double magnitude = std::max({std::fabs(stored), std::fabs(expected), 1.0});
  const double noise = static_cast<double>(terms + 1) * magnitude * FLT_EPSILON;
  // A cent stored in floats can read as 0.0099999: half a tenth of a cent absorbs that.
  if (diff >= 0.0095 && diff > noise) return FigureMatch::Differs;
  if (diff > noise && diff >= 0.0001) return FigureMatch::SubCent;
  return FigureMatch::Equal;
}

AuditSummary auditTables(const Engine& engine,
                         const std::function<void(const AuditFinding&)>& found) {
  const TableDef& stockDef = table("stock");
  const TableDef& clientsDef = table("clients");
  const TableDef& salesDef = table("NewSales");
  const TableDef& billingDef = table("BillingShipping");
  const auto stock = engine.openTable(stockDef.alias, stockDef, /*readOnly=*/true);
  const auto clients = engine.openTable(clientsDef.alias, clientsDef, /*readOnly=*/true);
  const auto sales = engine.openTable(salesDef.alias, salesDef, /*readOnly=*/true);
  const auto billing = engine.openTable(billingDef.alias, billingDef, /*readOnly=*/true);

  std::unordered_set<std::string> parts;
  parts.reserve(static_cast<size_t>(stock->count()));
  stock->scan(stockDef.indexes.front(), [&](const Row& r) {
    parts.insert(text(r.values[0]));
    return true;
  });
  std::unordered_set<std::int64_t> customers;
  customers.reserve(static_cast<size_t>(clients->count()));
  clients->scan(clientsDef.indexes.front(), [&](const Row& r) {
    if (auto n = customerNumber(r.values[0])) customers.insert(*n);
    return true;
  });

  const auto col = [](const TableDef& d, const char* f) {
    return static_cast<size_t>(d.fieldIndex(f));
  };
  const size_t sItem = col(salesDef, "Item"), sPart = col(salesDef, "PartNumber"),
               sCust = col(salesDef, "CustNum"), sOrder = col(salesDef, "OrderNumber"),
               sTax = col(salesDef, "Tax"), sTotal = col(salesDef, "Total");
  const size_t bOrder = col(billingDef, "OrderNumber"), bCust = col(billingDef, "CustNum"),
               bShip = col(billingDef, "ShippingCharge"), bGrand = col(billingDef, "GrandTotal"),
               bTax = col(billingDef, "TotalTax");
  const FieldDef& orderField = salesDef.fields[sOrder];
  const IndexDef& byOrder = *salesDef.findIndex("ByOrderNumber");
  const IndexDef& billingKey = billingDef.indexes.front();

  AuditSummary sum;
  const auto report = [&](AuditFinding f) {
    ++sum.findings;
    found(f);
  };

  // One order's lines, summed as they stream past.
  struct Group {
    Value key;
    std::string order;
    double totals = 0, taxes = 0;
    std::int64_t lines = 0;
  };
  std::optional<Group> group;
  const auto finishOrder = [&](const Group& g) {
    ++sum.orders;
    if (isNull(g.key)) {
      report({AuditKind::NoBillingRecord, "", 0, "", "",
              std::to_string(g.lines) + " line(s) carry no order number"});
      return;
    }
    const auto rec = billing->findEqual(billingKey, g.key);
    if (!rec) {
      report({AuditKind::NoBillingRecord, g.order, 0, "", "",
              "order " + g.order + " has " + std::to_string(g.lines) +
                  " line(s) but no billing record"});
      return;
    }
    const double grand = number(rec->values[bGrand]);
    const double expectGrand = g.totals + g.taxes + number(rec->values[bShip]);
    switch (compareFigures(grand, expectGrand, 2 * g.lines + 1)) {
      case FigureMatch::Differs:
        report({AuditKind::GrandTotal, g.order, 0, money(grand), money(expectGrand),
                "GrandTotal " + money(grand) + ", lines' totals and taxes plus shipping " +
                    money(expectGrand)});
        break;
      case FigureMatch::SubCent:
        ++sum.subCentGrandTotal;
        break;
      case FigureMatch::Equal:
        break;
    }
    const double tax = number(rec->values[bTax]);
    switch (compareFigures(tax, g.taxes, g.lines)) {
      case FigureMatch::Differs:
        report({AuditKind::TotalTax, g.order, 0, money(tax), money(g.taxes),
                "TotalTax " + money(tax) + ", lines' taxes " + money(g.taxes)});
        break;
      case FigureMatch::SubCent:
        ++sum.subCentTotalTax;
        break;
      case FigureMatch::Equal:
        break;
    }
  };

  sales->scan(byOrder, [&](const Row& r) {
    ++sum.lines;
    const Value& key = r.values[sOrder];
    if (group && !sameKey(group->key, key)) {
      finishOrder(*group);
      group.reset();
    }
    if (!group) group = Group{key, displayTextOf(orderField, key)};
    group->totals += number(r.values[sTotal]);
    group->taxes += number(r.values[sTax]);
    ++group->lines;
    const std::int64_t item = static_cast<std::int64_t>(number(r.values[sItem]));
    const std::string part = text(r.values[sPart]);
    if (!parts.count(part))
      report({AuditKind::UnknownPart, group->order, item, part, "",
              "line " + std::to_string(item) + ": part number '" + part +
                  "' is not in the stock table"});
    const auto cust = customerNumber(r.values[sCust]);
    if (!cust || !customers.count(*cust)) {
      const std::string shown = displayTextOf(salesDef.fields[sCust], r.values[sCust]);
      report({AuditKind::UnknownLineCustomer, group->order, item, shown, "",
              "line " + std::to_string(item) + ": customer number '" + shown +
                  "' is not in the clients table"});
    }
    return true;
  });
  if (group) finishOrder(*group);

  const FieldDef& billingOrderField = billingDef.fields[bOrder];
  billing->scan(billingKey, [&](const Row& r) {
    ++sum.billingRecords;
    const Value& key = r.values[bOrder];
    const std::string order = displayTextOf(billingOrderField, key);
    if (isNull(key) || !sales->findEqual(byOrder, key))
      report({AuditKind::NoLines, order, 0, "", "",
              "billing record of order " + (order.empty() ? "(empty)" : order) + " has no lines"});
    const auto cust = customerNumber(r.values[bCust]);
    if (!cust || !customers.count(*cust)) {
      const std::string shown = displayTextOf(billingDef.fields[bCust], r.values[bCust]);
      report({AuditKind::UnknownBillingCustomer, order, 0, shown, "",
              "billing record: customer number '" + shown + "' is not in the clients table"});
    }
    return true;
  });
  return sum;
}

}  // namespace corvanta
