// The expression language, placeholders and the printed text forms.
#include <gtest/gtest.h>

#include "data/numbers/Numbers.h"
#include "reports/Expression.h"
#include "reports/ReportText.h"
#include "reports/Template.h"
#include "ui/Error.h"

namespace corvanta::reports {
namespace {

// Bare names are stock fields; "cust." names are client fields; one row of each.
struct Scope : NameScope, EvalContext {
  const TableDef& stock = *findTableDef("stock.db");
  const TableDef& clients = *findTableDef("clients.DB");
  std::map<int, RValue> stockRow, clientRow;  // by field index
  std::map<std::string, std::string> params;
  std::vector<double> sums;

  std::optional<FieldRef> field(std::string_view q, std::string_view name) const override {
    const TableDef& t = q.empty() ? stock : clients;
    if (!q.empty() && q != "cust") throw Error("unknown lookup");
    const int i = t.fieldIndex(name);
    if (i < 0) {
      if (q.empty()) return std::nullopt;
      throw Error("unknown field \"" + std::string(name) + "\"");
    }
    return FieldRef{q.empty() ? 0 : 1, i, &t.fields[static_cast<size_t>(i)]};
  }
  RValue field(const FieldRef& r) const override {
    const auto& row = r.source == 0 ? stockRow : clientRow;
    auto it = row.find(r.field);
    return it == row.end() ? RValue() : it->second;
  }
  std::optional<std::string> parameter(const std::string& n) const override {
    auto it = params.find(n);
    return it == params.end() ? std::nullopt : std::optional(it->second);
  }
  RValue special(const std::string& n) const override {
    return n == "page" ? RValue(3.0) : RValue();
  }
  std::string shortDateFormat() const override { return dateFormat; }
  RValue aggregate(int id) const override { return sums.at(static_cast<size_t>(id)); }
  std::string dateFormat = "M/d/yy";

  void set(const char* f, RValue v) { stockRow[stock.fieldIndex(f)] = std::move(v); }
  RValue eval(const std::string& text) {
    AggregateList aggregates;
    sums.assign(8, 0);
    return Expression::parse(text, *this, aggregates)->eval(*this);
  }
  bool holds(const std::string& text) { return isTrue(eval(text)); }
  std::string render(const std::string& text) {
    AggregateList aggregates;
    return Template::parse(text, *this, aggregates).render(*this, true);
  }
};

TEST(Expression, ReorderConditionHoldsAtAndBelowTheMinimum) {
  Scope s;
  s.set("MinimumQuantity", 10.0);
  for (double q : {3.0, 10.0, -2.0}) {
    s.set("Quantity", q);
    EXPECT_TRUE(s.holds("Quantity <= MinimumQuantity")) << q;
  }
  s.set("Quantity", 10.5);
  EXPECT_FALSE(s.holds("Quantity <= MinimumQuantity"));
  s.stockRow.clear();  // both empty count as 0
  EXPECT_TRUE(s.holds("Quantity <= MinimumQuantity"));
}

TEST(Expression, ComparesNumbersAsNumbersAndTextsWithoutCase) {
  Scope s;
  s.set("Price", 1001.0);
  s.params["OrderNumber"] = "1001";
  EXPECT_TRUE(s.holds("Price = $OrderNumber"));
  EXPECT_TRUE(s.holds("Price > '999'")) << "numeric, not text order";
  s.set("Description", std::string("Claw Hammer"));
  EXPECT_TRUE(s.holds("Description = 'claw hammer'"));
  EXPECT_TRUE(s.holds("Description < 'drill'"));
  EXPECT_TRUE(s.holds("not (Description = '') and (1 = 2 or 2 >= 2)"));
}

TEST(Expression, ArithmeticFunctionsAndFieldsWithBlanks) {
  Scope s;
  s.set("Price", 12.5);
  s.set("Quantity", 3.0);
  EXPECT_EQ(std::get<double>(s.eval("Price * Quantity - 2 / 4")), 37.0);
  EXPECT_EQ(std::get<double>(s.eval("-Price + 1")), -11.5);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(s.eval("Price / 0")))
      << "no infinity on paper";
  s.clientRow[s.clients.fieldIndex("Area Code")] = std::string("217");
  EXPECT_EQ(toText(s.eval("'(' & cust.[Area Code] & ') ' & upper('x')")), "(217) X");
  EXPECT_EQ(toText(s.eval("if(cust.[Street/2] = '', 'same', cust.[Street/2])")), "same");
  EXPECT_EQ(toText(s.eval("coalesce(cust.Phone, $Missing?, 'none')")), "none");
  EXPECT_EQ(toText(s.eval("lower(Description) & page")), "3");
}

TEST(Expression, DatesCompareInCalendarOrder) {
  Scope s;
  EXPECT_TRUE(s.holds("date('12/31/23') < date('1/2/24')"));
  EXPECT_EQ(toNumber(s.eval("date('2024-03-07')")), 20240307);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(s.eval("date('soon')")));
  s.dateFormat = "dd.MM.yyyy";
  EXPECT_EQ(toNumber(s.eval("date('07.03.2024')")), 20240307);
  EXPECT_EQ(dateNumber("3/4/99", "M/d/yy"), 19990304);
  EXPECT_EQ(dateNumber("13/4/24", "M/d/yy"), std::nullopt);
}

TEST(Expression, AggregatesAreRegisteredForTheJob) {
  Scope s;
  AggregateList aggregates;
  auto e = Expression::parse("sum(Price * Quantity) + count()", s, aggregates);
  ASSERT_EQ(aggregates.size(), 2u);
  EXPECT_EQ(aggregates[0].kind, Aggregate::Kind::Sum);
  EXPECT_EQ(aggregates[1].kind, Aggregate::Kind::Count);
  s.sums = {100, 4};
  EXPECT_EQ(std::get<double>(e->eval(s)), 104);
}

TEST(Expression, TellsWhatItCannotRead) {
  Scope s;
  AggregateList a;
  auto message = [&](const std::string& text) {
    try {
      Expression::parse(text, s, a);
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_NE(message("Qty > 1").find("unknown field \"Qty\""), std::string::npos);
  EXPECT_NE(message("cust.Nickname").find("Nickname"), std::string::npos);
  EXPECT_NE(message("frobnicate(1)").find("unknown function"), std::string::npos);
  EXPECT_NE(message("Price >").find("ends too early"), std::string::npos);
  EXPECT_NE(message("(Price").find("expected \")\""), std::string::npos);
  EXPECT_NE(message("'open").find("unclosed"), std::string::npos);
  EXPECT_NE(message("if(1, 2)").find("wrong number"), std::string::npos);
  EXPECT_NE(message("Price ; 2").find("unexpected character"), std::string::npos);
}

TEST(Expression, FindsTheIndexRangeAndItsParameters) {
  Scope s;
  AggregateList a;
  auto eq = Expression::parse("PartNumber = $Part", s, a);
  ASSERT_TRUE(eq->rowEquality());
  EXPECT_EQ(eq->rowEquality()->first.def->name, "PartNumber");
  EXPECT_FALSE(Expression::parse("PartNumber = Description", s, a)->rowEquality());
  EXPECT_FALSE(Expression::parse("PartNumber <= 'A'", s, a)->rowEquality());
  const auto params =
      Expression::parse("date(Description) >= $From? or $To = 1", s, a)->parameters();
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0], std::make_pair(std::string("From"), true));
  EXPECT_EQ(params[1], std::make_pair(std::string("To"), false));
}

TEST(Template, FormatsEscapesAndShowsFieldsAsTheWindowsDo) {
  Scope s;
  s.set("Price", 1234567.5);
  s.set("Quantity", 2.5);
  s.set("Description", std::string("Nuts & <bolts>"));
  EXPECT_EQ(s.render("{{Price}} | {{Price | money}} | {{Quantity}} | {{Quantity | whole}}"),
            "1234567.50 | 1,234,567.50 | 2.5 | 3");
  EXPECT_EQ(s.render("<b>{{Description}}</b>"), "<b>Nuts &amp; &lt;bolts&gt;</b>");
  EXPECT_EQ(s.render("{{ 'a|b' }} {{Description | upper}}"), "a|b NUTS &amp; &lt;BOLTS&gt;");
  EXPECT_EQ(s.render("empty: [{{Category}}] [{{Category | money}}]"), "empty: [] []");
  AggregateList a;
  EXPECT_THROW(Template::parse("{{Price | euros}}", s, a), Error);
  EXPECT_THROW(Template::parse("{{Price", s, a), Error);
  EXPECT_THROW(Template::parse("{{ }}", s, a), Error);
}

TEST(ReportText, MoneyCardsAndEscaping) {
  EXPECT_EQ(formatMoney(0), "0.00");
  EXPECT_EQ(formatMoney(999.995), "1,000.00");
  EXPECT_EQ(formatMoney(-1234.5), "-1,234.50");
  EXPECT_EQ(formatMoney(50.825), "50.83");
  EXPECT_EQ(maskCardNumber("4111 1111 1111 1234"), "**** **** **** 1234");
  EXPECT_EQ(maskCardNumber("4111-1111-1111-1234"), "****-****-****-1234");
  EXPECT_EQ(maskCardNumber("41111111111111234"), "*************1234");
  EXPECT_EQ(maskCardNumber("1234"), "1234");
  EXPECT_EQ(maskCardNumber("4111.1111/12345"), "***********2345");
  EXPECT_EQ(maskCardNumber(""), "");
  EXPECT_TRUE(isCardNumberField("Credit Card Number"));
  EXPECT_TRUE(isCardNumberField("CreditCardNumber"));
  EXPECT_FALSE(isCardNumberField("Credit Card Type"));
  EXPECT_EQ(htmlEscape("a<b>&\"c\""), "a&lt;b&gt;&amp;&quot;c&quot;");
}

}  // namespace
}  // namespace corvanta::reports
