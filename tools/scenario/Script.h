#pragma once
// A scenario script read into lines: one action, set-up step or expectation each.
#include <filesystem>
#include <string>
#include <vector>

#include "Json.h"

namespace corvanta::scenario {

struct Line {
  int number = 0;
  std::string verb;     // "click", "expect-row", ...
  std::string target;   // Form.Control, Form, TABLE or NAME
  std::string text;     // TEXT argument
  long long count = 0;  // N
  JsonObject object, object2;
  bool hasObject = false;
  std::string source;  // the line as written
};

struct ParseError {
  int line;
  std::string reason;
};

// Reads a file; blank lines and "#" comments are skipped.  Throws ParseError on the first
// line that cannot be parsed (an unknown verb, a missing or malformed argument, JSON that
// does not parse), and ParseError with line 0 when the file cannot be read.  Nothing about
// windows, controls or tables is checked here: names are looked up when the line runs.
std::vector<Line> readScript(const std::filesystem::path& file);
// One line, numbered `number`.  Requires a line that is not blank and not a comment; throws
// ParseError (with that number) as readScript does.
Line parseLine(const std::string& source, int number);

bool isSetupVerb(const std::string& verb);   // must come before the application starts
bool isActionVerb(const std::string& verb);  // a person's action

}  // namespace corvanta::scenario
