#pragma once
// The small expression language of report definitions: conditions (`Quantity <= MinimumQuantity`),
// lookup keys (`$OrderNumber`) and the values placed into sections (`sum(Total) + sum(Tax)`).
//
//   names      Quantity, [Credit Card Number], order.GrandTotal, customer.[Street/2]
//   parameters $OrderNumber (required), $FromDate? (optional: empty when the run lacks it)
//   specials   page, today, title, groups, shop.Name (from shop.ini beside the definition)
//   literals   12.5, 'text', "text"
//   operators  * /, + -, & (joins texts), = <> != < <= > >=, not, and, or
//   functions  sum(x), count(), date(x), if(c, a, b), coalesce(a, b, ...), upper(x), lower(x)
//
// Names are resolved when the definition is checked, so an unknown field is an error before
// anything prints.  Comparisons are numeric when both sides are numbers (a text side that
// reads as a number counts), otherwise texts compared without regard to case; an empty field
// counts as 0 in arithmetic.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "data/engine/TableSchema.h"

namespace corvanta::reports {

// A value while a report runs: empty, a number or a text.
using RValue = std::variant<std::monostate, double, std::string>;

double toNumber(const RValue& v);
std::string toText(const RValue& v);
bool isTrue(const RValue& v);
// -1, 0, 1 by the comparison rules above.
int compareValues(const RValue& a, const RValue& b);

// A field of one of the report's record sources (0: the rows table, 1..: the lookups).
struct FieldRef {
  int source = 0;
  int field = 0;
  const FieldDef* def = nullptr;
};

// What the names of a definition stand for; the report job answers while it checks.
class NameScope {
 public:
  virtual ~NameScope() = default;
  // `qualifier` is empty for a bare name.  nullopt when it is not a field; throws Error when
  // the qualifier names a record source that lacks the field.
  virtual std::optional<FieldRef> field(std::string_view qualifier,
                                        std::string_view name) const = 0;
};

// What an expression reads while it is evaluated.
class EvalContext {
 public:
  virtual ~EvalContext() = default;
  virtual RValue field(const FieldRef& ref) const = 0;
  virtual std::optional<std::string> parameter(const std::string& name) const = 0;
  // page, today, title, groups, or "shop.<Key>".
  virtual RValue special(const std::string& name) const = 0;
  // The short date format date(text) reads a date text in.
  virtual std::string shortDateFormat() const = 0;
  virtual RValue aggregate(int id) const = 0;
};

class Expression;

// sum(x) and count() met while parsing; the job accumulates them row by row.
struct Aggregate {
  enum class Kind { Sum, Count } kind;
  std::shared_ptr<const Expression> argument;  // null for count()
};
using AggregateList = std::vector<Aggregate>;

class Expression {
 public:
  // Parses a whole expression.  Throws Error with a short reason ("unknown field \"Qty\"").
  static std::shared_ptr<const Expression> parse(std::string_view text, const NameScope& names,
                                                 AggregateList& aggregates);

  struct Node;
  explicit Expression(std::unique_ptr<Node> root);
  ~Expression();

  RValue eval(const EvalContext& ctx) const;

  // The field when the expression is that field alone (used for its display format).
  const FieldDef* soleField() const;
  // Parameters it names, with whether each is optional.
  std::vector<std::pair<std::string, bool>> parameters() const;
  // Whether it reads any field of the rows table (source 0).
  bool readsRows() const;
  // `Field = value` with the field on the rows table and a value that does not read rows:
  // lets the job read just the matching range of an index.
  std::optional<std::pair<FieldRef, const Node*>> rowEquality() const;
  RValue evalNode(const Node* node, const EvalContext& ctx) const;

 private:
  std::unique_ptr<Node> root_;
};

}  // namespace corvanta::reports
