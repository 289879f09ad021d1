#include "support/PdfText.h"

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace corvanta::test {

namespace {

std::string capture(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::array<char, 4096> buf;
  while (size_t n = std::fread(buf.data(), 1, buf.size(), pipe.get())) out.append(buf.data(), n);
  return out;
}

}  // namespace

std::string pdfText(const std::filesystem::path& pdf, int first, int last) {
  std::string cmd = "pdftotext -layout -f " + std::to_string(first);
  if (last > 0) cmd += " -l " + std::to_string(last);
  return capture(cmd + " '" + pdf.string() + "' - 2>/dev/null");
}

int pdfPages(const std::filesystem::path& pdf) {
  const std::string info = capture("pdfinfo '" + pdf.string() + "' 2>/dev/null");
  const auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

}  // namespace corvanta::test
