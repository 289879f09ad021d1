#include "Script.h"

#include <fstream>
#include <set>
#include <stdexcept>

#include "base/Text.h"

namespace corvanta::scenario {

namespace {

// The next blank-separated word.
std::string word(std::string_view s, size_t& pos) {
  skipBlanks(s, pos);
  size_t b = pos;
  while (pos < s.size() && s[pos] != ' ' && s[pos] != '\t') ++pos;
  return std::string(s.substr(b, pos - b));
}

// TEXT: the rest, trimmed, or a JSON string when it starts with a quote.
std::string textArg(std::string_view s, size_t pos) {
  std::string rest = trim(s.substr(std::min(pos, s.size())));
  if (rest.empty() || rest.front() != '"') return rest;
  size_t p = 0;
  std::string out = parseString(rest, p);
  skipBlanks(rest, p);
  if (p != rest.size()) throw std::invalid_argument("text after the quoted string");
  return out;
}

void requireEnd(std::string_view s, size_t pos) {
  skipBlanks(s, pos);
  if (pos != s.size())
    throw std::invalid_argument("unexpected '" + std::string(s.substr(pos)) + "'");
}

long long number(const std::string& w) {
  size_t used = 0;
  long long n = std::stoll(w, &used);
  if (used != w.size()) throw std::invalid_argument("number expected");
  return n;
}

const std::set<std::string> kVerbs = {"today",
                                      "short-date-format",
                                      "seed",
                                      "drop-table",
                                      "click",
                                      "choose",
                                      "type",
                                      "grid",
                                      "close",
                                      "answer",
                                      "answer-cancel",
                                      "choose-file",
                                      "choose-file-cancel",
                                      "confirm",
                                      "restart",
                                      "expect-message",
                                      "expect-error",
                                      "expect-message-like",
                                      "expect-error-like",
                                      "expect-ended",
                                      "expect-prompt",
                                      "expect",
                                      "expect-checked",
                                      "expect-visible",
                                      "expect-hidden",
                                      "expect-state",
                                      "expect-index",
                                      "expect-current",
                                      "expect-count",
                                      "expect-row",
                                      "expect-no-row",
                                      "expect-var",
                                      "expect-report",
                                      "expect-help"};

}  // namespace

bool isSetupVerb(const std::string& v) {
  return v == "today" || v == "short-date-format" || v == "seed" || v == "drop-table";
}

bool isActionVerb(const std::string& v) {
  return v == "click" || v == "choose" || v == "type" || v == "grid" || v == "close" ||
         v == "restart";
}

Line parseLine(const std::string& source, int number_) {
  Line l;
  l.number = number_;
  l.source = trim(source);
  std::string_view s = l.source;
  size_t pos = 0;
  l.verb = word(s, pos);
  if (!kVerbs.count(l.verb)) throw std::invalid_argument("unknown line kind '" + l.verb + "'");
  const std::string& v = l.verb;
  if (v == "today") {
    l.text = word(s, pos);
    requireEnd(s, pos);
    int y, m, d;
    char c1, c2;
    if (std::sscanf(l.text.c_str(), "%d%c%d%c%d", &y, &c1, &m, &c2, &d) != 5 || c1 != '-' ||
        c2 != '-' || m < 1 || m > 12 || d < 1 || d > 31)
      throw std::invalid_argument("date YYYY-MM-DD expected");
  } else if (v == "short-date-format" || v == "answer" || v == "choose-file" ||
             v == "expect-message" || v == "expect-error" || v == "expect-message-like" ||
             v == "expect-error-like" || v == "expect-help") {
    l.text = textArg(s, pos);
  } else if (v == "answer-cancel" || v == "choose-file-cancel" || v == "restart" ||
             v == "expect-ended") {
    requireEnd(s, pos);
  } else if (v == "confirm") {
    l.text = word(s, pos);
    requireEnd(s, pos);
    if (l.text != "yes" && l.text != "no") throw std::invalid_argument("yes or no expected");
  } else if (v == "click" || v == "choose" || v == "close" || v == "expect-checked" ||
             v == "expect-visible" || v == "expect-hidden" || v == "drop-table") {
    l.target = word(s, pos);
    requireEnd(s, pos);
  } else if (v == "type" || v == "expect" || v == "expect-var" || v == "expect-index") {
    l.target = word(s, pos);
    l.text = textArg(s, pos);
  } else if (v == "grid" || v == "expect-count") {
    l.target = word(s, pos);
    l.count = number(word(s, pos));
    requireEnd(s, pos);
  } else if (v == "expect-state") {
    l.target = word(s, pos);
    l.text = word(s, pos);
    requireEnd(s, pos);
    if (l.text != "browse" && l.text != "edit" && l.text != "insert")
      throw std::invalid_argument("browse, edit or insert expected");
  } else if (v == "seed" || v == "expect-current" || v == "expect-no-row") {
    l.target = word(s, pos);
    l.object = parseObject(s, pos);
    l.hasObject = true;
    requireEnd(s, pos);
  } else if (v == "expect-row") {
    l.target = word(s, pos);
    l.object = parseObject(s, pos);
    l.object2 = parseObject(s, pos);
    l.hasObject = true;
    requireEnd(s, pos);
  } else if (v == "expect-report") {
    skipBlanks(s, pos);
    size_t b = pos;
    while (pos < s.size() && s[pos] != '{') ++pos;
    l.target = trim(s.substr(b, pos - b));
    if (pos < s.size()) {
      l.object = parseObject(s, pos);
      l.hasObject = true;
      requireEnd(s, pos);
    }
  } else if (v == "expect-prompt") {
    std::string rest = trim(s.substr(pos));
    auto bar = rest.find('|');
    if (bar == std::string::npos) throw std::invalid_argument("CAPTION | PROMPT expected");
    l.target = trim(rest.substr(0, bar));
    l.text = trim(rest.substr(bar + 1));
  }
  if (l.target.empty() && (v == "click" || v == "type" || v == "expect" || v == "seed"))
    throw std::invalid_argument("a name is missing");
  return l;
}

std::vector<Line> readScript(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) throw ParseError{0, "cannot read the file"};
  std::vector<Line> lines;
  std::string source;
  int n = 0;
  while (std::getline(in, source)) {
    ++n;
    std::string t = trim(source);
    if (t.empty() || t[0] == '#') continue;
    try {
      lines.push_back(parseLine(t, n));
    } catch (const std::exception& e) {
      throw ParseError{n, e.what()};
    }
  }
  return lines;
}

}  // namespace corvanta::scenario
