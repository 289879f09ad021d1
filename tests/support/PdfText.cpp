#include "support/PdfText.h"

#include <array>
#include <cstdio>
#include <memory>
#include <regex>
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

std::vector<PdfWord> pdfWords(const std::filesystem::path& pdf) {
  const std::string xml = capture("pdftotext -bbox '" + pdf.string() + "' - 2>/dev/null");
  static const std::regex word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  std::vector<PdfWord> words;
  int page = 0;
  for (size_t at = xml.find("<page"), next; at != std::string::npos; at = next) {
    ++page;
    next = xml.find("<page", at + 1);
    const std::string body = xml.substr(at, next == std::string::npos ? next : next - at);
    for (auto it = std::sregex_iterator(body.begin(), body.end(), word);
         it != std::sregex_iterator(); ++it) {
      const auto& m = *it;
      words.push_back({page, m[5].str(), std::stod(m[1].str()), std::stod(m[2].str()),
                       std::stod(m[3].str()), std::stod(m[4].str())});
    }
  }
  return words;
}

}  // namespace corvanta::test
