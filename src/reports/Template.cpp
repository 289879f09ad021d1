#include "reports/Template.h"

#include <cmath>

#include "base/Text.h"
#include "data/numbers/Numbers.h"
#include "reports/ReportText.h"
#include "ui/Error.h"

namespace corvanta::reports {

namespace {}  // namespace

Template Template::parse(std::string_view text, const NameScope& names, AggregateList& aggregates) {
  Template t;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find("{{", pos);
    if (open == std::string_view::npos) {
      t.parts_.push_back({std::string(text.substr(pos)), nullptr});
      break;
    }
    const size_t close = text.find("}}", open + 2);
    if (close == std::string_view::npos) throw Error("a \"{{\" without its \"}}\"");
    Part part{std::string(text.substr(pos, open - pos)), nullptr};
    std::string inner(text.substr(open + 2, close - open - 2));
    // The last '|' outside quotes separates the format.
    size_t bar = std::string::npos;
    char quote = 0;
    for (size_t i = 0; i < inner.size(); ++i) {
      if (quote)
        quote = inner[i] == quote ? 0 : quote;
      else if (inner[i] == '\'' || inner[i] == '"')
        quote = inner[i];
      else if (inner[i] == '|')
        bar = i;
    }
    if (bar != std::string::npos) {
      const std::string f = trim(inner.substr(bar + 1));
      static const std::pair<const char*, Format> formats[] = {{"money", Format::Money},
                                                               {"whole", Format::Whole},
                                                               {"number", Format::Number},
                                                               {"upper", Format::Upper},
                                                               {"lower", Format::Lower}};
      bool known = false;
      for (const auto& [name, format] : formats)
        if (equalsNoCase(f, name)) part.format = format, known = true;
      if (!known) throw Error("unknown format \"" + f + "\" in {{" + inner + "}}");
      inner.resize(bar);
    }
    if (trim(inner).empty()) throw Error("an empty {{ }}");
    part.expr = Expression::parse(inner, names, aggregates);
    t.parts_.push_back(std::move(part));
    pos = close + 2;
  }
  return t;
}

std::string Template::formatValue(const RValue& v, const Part& part) {
  if (std::holds_alternative<std::monostate>(v)) return {};
  const auto* d = std::get_if<double>(&v);
  switch (part.format) {
    case Format::Money:
      return d ? formatMoney(*d) : formatMoney(toNumber(v));
    case Format::Whole:
      return formatGeneral15(std::round(toNumber(v)));
    case Format::Number:
      return formatGeneral15(toNumber(v));
    case Format::Upper:
    case Format::Lower: {
      std::string s = toText(v);
      for (auto& c : s)
        c = static_cast<char>(part.format == Format::Upper
                                  ? std::toupper(static_cast<unsigned char>(c))
                                  : std::tolower(static_cast<unsigned char>(c)));
      return s;
    }
    case Format::Plain:
      break;
  }
  if (d) {
    const FieldDef* f = part.expr->soleField();
    if (f && f->displayFormat == "0.00") return formatFixed2(*d);
  }
  return toText(v);
}

std::string Template::render(const EvalContext& ctx, bool html) const {
  std::string out;
  for (const Part& p : parts_) {
    out += p.literal;
    if (!p.expr) continue;
    const std::string value = formatValue(p.expr->eval(ctx), p);
    out += html ? htmlEscape(value) : value;
  }
  return out;
}

std::vector<const Expression*> Template::expressions() const {
  std::vector<const Expression*> out;
  for (const Part& p : parts_)
    if (p.expr) out.push_back(p.expr.get());
  return out;
}

}  // namespace corvanta::reports
