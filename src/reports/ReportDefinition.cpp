#include "reports/ReportDefinition.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "base/Text.h"
#include "data/engine/TableSchema.h"
#include "ui/Error.h"

namespace corvanta::reports {

namespace {

const char* const kSections[] = {"style",         "page-header", "page-footer",  "report-header",
                                 "report-footer", "columns",     "group-header", "group-footer",
                                 "row",           "empty",       "label"};

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::stringstream in(s);
  std::string item;
  while (std::getline(in, item, sep)) out.push_back(trim(item));
  return out;
}

std::vector<std::string> words(const std::string& s) {
  std::vector<std::string> out;
  std::stringstream in(s);
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

int lineAt(std::string_view text, size_t pos) {
  return 1 +
         static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(pos), '\n'));
}

class HeaderReader {
 public:
  HeaderReader(ReportDefinition& def) : def_(def) {}

  void read(int line, const std::string& key, const std::string& value) {
    line_ = line;
    const auto kw = words(toLower(key));
    const std::string k = kw.empty() ? "" : kw[0];
    const std::string qualifier = kw.size() > 1 ? kw[1] : "";
    if (kw.size() > 2 || (!qualifier.empty() && k != "filter" && k != "title"))
      fail("unknown setting \"" + key + "\"");
    if (k == "report") {
      def_.title = value;
    } else if (k == "title") {
      if (qualifier.empty()) fail("\"title\" needs a filter name: title reorder: ...");
      def_.filterTitles[qualifier] = value;
    } else if (k == "page") {
      for (const auto& w : words(toLower(value))) {
        if (w == "portrait")
          def_.landscape = false;
        else if (w == "landscape")
          def_.landscape = true;
        else if (w == "letter" || w == "legal" || w == "a4" || w == "a5")
          def_.pageSize = w;
        else
          fail("unknown page \"" + w + "\" (letter, legal, a4 or a5; portrait or landscape)");
      }
    } else if (k == "margins") {
      const auto m = words(value);
      if (m.size() != 1 && m.size() != 2 && m.size() != 4) fail("margins take 1, 2 or 4 lengths");
      double v[4];
      for (size_t i = 0; i < m.size(); ++i) v[i] = length(m[i]);
      if (m.size() == 1) v[1] = v[2] = v[3] = v[0];
      if (m.size() == 2) v[2] = v[0], v[3] = v[1];
      std::copy(v, v + 4, def_.margins);
    } else if (k == "font") {
      // "10pt" or "10pt DejaVu Sans"
      auto w = words(value);
      if (w.empty()) fail("font needs a size, e.g. 10pt");
      def_.fontSize = length(w[0]);
      if (def_.fontSize < 4 || def_.fontSize > 72) fail("font size out of range");
      std::string family;
      for (size_t i = 1; i < w.size(); ++i) family += (i > 1 ? " " : "") + w[i];
      if (!family.empty()) def_.fontFamily = family;
    } else if (k == "rows") {
      auto w = words(value);
      if (w.empty()) fail("rows needs a table name");
      def_.rowsTable = {line, w[0]};
      if (w.size() == 3 && toLower(w[1]) == "by")
        def_.rowsIndex = {line, w[2]};
      else if (w.size() == 4 && toLower(w[1]) == "by" && (w[2] == "\"\"" || w[2] == "''"))
        def_.rowsIndex = {line, ""};
      else if (w.size() != 1)
        fail("write rows as: TABLE [by INDEX]");
    } else if (k == "where") {
      def_.where.push_back({line, value});
    } else if (k == "filter") {
      if (qualifier.empty()) fail("\"filter\" needs a name: filter reorder: ...");
      def_.filters[qualifier].push_back({line, value});
    } else if (k == "lookup") {
      lookup(value);
    } else if (k == "group") {
      def_.group = Setting{line, value};
    } else if (k == "labels") {
      labels(value);
    } else if (k == "stripes") {
      def_.stripes = toLower(value) == "yes";
    } else {
      fail("unknown setting \"" + key + "\"");
    }
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw Error(definitionError(def_.fileName, line_, what));
  }

  double length(const std::string& s) {
    auto v = parseLength(s);
    if (!v) fail("\"" + s + "\" is no length (write e.g. 0.5in, 12mm or 36pt)");
    return *v;
  }

  // NAME = TABLE where FIELD = EXPRESSION   or   NAME = TABLE first
  void lookup(const std::string& value) {
    const auto eq = value.find('=');
    if (eq == std::string::npos) fail("write lookup as: NAME = TABLE where FIELD = VALUE");
    LookupSetting l;
    l.line = line_;
    l.name = trim(value.substr(0, eq));
    const auto rest = words(value.substr(eq + 1));
    if (l.name.empty() || rest.empty()) fail("write lookup as: NAME = TABLE where FIELD = VALUE");
    l.table = rest[0];
    if (rest.size() == 2 && toLower(rest[1]) == "first") {
      def_.lookups.push_back(l);
      return;
    }
    const std::string tail = trim(value.substr(eq + 1));
    const auto where = toLower(tail).find(" where ");
    const auto eq2 = tail.find('=', where == std::string::npos ? 0 : where);
    if (where == std::string::npos || eq2 == std::string::npos)
      fail("write lookup as: NAME = TABLE where FIELD = VALUE");
    l.field = trim(tail.substr(where + 7, eq2 - where - 7));
    if (l.field.size() > 2 && l.field.front() == '[' && l.field.back() == ']')
      l.field = l.field.substr(1, l.field.size() - 2);
    l.key = trim(tail.substr(eq2 + 1));
    if (l.field.empty() || l.key.empty()) fail("write lookup as: NAME = TABLE where FIELD = VALUE");
    def_.lookups.push_back(l);
  }

  // 3 x 10, size 2.625in x 1in, origin 0.1875in 0.5in, pitch 2.75in 1in, padding 0.1in
  void labels(const std::string& value) {
    LabelSheet s;
    bool sized = false, pitched = false;
    for (const auto& part : split(value, ',')) {
      auto w = words(toLower(part));
      if (w.size() == 3 && w[1] == "x" && std::isdigit(static_cast<unsigned char>(w[0][0]))) {
        s.columns = std::atoi(w[0].c_str());
        s.rows = std::atoi(w[2].c_str());
      } else if (w.size() == 4 && w[0] == "size" && w[2] == "x") {
        s.width = length(w[1]), s.height = length(w[3]), sized = true;
      } else if (w.size() == 3 && w[0] == "origin") {
        s.left = length(w[1]), s.top = length(w[2]);
      } else if (w.size() == 3 && w[0] == "pitch") {
        s.pitchX = length(w[1]), s.pitchY = length(w[2]), pitched = true;
      } else if (w.size() == 2 && w[0] == "padding") {
        s.padding = length(w[1]);
      } else {
        fail("cannot read \"" + part + "\" in labels");
      }
    }
    if (!sized || s.columns < 1 || s.rows < 1 || s.columns > 20 || s.rows > 50)
      fail("labels need COLUMNS x ROWS and a size, e.g. 3 x 10, size 2.625in x 1in");
    if (!pitched) s.pitchX = s.width, s.pitchY = s.height;
    def_.labels = s;
  }

  ReportDefinition& def_;
  int line_ = 0;
};

}  // namespace

std::string definitionError(const std::string& fileName, int line, const std::string& what) {
  std::string where = "Report definition \"" + fileName + "\"";
  if (line > 0) where += ", line " + std::to_string(line);
  return where + ": " + what;
}

std::optional<double> parseLength(std::string_view text) {
  const std::string s = toLower(trim(text));
  size_t i = 0;
  while (i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.')) ++i;
  if (i == 0) return std::nullopt;
  double v = 0;
  try {
    v = std::stod(s.substr(0, i));
  } catch (...) {
    return std::nullopt;
  }
  const std::string unit = s.substr(i);
  if (unit == "in") return v * 72;
  if (unit == "mm") return v * 72 / 25.4;
  if (unit == "cm") return v * 72 / 2.54;
  if (unit == "pt") return v;
  if (unit.empty() && v == 0) return 0.0;
  return std::nullopt;
}

ReportDefinition parseDefinition(std::string_view text, const std::string& fileName) {
  ReportDefinition def;
  def.fileName = fileName;
  const size_t open = text.find("<!--");
  if (open == std::string_view::npos || !trim(text.substr(0, open)).empty())
    throw Error(
        definitionError(fileName, 0, "it does not start with its <!-- report ... --> header"));
  const size_t close = text.find("-->", open);
  if (close == std::string_view::npos)
    throw Error(definitionError(fileName, lineAt(text, open), "the header comment is not closed"));

  HeaderReader header(def);
  int line = lineAt(text, open);
  std::stringstream lines{std::string(text.substr(open + 4, close - open - 4))};
  std::string l;
  bool sawReport = false;
  bool first = true;
  while (std::getline(lines, l)) {
    std::string t = trim(l);
    // "<!-- report" opens the header; the word is a marker, not a setting.
    if (first && equalsNoCase(t, "report")) t.clear();
    first = false;
    if (!t.empty() && t[0] != '#') {
      const auto colon = t.find(':');
      if (colon == std::string::npos)
        throw Error(
            definitionError(fileName, line, "expected \"setting: value\", got \"" + t + "\""));
      const std::string key = trim(t.substr(0, colon));
      sawReport |= equalsNoCase(key, "report");
      header.read(line, key, trim(t.substr(colon + 1)));
    }
    ++line;
  }
  if (!sawReport)
    throw Error(
        definitionError(fileName, lineAt(text, open), "the header has no \"report:\" title"));
  if (def.rowsTable.text.empty())
    throw Error(definitionError(fileName, lineAt(text, open), "the header has no \"rows:\" table"));

  // Sections: <!-- section NAME --> up to the next marker.
  size_t pos = close + 3;
  std::string current;
  int currentLine = 0;
  size_t start = 0;
  auto finish = [&](size_t end) {
    if (!current.empty())
      def.sections[current] = {currentLine, std::string(text.substr(start, end - start))};
  };
  while (true) {
    const size_t mark = text.find("<!--", pos);
    if (mark == std::string_view::npos) break;
    const size_t markEnd = text.find("-->", mark);
    if (markEnd == std::string_view::npos)
      throw Error(definitionError(fileName, lineAt(text, mark), "a comment is not closed"));
    const auto w = words(std::string(text.substr(mark + 4, markEnd - mark - 4)));
    if (!w.empty() && toLower(w[0]) == "section") {
      if (w.size() != 2)
        throw Error(definitionError(fileName, lineAt(text, mark), "write <!-- section NAME -->"));
      const std::string name = toLower(w[1]);
      if (std::find(std::begin(kSections), std::end(kSections), name) == std::end(kSections))
        throw Error(
            definitionError(fileName, lineAt(text, mark), "unknown section \"" + w[1] + "\""));
      if (def.sections.count(name) || name == current)
        throw Error(definitionError(fileName, lineAt(text, mark),
                                    "section \"" + name + "\" appears twice"));
      finish(mark);
      current = name;
      currentLine = lineAt(text, markEnd);
      start = markEnd + 3;
    } else if (current.empty() && !trim(text.substr(pos, mark - pos)).empty()) {
      throw Error(definitionError(fileName, lineAt(text, pos), "text before the first section"));
    }
    pos = markEnd + 3;
  }
  if (current.empty() && !trim(text.substr(pos)).empty())
    throw Error(definitionError(fileName, lineAt(text, pos), "text before the first section"));
  finish(text.size());

  if (def.labels && !def.section("label"))
    throw Error(definitionError(fileName, 0, "a labels report needs a \"label\" section"));
  if (!def.labels && !def.section("row"))
    throw Error(definitionError(fileName, 0, "the report has no \"row\" section"));
  return def;
}

}  // namespace corvanta::reports
