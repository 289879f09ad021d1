#pragma once
// Where a run of the program takes today's date from, and how it writes dates.
//
// Each run carries its own calendar (the program's from the machine's clock and the system's
// short date format, a scenario's or a test's fixed), handed to the application object and
// the report runtime.  Nothing in the process is set for everyone, so two shops in one test
// process can live on different days.
#include <functional>
#include <string>

namespace corvanta {

struct CivilDate {
  int year = 0, month = 0, day = 0;
};

// The machine's local date.
CivilDate localToday();

struct Calendar {
  // The format used when a run names none: letters d, dd, M, MM, yy, yyyy.
  static constexpr const char* kDefaultShortDateFormat = "M/d/yy";

  std::function<CivilDate()> today = localToday;
  std::string shortDateFormat = kDefaultShortDateFormat;

  // A calendar that always says `date`.
  static Calendar fixed(CivilDate date, std::string shortDateFormat = kDefaultShortDateFormat);

  // Today in the short date format, cut to 10 characters (the width of every date field).
  std::string writeDate() const;
};

}  // namespace corvanta
