// Dates as text, and the run's calendar.
//
// The short date format is deliberately not taken from the C library locale: printed forms
// and stored texts must look the same on every machine unless the run's calendar says
// otherwise (the program passes the system's format, scenarios their own).
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

#include "data/numbers/Calendar.h"
#include "data/numbers/Numbers.h"

namespace corvanta {

namespace {

constexpr std::size_t kMaxDateLength = 10;

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

CivilDate localToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

Calendar Calendar::fixed(CivilDate date, std::string shortDateFormat) {
  Calendar c;
  c.today = [date] { return date; };
  c.shortDateFormat = std::move(shortDateFormat);
  return c;
}

std::string Calendar::writeDate() const {
  const CivilDate d = today ? today() : localToday();
  std::string text = formatDate(
      d.year, d.month, d.day, shortDateFormat.empty() ? kDefaultShortDateFormat : shortDateFormat);
  if (text.size() > kMaxDateLength) text.resize(kMaxDateLength);
  return text;
}

}  // namespace corvanta
