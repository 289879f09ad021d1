#include "reports/ReportText.h"

#include <cctype>
#include <vector>

#include "data/numbers/Numbers.h"

namespace corvanta::reports {

std::string formatMoney(double v) {
  std::string s = formatFixed2(v);  // the screen's rounding, so paper and window agree
  const bool negative = !s.empty() && s[0] == '-';
  std::string digits = s.substr(negative ? 1 : 0);
  const auto point = digits.find('.');
  std::string whole = digits.substr(0, point), rest = digits.substr(point);
  if (whole.find_first_not_of("0123456789") != std::string::npos) return s;  // "INF" and such
  std::string grouped;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
    grouped += whole[i];
  }
  return (negative ? "-" : "") + grouped + rest;
}

std::string maskCardNumber(std::string_view number) {
  int alnum = 0;
  for (unsigned char c : number) alnum += std::isalnum(c) ? 1 : 0;
  std::string out;
  int seen = 0;
  for (unsigned char c : number) {
    if (std::isalnum(c)) {
      ++seen;
      out += seen > alnum - 4 ? static_cast<char>(c) : '*';
    } else if (c == ' ' || c == '-') {
      out += static_cast<char>(c);
    } else {
      out += '*';  // anything else could carry digits in disguise
    }
  }
  return out;
}

namespace {

std::vector<int> numbersIn(std::string_view text) {
  std::vector<int> out;
  int cur = -1;
  for (unsigned char c : text) {
    if (std::isdigit(c)) {
      cur = (cur < 0 ? 0 : cur) * 10 + (c - '0');
      if (cur > 99999) return {};
    } else {
      if (cur >= 0) out.push_back(cur);
      cur = -1;
    }
  }
  if (cur >= 0) out.push_back(cur);
  return out;
}

}  // namespace

std::optional<double> dateNumber(std::string_view text, std::string_view format) {
  const std::vector<int> n = numbersIn(text);
  if (n.size() != 3) return std::nullopt;
  int y = 0, m = 0, d = 0;
  const bool iso = text.find('-') != std::string_view::npos && n[0] > 31;
  if (iso) {
    y = n[0], m = n[1], d = n[2];
  } else {
    // The order of the fields is the order of d, M and y in the short date format.
    std::string order;
    for (char c : format) {
      char k = c == 'd' ? 'd' : c == 'M' ? 'M' : (c == 'y' ? 'y' : 0);
      if (k && order.find(k) == std::string::npos) order += k;
    }
    if (order.size() != 3) order = "Mdy";
    for (size_t i = 0; i < 3; ++i) (order[i] == 'd' ? d : order[i] == 'M' ? m : y) = n[i];
    if (y < 100) y += y < 50 ? 2000 : 1900;
  }
  if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  return y * 10000.0 + m * 100.0 + d;
}

std::string htmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool isCardNumberField(std::string_view fieldName) {
  std::string squeezed;
  for (unsigned char c : fieldName)
    if (std::isalnum(c)) squeezed += static_cast<char>(std::tolower(c));
  return squeezed == "creditcardnumber";
}

}  // namespace corvanta::reports
