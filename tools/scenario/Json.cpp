#include "Json.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace corvanta::scenario {

void skipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

namespace {

void appendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

unsigned hex4(std::string_view text, size_t pos) {
  if (pos + 4 > text.size()) throw std::invalid_argument("bad \\u escape");
  unsigned v = 0;
  for (size_t i = pos; i < pos + 4; ++i) {
    char c = text[i];
    v <<= 4;
    if (c >= '0' && c <= '9')
      v |= c - '0';
    else if (c >= 'a' && c <= 'f')
      v |= c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      v |= c - 'A' + 10;
    else
      throw std::invalid_argument("bad \\u escape");
  }
  return v;
}

JsonValue parseValue(std::string_view text, size_t& pos) {
  skipBlanks(text, pos);
  if (pos >= text.size()) throw std::invalid_argument("value expected");
  char c = text[pos];
  if (c == '"') return {parseString(text, pos)};
  if (text.substr(pos, 4) == "null") {
    pos += 4;
    return {};
  }
  if (text.substr(pos, 4) == "true") {
    pos += 4;
    return {true};
  }
  if (text.substr(pos, 5) == "false") {
    pos += 5;
    return {false};
  }
  size_t end = pos;
  if (end < text.size() && text[end] == '-') ++end;
  while (end < text.size() &&
         (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.' ||
          text[end] == 'e' || text[end] == 'E' || text[end] == '+' || text[end] == '-'))
    ++end;
  double d = 0;
  auto [p, ec] = std::from_chars(text.data() + pos, text.data() + end, d);
  if (ec != std::errc() || p != text.data() + end || end == pos)
    throw std::invalid_argument("bad value at '" + std::string(text.substr(pos, 10)) + "'");
  pos = end;
  return {d};
}

}  // namespace

std::string parseString(std::string_view text, size_t& pos) {
  skipBlanks(text, pos);
  if (pos >= text.size() || text[pos] != '"') throw std::invalid_argument("string expected");
  ++pos;
  std::string out;
  while (pos < text.size()) {
    char c = text[pos++];
    if (c == '"') return out;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (pos >= text.size()) break;
    char e = text[pos++];
    switch (e) {
      case '"':
        out += '"';
        break;
      case '\\':
        out += '\\';
        break;
      case '/':
        out += '/';
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'u': {
        unsigned cp = hex4(text, pos);
        pos += 4;
        if (cp >= 0xD800 && cp < 0xDC00 && text.substr(pos, 2) == "\\u") {
          unsigned lo = hex4(text, pos + 2);
          pos += 6;
          cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        }
        appendUtf8(out, cp);
        break;
      }
      default:
        throw std::invalid_argument("bad escape in string");
    }
  }
  throw std::invalid_argument("unterminated string");
}

JsonObject parseObject(std::string_view text, size_t& pos) {
  skipBlanks(text, pos);
  if (pos >= text.size() || text[pos] != '{') throw std::invalid_argument("{ expected");
  ++pos;
  JsonObject obj;
  skipBlanks(text, pos);
  if (pos < text.size() && text[pos] == '}') {
    ++pos;
    return obj;
  }
  while (true) {
    std::string key = parseString(text, pos);
    skipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != ':') throw std::invalid_argument(": expected");
    ++pos;
    obj.emplace_back(std::move(key), parseValue(text, pos));
    skipBlanks(text, pos);
    if (pos < text.size() && text[pos] == ',') {
      ++pos;
      continue;
    }
    if (pos < text.size() && text[pos] == '}') {
      ++pos;
      return obj;
    }
    throw std::invalid_argument(", or } expected");
  }
}

std::string quoteJson(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string JsonValue::toString() const {
  if (isNull()) return "null";
  if (auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  if (auto* s = std::get_if<std::string>(&v)) return quoteJson(*s);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", std::get<double>(v));
  return buf;
}

}  // namespace corvanta::scenario
