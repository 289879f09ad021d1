#pragma once
// What the billing and shipping windows share about the billing record on show: the shared
// table, the stored record behind the cursor, and printing one order's form for it.
#include <map>
#include <optional>
#include <string>

namespace corvanta {

class Application;
class ReportComponent;
class Table;

// ShippingBillingDataModule.ShippingBillingTable.  Before the data module exists (during
// start-up) a command meets a closed dataset.
Table& billingTable(Application& app);

// A command that works on the record on show needs one: an empty table has none (entering
// edit state there would start a new, nameless record).
void requireBillingRecord(Table& billing);

// The stored value of a field of the record on show, as a bound control shows it; nothing
// while no stored record is on show (empty table, a new record not posted yet).  Typing that
// is still pending does not count: this is what the files hold.
std::optional<std::string> storedText(Table& billing, const std::string& fieldName);

// Runs `report` for the order on show, told its OrderNumber and CustNum as stored.  With no
// stored record on show a message says so and nothing is printed.
void printOrderOnShow(Application& app, ReportComponent& report);

// The message printing gives when there is no order to print.
inline constexpr const char* kNoOrderToPrint =
    "There is no order on show to print. Find the order first.";

}  // namespace corvanta
