// Today's date as text.
//
// The short date format is deliberately not taken from the C library locale: printed forms
// and stored texts must look the same on every machine unless someone asks otherwise, either
// through CORVANTA_SHORT_DATE_FORMAT or, in tests and scenarios, setShortDateFormat.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

#include "data/numbers/Numbers.h"

namespace corvanta {

namespace {

constexpr std::string_view kDefaultShortDateFormat = "M/d/yy";
constexpr std::size_t kMaxDateLength = 10;

// Overrides for tests and scenarios; empty / year 0 mean "not overridden".
std::string g_formatOverride;
int g_todayYear = 0;
int g_todayMonth = 0;
int g_todayDay = 0;

void appendNumber(std::string& out, int value, int minWidth) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "%0*d", minWidth, value);
  if (n > 0) out.append(buf, static_cast<std::size_t>(n));
}

bool startsWith(std::string_view text, std::size_t i, std::string_view word) {
  return text.substr(i, word.size()) == word;
}

}  // namespace

std::string formatDate(int year, int month, int day, std::string_view format) {
  std::string out;
  std::size_t i = 0;
  while (i < format.size()) {
    // Longest pattern first, so "dd" is one two-digit day rather than two one-digit days.
    if (startsWith(format, i, "yyyy")) {
      appendNumber(out, year, 4);
      i += 4;
    } else if (startsWith(format, i, "yy")) {
      appendNumber(out, ((year % 100) + 100) % 100, 2);
      i += 2;
    } else if (startsWith(format, i, "MM")) {
      appendNumber(out, month, 2);
      i += 2;
    } else if (startsWith(format, i, "M")) {
      appendNumber(out, month, 1);
      i += 1;
    } else if (startsWith(format, i, "dd")) {
      appendNumber(out, day, 2);
      i += 2;
    } else if (startsWith(format, i, "d")) {
      appendNumber(out, day, 1);
      i += 1;
    } else {
      out += format[i++];
    }
  }
  return out;
}

void setShortDateFormat(std::string format) {
  g_formatOverride = std::move(format);
}

std::string shortDateFormat() {
  if (!g_formatOverride.empty()) return g_formatOverride;
  if (const char* env = std::getenv("CORVANTA_SHORT_DATE_FORMAT"); env != nullptr && *env) {
    return env;
  }
  return std::string(kDefaultShortDateFormat);
}

void setToday(int year, int month, int day) {
  g_todayYear = year;
  g_todayMonth = year == 0 ? 0 : month;
  g_todayDay = year == 0 ? 0 : day;
}

void clearToday() {
  setToday(0, 0, 0);
}

std::string writeDate() {
  int year = g_todayYear;
  int month = g_todayMonth;
  int day = g_todayDay;
  if (year == 0) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    year = local.tm_year + 1900;
    month = local.tm_mon + 1;
    day = local.tm_mday;
  }
  std::string text = formatDate(year, month, day, shortDateFormat());
  if (text.size() > kMaxDateLength) text.resize(kMaxDateLength);
  return text;
}

}  // namespace corvanta
