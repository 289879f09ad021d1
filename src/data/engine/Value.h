#pragma once
// A stored field value: empty, a float, an auto-increment number or a text.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace corvanta {

using Value = std::variant<std::monostate, double, std::int64_t, std::string>;

inline bool isNull(const Value& v) {
  return std::holds_alternative<std::monostate>(v);
}

// One stored record as the engine reads it: its row id and its values in field order.
struct Row {
  std::int64_t rowid = 0;
  std::vector<Value> values;
};

}  // namespace corvanta
