#include "data/engine/Field.h"

#include "data/engine/Table.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

std::string cutToChars(std::string_view text, int n) {
  size_t pos = 0;
  int chars = 0;
  while (pos < text.size() && chars < n) {
    const auto c = static_cast<unsigned char>(text[pos]);
    size_t len = c < 0x80           ? 1
                 : (c >> 5) == 0x6  ? 2
                 : (c >> 4) == 0xE  ? 3
                 : (c >> 3) == 0x1E ? 4
                                    : 1;
    pos = std::min(text.size(), pos + len);
    ++chars;
  }
  return std::string(text.substr(0, pos));
}

std::string displayTextOf(const FieldDef& def, const Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  if (const auto* d = std::get_if<double>(&v))
    return def.displayFormat == "0.00" ? formatFixed2(*d) : formatGeneral15(*d);
  return "";
}

const Value& Field::value() const {
  return table_.bufferValue(index_);
}
bool Field::isNull() const {
  return corvanta::isNull(value());
}
std::string Field::displayText() const {
  return displayTextOf(def_, value());
}

double Field::asFloat() const {
  const Value& v = value();
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
  return 0;
}

void Field::setText(std::string_view text) {
  if (text.empty()) {
    setValue(Value{});
    return;
  }
  switch (def_.type) {
    case FieldType::Text:
      setValue(std::string(text));
      return;
    case FieldType::Float: {
      double d = 0;
      if (!parseFloatStrict(text, d))
        throw Error("'" + std::string(text) + "' is not a valid floating point value for field '" +
                    def_.name + "'");
      setValue(d);
      return;
    }
    case FieldType::AutoInc: {
      std::int64_t n = 0;
      if (!parseIntegerStrict(text, n))
        throw Error("'" + std::string(text) + "' is not a valid integer value for field '" +
                    def_.name + "'");
      setValue(n);
      return;
    }
  }
}

void Field::setValue(const Value& v) {
  if (def_.readOnly) throw Error("Field '" + def_.name + "' cannot be modified");
  Value stored = v;
  switch (def_.type) {
    case FieldType::Text:
      if (auto* s = std::get_if<std::string>(&stored)) {
        *s = cutToChars(*s, def_.size > 0 ? def_.size : 20);
        if (s->empty()) stored = Value{};
      } else if (!corvanta::isNull(stored)) {
        throw Error("Field '" + def_.name + "' takes a text");
      }
      break;
    case FieldType::Float:
      if (auto* i = std::get_if<std::int64_t>(&stored)) stored = static_cast<double>(*i);
      if (!corvanta::isNull(stored) && !std::holds_alternative<double>(stored))
        throw Error("Field '" + def_.name + "' takes a number");
      break;
    case FieldType::AutoInc:
      if (auto* d = std::get_if<double>(&stored)) {
        const auto n = static_cast<std::int64_t>(*d);
        if (static_cast<double>(n) != *d)
          throw Error("'" + formatGeneral15(*d) + "' is not a valid integer value for field '" +
                      def_.name + "'");
        stored = n;
      }
      if (std::holds_alternative<std::string>(stored))
        throw Error("Field '" + def_.name + "' takes a number");
      break;
  }
  table_.setBufferValue(index_, std::move(stored));
}

}  // namespace corvanta
