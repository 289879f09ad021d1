#pragma once
// Section text with placeholders: `{{ expression }}` or `{{ expression | format }}`.
// Formats: money ("1,234.50"), whole (rounded, no separators), number (general form),
// upper, lower.  Without a format a field shows as its window does ("0.00" fields with two
// decimals, others in general form); card numbers are always masked to their last four.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reports/Expression.h"

namespace corvanta::reports {

class Template {
 public:
  Template() = default;
  // Throws Error naming the placeholder that cannot be read.
  static Template parse(std::string_view text, const NameScope& names, AggregateList& aggregates);

  // The text with every placeholder replaced; values are HTML-escaped when `html`.
  std::string render(const EvalContext& ctx, bool html) const;
  // Every expression in it (for checking parameters).
  std::vector<const Expression*> expressions() const;
  bool constant() const { return parts_.size() <= 1 && (parts_.empty() || !parts_[0].expr); }

 private:
  enum class Format { Plain, Money, Whole, Number, Upper, Lower };
  struct Part {
    std::string literal;
    std::shared_ptr<const Expression> expr;
    Format format = Format::Plain;
  };
  static std::string formatValue(const RValue& v, const Part& part);
  std::vector<Part> parts_;
};

}  // namespace corvanta::reports
