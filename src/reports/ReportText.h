#pragma once
// Text forms used on printed pages: money with thousands separators, masked card numbers,
// stored short-date texts read back as dates, and HTML escaping of values.
#include <optional>
#include <string>
#include <string_view>

namespace corvanta::reports {

// "1,234.50", "-0.75": cents as the screen shows them ("0.00" display format), grouped.
std::string formatMoney(double v);

// Every letter and digit but the last four becomes '*'; blanks and dashes stay where they
// are: "4111 1111 1111 1234" -> "**** **** **** 1234".  Printed card numbers never show more.
std::string maskCardNumber(std::string_view number);

// A stored date text ("3/7/24" in the short date format, or "2024-03-07") as the number
// 20240307, so that dates compare in order; nullopt when it is no date.  Two-digit years
// below 50 are 20xx, others 19xx.
std::optional<double> dateNumber(std::string_view text, std::string_view shortDateFormat);

std::string htmlEscape(std::string_view text);

// Whether a field holds a card number (whatever the table calls it).
bool isCardNumberField(std::string_view fieldName);

}  // namespace corvanta::reports
