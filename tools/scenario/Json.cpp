#include "Json.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace corvanta::scenario {

namespace {

// Field names stay in the order a script writes them, so failures list them that way.
using Json = nlohmann::ordered_json;

// One past the end of the JSON string or object that starts at pos: a line may carry more
// after it (a second object), which the JSON library would take for a syntax error.
size_t valueEnd(std::string_view text, size_t pos) {
  int depth = 0;
  bool inString = false;
  for (size_t i = pos; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
        if (depth == 0) return i + 1;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if ((c == '}' || c == ']') && --depth == 0) {
      return i + 1;
    }
  }
  throw std::invalid_argument(inString ? "unterminated string" : "unterminated object");
}

// Parses exactly text[pos, valueEnd) and moves pos past it.
Json parseAt(std::string_view text, size_t& pos) {
  const size_t end = valueEnd(text, pos);
  try {
    Json j = Json::parse(text.substr(pos, end - pos));
    pos = end;
    return j;
  } catch (const Json::parse_error& e) {
    // "[json.exception.parse_error.101] parse error at line 1, column 9: ..." -> from "column".
    std::string what = e.what();
    if (auto at = what.find("column"); at != std::string::npos) what = what.substr(at);
    throw std::invalid_argument("bad JSON: " + what);
  }
}

JsonValue toValue(const std::string& name, const Json& j) {
  switch (j.type()) {
    case Json::value_t::null:
      return {};
    case Json::value_t::boolean:
      return {j.get<bool>()};
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
      return {j.get<double>()};
    case Json::value_t::string:
      return {j.get<std::string>()};
    default:
      throw std::invalid_argument("\"" + name + "\": a number, text or null expected, got " +
                                  j.dump());
  }
}

}  // namespace

void skipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

JsonObject parseObject(std::string_view text, size_t& pos) {
  skipBlanks(text, pos);
  if (pos >= text.size() || text[pos] != '{') throw std::invalid_argument("'{' expected");
  const Json j = parseAt(text, pos);
  JsonObject out;
  for (const auto& [name, value] : j.items()) out.emplace_back(name, toValue(name, value));
  return out;
}

std::string parseString(std::string_view text, size_t& pos) {
  skipBlanks(text, pos);
  if (pos >= text.size() || text[pos] != '"') throw std::invalid_argument("'\"' expected");
  return parseAt(text, pos).get<std::string>();
}

std::string quoteJson(std::string_view s) {
  // A stored text that is not valid UTF-8 is still shown, its bad bytes replaced.
  return Json(std::string(s)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string JsonValue::toString() const {
  if (isNull()) return "null";
  if (auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  if (auto* s = std::get_if<std::string>(&v)) return quoteJson(*s);
  return Json(std::get<double>(v)).dump();
}

}  // namespace corvanta::scenario
