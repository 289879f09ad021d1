#include "reports/Expression.h"

#include <cctype>
#include <cmath>

#include "base/Text.h"
#include "data/numbers/Numbers.h"
#include "reports/ReportText.h"
#include "ui/Error.h"

namespace corvanta::reports {

// ---- values ---------------------------------------------------------------------------------

double toNumber(const RValue& v) {
  if (auto d = std::get_if<double>(&v)) return *d;
  if (auto s = std::get_if<std::string>(&v)) {
    double out = 0;
    return parseFloatStrict(*s, out) ? out : 0;
  }
  return 0;
}

std::string toText(const RValue& v) {
  if (auto d = std::get_if<double>(&v)) return formatGeneral15(*d);
  if (auto s = std::get_if<std::string>(&v)) return *s;
  return {};
}

bool isTrue(const RValue& v) {
  if (auto d = std::get_if<double>(&v)) return *d != 0;
  if (auto s = std::get_if<std::string>(&v)) return !s->empty();
  return false;
}

namespace {

bool numeric(const RValue& v, double& out) {
  if (auto d = std::get_if<double>(&v)) return out = *d, true;
  if (std::holds_alternative<std::monostate>(v)) return out = 0, true;
  return parseFloatStrict(std::get<std::string>(v), out);
}

}  // namespace

int compareValues(const RValue& a, const RValue& b) {
  double x = 0, y = 0;
  const bool anyNumber = std::holds_alternative<double>(a) || std::holds_alternative<double>(b);
  if (anyNumber && numeric(a, x) && numeric(b, y)) return x < y ? -1 : (x > y ? 1 : 0);
  const std::string s = toLower(toText(a)), t = toLower(toText(b));
  return s < t ? -1 : (s > t ? 1 : 0);
}

// ---- syntax tree ----------------------------------------------------------------------------

struct Expression::Node {
  enum class Op {
    Literal,
    Field,
    Param,
    Special,
    Aggregate,
    Neg,
    Not,
    Add,
    Sub,
    Mul,
    Div,
    Concat,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    And,
    Or,
    Date,
    If,
    Coalesce,
    Upper,
    Lower
  } op;
  RValue literal;
  FieldRef field;
  std::string name;  // parameter or special
  bool optional = false;
  int aggregate = -1;
  std::vector<std::unique_ptr<Node>> kids;
};

using Node = Expression::Node;
using Op = Node::Op;

namespace {

struct Token {
  enum class Kind { End, Number, String, Param, Name, Symbol } kind = Kind::End;
  std::string text;
  bool optional = false;  // $Param?
};

class Parser {
 public:
  Parser(std::string_view text, const NameScope& names, AggregateList& aggregates)
      : text_(text), names_(names), aggregates_(aggregates) {
    advance();
  }

  std::unique_ptr<Node> parseAll() {
    auto n = parseOr();
    if (tok_.kind != Token::Kind::End) fail("unexpected \"" + tok_.text + "\"");
    return n;
  }

 private:
  [[noreturn]] void fail(const std::string& why) {
    throw Error(why + " in \"" + std::string(text_) + "\"");
  }

  void advance() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    tok_ = Token{};
    if (pos_ >= text_.size()) return;
    const char c = text_[pos_];
    if (std::isdigit(static_cast<unsigned char>(c)) ||
        (c == '.' && pos_ + 1 < text_.size() &&
         std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
      size_t end = pos_;
      while (end < text_.size() &&
             (std::isdigit(static_cast<unsigned char>(text_[end])) || text_[end] == '.'))
        ++end;
      tok_ = {Token::Kind::Number, std::string(text_.substr(pos_, end - pos_))};
      pos_ = end;
    } else if (c == '\'' || c == '"') {
      const size_t end = text_.find(c, pos_ + 1);
      if (end == std::string_view::npos) fail("unclosed text");
      tok_ = {Token::Kind::String, std::string(text_.substr(pos_ + 1, end - pos_ - 1))};
      pos_ = end + 1;
    } else if (c == '$') {
      size_t end = pos_ + 1;
      while (end < text_.size() &&
             (std::isalnum(static_cast<unsigned char>(text_[end])) || text_[end] == '_'))
        ++end;
      if (end == pos_ + 1) fail("a parameter needs a name after $");
      tok_ = {Token::Kind::Param, std::string(text_.substr(pos_ + 1, end - pos_ - 1))};
      if (end < text_.size() && text_[end] == '?') tok_.optional = true, ++end;
      pos_ = end;
    } else if (c == '[') {
      const size_t end = text_.find(']', pos_);
      if (end == std::string_view::npos) fail("unclosed [");
      tok_ = {Token::Kind::Name, std::string(text_.substr(pos_ + 1, end - pos_ - 1))};
      pos_ = end + 1;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t end = pos_;
      while (end < text_.size() &&
             (std::isalnum(static_cast<unsigned char>(text_[end])) || text_[end] == '_'))
        ++end;
      tok_ = {Token::Kind::Name, std::string(text_.substr(pos_, end - pos_))};
      pos_ = end;
    } else {
      for (const char* two : {"<=", ">=", "<>", "!="})
        if (text_.substr(pos_, 2) == two) {
          tok_ = {Token::Kind::Symbol, two};
          pos_ += 2;
          return;
        }
      if (std::string_view("+-*/&=<>(),.").find(c) == std::string_view::npos)
        fail(std::string("unexpected character '") + c + "'");
      tok_ = {Token::Kind::Symbol, std::string(1, c)};
      ++pos_;
    }
  }

  bool isSymbol(const char* s) const { return tok_.kind == Token::Kind::Symbol && tok_.text == s; }
  bool isWord(const char* w) const {
    return tok_.kind == Token::Kind::Name && equalsNoCase(tok_.text, w);
  }
  void expect(const char* s) {
    if (!isSymbol(s)) fail(std::string("expected \"") + s + "\"");
    advance();
  }

  static std::unique_ptr<Node> make(Op op, std::unique_ptr<Node> a = nullptr,
                                    std::unique_ptr<Node> b = nullptr) {
    auto n = std::make_unique<Node>();
    n->op = op;
    if (a) n->kids.push_back(std::move(a));
    if (b) n->kids.push_back(std::move(b));
    return n;
  }

  std::unique_ptr<Node> parseOr() {
    auto n = parseAnd();
    while (isWord("or")) {
      advance();
      n = make(Op::Or, std::move(n), parseAnd());
    }
    return n;
  }
  std::unique_ptr<Node> parseAnd() {
    auto n = parseNot();
    while (isWord("and")) {
      advance();
      n = make(Op::And, std::move(n), parseNot());
    }
    return n;
  }
  std::unique_ptr<Node> parseNot() {
    if (isWord("not")) {
      advance();
      return make(Op::Not, parseNot());
    }
    return parseComparison();
  }
  std::unique_ptr<Node> parseComparison() {
    auto n = parseSum();
    static const std::pair<const char*, Op> ops[] = {{"=", Op::Eq}, {"<>", Op::Ne}, {"!=", Op::Ne},
                                                     {"<", Op::Lt}, {"<=", Op::Le}, {">", Op::Gt},
                                                     {">=", Op::Ge}};
    for (const auto& [sym, op] : ops)
      if (isSymbol(sym)) {
        advance();
        return make(op, std::move(n), parseSum());
      }
    return n;
  }
  std::unique_ptr<Node> parseSum() {
    auto n = parseProduct();
    for (;;) {
      Op op;
      if (isSymbol("+"))
        op = Op::Add;
      else if (isSymbol("-"))
        op = Op::Sub;
      else if (isSymbol("&"))
        op = Op::Concat;
      else
        return n;
      advance();
      n = make(op, std::move(n), parseProduct());
    }
  }
  std::unique_ptr<Node> parseProduct() {
    auto n = parseUnary();
    while (isSymbol("*") || isSymbol("/")) {
      const Op op = isSymbol("*") ? Op::Mul : Op::Div;
      advance();
      n = make(op, std::move(n), parseUnary());
    }
    return n;
  }
  std::unique_ptr<Node> parseUnary() {
    if (isSymbol("-")) {
      advance();
      return make(Op::Neg, parseUnary());
    }
    return parsePrimary();
  }

  std::unique_ptr<Node> parsePrimary() {
    const Token t = tok_;
    switch (t.kind) {
      case Token::Kind::End:
        fail("the expression ends too early");
      case Token::Kind::Number: {
        double v = 0;
        if (!parseFloatStrict(t.text, v)) fail("bad number \"" + t.text + "\"");
        advance();
        auto n = make(Op::Literal);
        n->literal = v;
        return n;
      }
      case Token::Kind::String: {
        advance();
        auto n = make(Op::Literal);
        n->literal = t.text;
        return n;
      }
      case Token::Kind::Param: {
        advance();
        auto n = make(Op::Param);
        n->name = t.text;
        n->optional = t.optional;
        return n;
      }
      case Token::Kind::Symbol:
        if (t.text == "(") {
          advance();
          auto n = parseOr();
          expect(")");
          return n;
        }
        fail("unexpected \"" + t.text + "\"");
      case Token::Kind::Name:
        break;
    }
    advance();
    if (isSymbol("(")) return parseCall(t.text);
    if (isSymbol(".")) {
      advance();
      if (tok_.kind != Token::Kind::Name) fail("a field name must follow \"" + t.text + ".\"");
      const std::string field = tok_.text;
      advance();
      if (equalsNoCase(t.text, "shop")) {
        auto n = make(Op::Special);
        n->name = "shop." + field;
        return n;
      }
      return fieldNode(t.text, field);
    }
    if (auto ref = names_.field("", t.text)) {
      auto n = make(Op::Field);
      n->field = *ref;
      return n;
    }
    for (const char* special : {"page", "today", "title", "groups"})
      if (equalsNoCase(t.text, special)) {
        auto n = make(Op::Special);
        n->name = special;
        return n;
      }
    fail("unknown field \"" + t.text + "\"");
  }

  std::unique_ptr<Node> fieldNode(const std::string& qualifier, const std::string& name) {
    auto ref = names_.field(qualifier, name);
    if (!ref) fail("unknown field \"" + qualifier + "." + name + "\"");
    auto n = make(Op::Field);
    n->field = *ref;
    return n;
  }

  std::unique_ptr<Node> parseCall(const std::string& fn) {
    advance();  // (
    std::vector<std::unique_ptr<Node>> args;
    if (!isSymbol(")")) {
      args.push_back(parseOr());
      while (isSymbol(",")) {
        advance();
        args.push_back(parseOr());
      }
    }
    expect(")");
    auto need = [&](size_t lo, size_t hi) {
      if (args.size() < lo || args.size() > hi) fail("wrong number of values for " + fn + "()");
    };
    std::unique_ptr<Node> n;
    if (equalsNoCase(fn, "sum") || equalsNoCase(fn, "count")) {
      const bool sum = equalsNoCase(fn, "sum");
      need(sum ? 1 : 0, sum ? 1 : 0);
      n = make(Op::Aggregate);
      Aggregate a{sum ? Aggregate::Kind::Sum : Aggregate::Kind::Count, nullptr};
      if (sum) a.argument = std::make_shared<Expression>(std::move(args[0]));
      n->aggregate = static_cast<int>(aggregates_.size());
      aggregates_.push_back(std::move(a));
      return n;
    }
    static const std::pair<const char*, Op> fns[] = {{"date", Op::Date},
                                                     {"if", Op::If},
                                                     {"coalesce", Op::Coalesce},
                                                     {"upper", Op::Upper},
                                                     {"lower", Op::Lower}};
    for (const auto& [name, op] : fns)
      if (equalsNoCase(fn, name)) {
        if (op == Op::If)
          need(3, 3);
        else if (op == Op::Coalesce)
          need(1, 99);
        else
          need(1, 1);
        n = make(op);
        n->kids = std::move(args);
        return n;
      }
    fail("unknown function \"" + fn + "\"");
  }

  std::string_view text_;
  size_t pos_ = 0;
  Token tok_;
  const NameScope& names_;
  AggregateList& aggregates_;
};

template <class F>
void visit(const Node* n, F&& f) {
  f(n);
  for (const auto& k : n->kids) visit(k.get(), f);
}

}  // namespace

// ---- Expression -----------------------------------------------------------------------------

std::shared_ptr<const Expression> Expression::parse(std::string_view text, const NameScope& names,
                                                    AggregateList& aggregates) {
  return std::make_shared<Expression>(Parser(text, names, aggregates).parseAll());
}

Expression::Expression(std::unique_ptr<Node> root) : root_(std::move(root)) {}
Expression::~Expression() = default;

RValue Expression::eval(const EvalContext& ctx) const {
  return evalNode(root_.get(), ctx);
}

const FieldDef* Expression::soleField() const {
  return root_->op == Op::Field ? root_->field.def : nullptr;
}

std::vector<std::pair<std::string, bool>> Expression::parameters() const {
  std::vector<std::pair<std::string, bool>> out;
  visit(root_.get(), [&](const Node* n) {
    if (n->op == Op::Param) out.emplace_back(n->name, n->optional);
  });
  return out;
}

bool Expression::readsRows() const {
  bool reads = false;
  visit(root_.get(), [&](const Node* n) {
    reads |= (n->op == Op::Field && n->field.source == 0) || n->op == Op::Aggregate;
  });
  return reads;
}

std::optional<std::pair<FieldRef, const Node*>> Expression::rowEquality() const {
  if (root_->op != Op::Eq) return std::nullopt;
  for (int side = 0; side < 2; ++side) {
    const Node* f = root_->kids[side].get();
    const Node* v = root_->kids[1 - side].get();
    if (f->op != Op::Field || f->field.source != 0) continue;
    bool readsRows = false;
    visit(v, [&](const Node* n) { readsRows |= n->op == Op::Field && n->field.source == 0; });
    if (!readsRows) return std::make_pair(f->field, v);
  }
  return std::nullopt;
}

RValue Expression::evalNode(const Node* n, const EvalContext& ctx) const {
  auto kid = [&](size_t i) { return evalNode(n->kids[i].get(), ctx); };
  auto num = [&](size_t i) { return static_cast<long double>(toNumber(kid(i))); };
  auto cmp = [&] { return compareValues(kid(0), kid(1)); };
  switch (n->op) {
    case Op::Literal:
      return n->literal;
    case Op::Field:
      return ctx.field(n->field);
    case Op::Param: {
      auto p = ctx.parameter(n->name);
      return p ? RValue(*p) : RValue();
    }
    case Op::Special:
      return ctx.special(n->name);
    case Op::Aggregate:
      return ctx.aggregate(n->aggregate);
    case Op::Neg:
      return static_cast<double>(-num(0));
    case Op::Not:
      return isTrue(kid(0)) ? 0.0 : 1.0;
    case Op::Add:
      return static_cast<double>(num(0) + num(1));
    case Op::Sub:
      return static_cast<double>(num(0) - num(1));
    case Op::Mul:
      return static_cast<double>(num(0) * num(1));
    case Op::Div: {
      const long double d = num(1);
      return d == 0 ? RValue() : RValue(static_cast<double>(num(0) / d));  // no "INF" on paper
    }
    case Op::Concat:
      return toText(kid(0)) + toText(kid(1));
    case Op::Eq:
      return cmp() == 0 ? 1.0 : 0.0;
    case Op::Ne:
      return cmp() != 0 ? 1.0 : 0.0;
    case Op::Lt:
      return cmp() < 0 ? 1.0 : 0.0;
    case Op::Le:
      return cmp() <= 0 ? 1.0 : 0.0;
    case Op::Gt:
      return cmp() > 0 ? 1.0 : 0.0;
    case Op::Ge:
      return cmp() >= 0 ? 1.0 : 0.0;
    case Op::And:
      return isTrue(kid(0)) && isTrue(kid(1)) ? 1.0 : 0.0;
    case Op::Or:
      return isTrue(kid(0)) || isTrue(kid(1)) ? 1.0 : 0.0;
    case Op::Date: {
      RValue v = kid(0);
      if (std::holds_alternative<double>(v)) return v;
      auto d = dateNumber(toText(v), ctx.shortDateFormat());
      return d ? RValue(*d) : RValue();
    }
    case Op::If:
      return isTrue(kid(0)) ? kid(1) : kid(2);
    case Op::Coalesce:
      for (size_t i = 0; i < n->kids.size(); ++i) {
        RValue v = kid(i);
        if (isTrue(v) || std::holds_alternative<double>(v)) return v;
      }
      return {};
    case Op::Upper: {
      std::string s = toText(kid(0));
      for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return s;
    }
    case Op::Lower:
      return toLower(toText(kid(0)));
  }
  return {};
}

}  // namespace corvanta::reports
