#pragma once
// A report definition file as written: the settings of its header comment and its sections.
// share/reports/README.md describes the format; this is only its parse, with no table
// access.  Checking names against the tables is the report job's business.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvanta::reports {

// A setting's text and where it stands, so that later checks can name the line.
struct Setting {
  int line = 0;
  std::string text;
};

struct LookupSetting {
  int line = 0;
  std::string name;   // how sections refer to it: order.GrandTotal
  std::string table;  // "BillingShipping", "clients.DB"
  std::string field;  // key field; empty with `first`
  std::string key;    // expression giving the key
};

// Mailing-label sheets: every length in points from the paper's top left corner.
struct LabelSheet {
  int columns = 3, rows = 10;
  double width = 0, height = 0;   // one label
  double left = 0, top = 0;       // the first label's corner
  double pitchX = 0, pitchY = 0;  // from one label's corner to the next
  double padding = 0;             // inside each label
};

struct Section {
  int line = 0;
  std::string text;
};

struct ReportDefinition {
  std::string fileName;  // as messages name it
  std::string title;
  std::map<std::string, std::string> filterTitles;  // by filter name, lower case
  std::string pageSize = "letter";
  bool landscape = false;
  double margins[4] = {36, 36, 36, 36};  // top, right, bottom, left, in points
  double fontSize = 10;
  std::string fontFamily = "sans-serif";
  Setting rowsTable;
  Setting rowsIndex;  // empty text: chosen by the job
  std::vector<Setting> where;
  std::map<std::string, std::vector<Setting>> filters;  // by filter name, lower case
  std::vector<LookupSetting> lookups;
  std::optional<Setting> group;
  std::optional<LabelSheet> labels;
  bool stripes = false;
  std::map<std::string, Section> sections;

  const Section* section(const std::string& name) const {
    auto it = sections.find(name);
    return it == sections.end() ? nullptr : &it->second;
  }
};

// Parses a definition.  Throws Error "Report definition "FILE", line N: ..." for anything it
// cannot read (unknown setting, bad length, unknown section, no rows table).
ReportDefinition parseDefinition(std::string_view text, const std::string& fileName);

// "0.5in", "12.7mm", "36pt", "1cm", "0" -> points; nullopt when it is no length.
std::optional<double> parseLength(std::string_view text);

// The text of an error about a definition, naming the file (and the line, when known).
std::string definitionError(const std::string& fileName, int line, const std::string& what);

}  // namespace corvanta::reports
