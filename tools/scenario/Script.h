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

// Reads a file; throws ParseError on the first line that cannot be parsed (line 0: the file
// cannot be read).
std::vector<Line> readScript(const std::filesystem::path& file);
Line parseLine(const std::string& source, int number);

bool isSetupVerb(const std::string& verb);   // must come before the application starts
bool isActionVerb(const std::string& verb);  // a person's action

}  // namespace corvanta::scenario
