// corvanta-scenario [--keep] FILE...
// Runs scenario scripts headless, each on a fresh data directory of its own.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Runner.h"
#include "Script.h"

namespace fs = std::filesystem;
using namespace corvanta::scenario;

namespace {

fs::path makeDataDirectory() {
  std::string tmpl = (fs::temp_directory_path() / "corvanta-scenario-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a data directory");
  return tmpl;
}

}  // namespace

int main(int argc, char** argv) {
  bool keep = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--keep")
      keep = true;
    else if (a == "--help" || a == "-h") {
      std::cout << "usage: corvanta-scenario [--keep] FILE...\n";
      return 0;
    } else
      files.push_back(a);
  }
  if (files.empty()) {
    std::cerr << "usage: corvanta-scenario [--keep] FILE...\n";
    return 2;
  }
  int passed = 0, failed = 0;
  bool unreadable = false;
  for (const std::string& file : files) {
    std::vector<Line> lines;
    try {
      lines = readScript(file);
    } catch (const ParseError& e) {
      if (e.line == 0)
        std::cerr << file << ": " << e.reason << "\n";
      else
        std::cerr << file << ":" << e.line << ": cannot parse: " << e.reason << "\n";
      unreadable = true;
      ++failed;
      continue;
    }
    fs::path dir = makeDataDirectory();
    std::optional<Failure> failure;
    {
      Runner runner(dir, std::move(lines));
      failure = runner.run();
    }
    if (failure) {
      std::cout << file << ":" << failure->line << ": " << failure->message << "\n";
      ++failed;
    } else {
      ++passed;
    }
    if (keep) {
      std::cout << file << ": data directory " << dir.string() << "\n";
    } else {
      std::error_code ec;
      fs::remove_all(dir, ec);
    }
  }
  std::cout << passed << " passed, " << failed << " failed\n";
  if (unreadable) return 2;
  return failed ? 1 : 0;
}
