#include "base/Text.h"

namespace corvanta {

namespace {
constexpr std::string_view kBlanks = " \t\r\n\v\f";
}

std::string trim(std::string_view text) {
  const auto b = text.find_first_not_of(kBlanks);
  if (b == std::string_view::npos) return {};
  const auto e = text.find_last_not_of(kBlanks);
  return std::string(text.substr(b, e - b + 1));
}

std::string toLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace corvanta
