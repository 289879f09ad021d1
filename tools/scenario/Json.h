#pragma once
// The part of JSON that scenario lines use: objects of field names to numbers, strings, null
// (and true/false), and single strings, read with the JSON library and kept in the small
// types the runner compares with.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace corvanta::scenario {

struct JsonValue {
  std::variant<std::monostate, double, std::string, bool> v;
  bool isNull() const { return std::holds_alternative<std::monostate>(v); }
  std::string toString() const;  // as JSON
};

// Field names in the order written.
using JsonObject = std::vector<std::pair<std::string, JsonValue>>;

// Each parser reads one value from text at pos, skipping leading blanks, and advances pos
// past it; what follows is left for the caller.  They throw std::invalid_argument with a
// short reason on malformed input, or on a field whose value is an object or array.
JsonObject parseObject(std::string_view text, size_t& pos);
std::string parseString(std::string_view text, size_t& pos);
void skipBlanks(std::string_view text, size_t& pos);

std::string quoteJson(std::string_view s);

}  // namespace corvanta::scenario
