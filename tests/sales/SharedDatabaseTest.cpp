// Two workstations on one database server, each a process of its own running the real
// windows at the same moment: every order gets a number of its own, the item both tills sell
// ends with its stock lowered by both, and every order's billing record holds the totals of
// its own lines.  A local data directory has one workstation: these run on the server only.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>

#include "data/engine/Table.h"
#include "data/engine/TableStore.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryForm.h"
#include "sales/ChoosePriceForm.h"
#include "sales/SalesEntryForm.h"
#include "sales/SetFirstOrderNumberForm.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"
#include "ui/Error.h"

namespace corvanta::test {
namespace {

constexpr double kInStock = 100000;
constexpr int kOrdersPerTill = 15;

struct Workstation {
  explicit Workstation(const std::filesystem::path& dir)
      : engine(testEngineConfig(dir)), app(engine, Platform{dialogs, help, reports, {}, {}}) {}
  ~Workstation() { app.shutdown(); }
  Engine engine;
  QueuedDialogs dialogs;
  RecordingHelp help;
  RecordingReports reports;
  CorvantaApp app;
};

class SharedDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!onDatabaseServer()) GTEST_SKIP() << "a local data directory has one workstation";
    if (const std::string why = backendUnavailable(); !why.empty()) GTEST_SKIP() << why;
    Workstation seed(dir.path());
    ASSERT_TRUE(seed.app.start()) << seed.dialogs.unreadErrors().front();
    Globals& g = seed.app.g;
    fill(g.DataModule2->InventoryTable1,
         {{"PartNumber", "A100"}, {"Price", "12.5"}, {"Quantity", "100000"}});
    fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"}});
    // An earlier order, so that no till is asked for the first order number.
    fill(g.SalesDataModule->SalesTable, {{"OrderNumber", "1000"}});
  }

  // A till: once the parent writes to `go`, sells kOrdersPerTill orders of one line of A100
  // (`quantity` each), ending each one, and writes each order's number to `out`, one a line.
  // Exits 0 when every command went through without an error box.
  pid_t till(int go, int out, int quantity) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    int code = 0;
    try {
      Workstation ws(dir.path());
      if (!ws.app.start()) ::_exit(2);
      Globals& g = ws.app.g;
      char c;
      if (::read(go, &c, 1) != 1) ::_exit(4);
      for (int i = 0; i < kOrdersPerTill && code == 0; ++i) {
        startOrderFor(g, ws.dialogs, "1");
        const std::string number = g.SalesEntryForm->OrderNumberDBEdit.text() + "\n";
        g.DataModule2->InventoryTable1.findKey("A100");
        g.SalesEntryForm->QuantityToOrderEdit.typeText(std::to_string(quantity));
        g.SalesEntryForm->cmdAddtoOrder.click();
        g.ChoosePriceForm->cmdContinue.click();
        g.SalesEntryForm->cmdEndofOrderWOPrint.click();
        if (ws.dialogs.hasUnread()) {
          for (const auto& e : ws.dialogs.unreadErrors())
            std::fprintf(stderr, "till: %s\n", e.c_str());
          for (const auto& m : ws.dialogs.unreadMessages())
            std::fprintf(stderr, "till: %s\n", m.c_str());
          code = 3;
        }
        if (::write(out, number.data(), number.size()) != static_cast<ssize_t>(number.size()))
          code = 1;
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "till: %s\n", e.what());
      code = 1;
    }
    ::_exit(code);  // no destructors of the parent's objects
  }

  static int exitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  static std::vector<std::string> linesOf(int fd) {
    std::string all;
    char buf[512];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) all.append(buf, static_cast<size_t>(n));
    std::vector<std::string> out;
    for (size_t at = 0, nl; (nl = all.find('\n', at)) != std::string::npos; at = nl + 1)
      out.push_back(all.substr(at, nl - at));
    return out;
  }

  TempDir dir;
};

TEST_F(SharedDatabaseTest, TwoTillsSellingAtOnceKeepOrderNumbersStockAndTotalsRight) {
  int go[2], outA[2], outB[2];
  ASSERT_EQ(::pipe(go), 0);
  ASSERT_EQ(::pipe(outA), 0);
  ASSERT_EQ(::pipe(outB), 0);
  const pid_t a = till(go[0], outA[1], 2);
  const pid_t b = till(go[0], outB[1], 3);
  ::close(outA[1]);
  ::close(outB[1]);
  ASSERT_EQ(::write(go[1], "gg", 2), 2);  // both start at once
  const auto numbersA = linesOf(outA[0]);
  const auto numbersB = linesOf(outB[0]);
  EXPECT_EQ(exitCode(a), 0);
  EXPECT_EQ(exitCode(b), 0);
  ASSERT_EQ(numbersA.size(), static_cast<size_t>(kOrdersPerTill));
  ASSERT_EQ(numbersB.size(), static_cast<size_t>(kOrdersPerTill));
  std::set<std::string> all(numbersA.begin(), numbersA.end());
  all.insert(numbersB.begin(), numbersB.end());
  EXPECT_EQ(all.size(), 2u * kOrdersPerTill) << "an order number was given twice";

  // What the tables hold, read through the office's own workstation.
  Workstation office(dir.path());
  ASSERT_TRUE(office.app.start());
  Globals& g = office.app.g;
  Table& stock = g.DataModule2->InventoryTable1;
  ASSERT_TRUE(stock.findKey("A100"));
  EXPECT_EQ(stock.fieldByName("Quantity").asFloat(), kInStock - kOrdersPerTill * (2 + 3));
  // Every order's billing record holds its own line: 12.5 a piece, one till 2, the other 3.
  std::map<std::string, double> billed;
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  for (billing.first(); !billing.isEmpty(); billing.next()) {
    billed[billing.fieldByName("OrderNumber").displayText()] =
        billing.fieldByName("GrandTotal").asFloat() - billing.fieldByName("TotalTax").asFloat();
    if (billing.eof()) break;
  }
  for (const auto& n : numbersA) EXPECT_NEAR(billed[n], 25.0, 1e-6) << "order " << n;
  for (const auto& n : numbersB) EXPECT_NEAR(billed[n], 37.5, 1e-6) << "order " << n;
}

// A shop without orders: two workstations asked for the first order number at the same time
// both type 500.  The first to confirm gets it; the other is told and is given 501.
TEST_F(SharedDatabaseTest, TwoFirstOrdersTypedWithTheSameNumberAreNumberedApart) {
  auto startFirstOrder = [](Workstation& ws) {
    Globals& g = ws.app.g;
    startOrderFor(g, ws.dialogs, "1");
    g.SetFirstOrderNumberForm->Edit1.typeText("500");
    g.SetFirstOrderNumberForm->cmdOK.click();
    std::string seen = g.SalesEntryForm->OrderNumberDBEdit.text();
    for (const auto& m : ws.dialogs.takeMessages()) seen += " / " + m;
    return seen;
  };
  Workstation first(dir.path());
  ASSERT_TRUE(first.app.start());
  Table& sales = first.app.g.SalesDataModule->SalesTable;
  sales.first();
  sales.remove();  // the earlier order of the set-up
  ASSERT_EQ(startFirstOrder(first), "500");

  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t other = ::fork();
  if (other == 0) {
    std::string seen = "no start";
    try {
      Workstation ws(dir.path());
      if (ws.app.start()) seen = startFirstOrder(ws);
    } catch (const std::exception& e) {
      seen = e.what();
    }
    seen += "\n";
    ::_exit(::write(out[1], seen.data(), seen.size()) == static_cast<ssize_t>(seen.size()) ? 0 : 1);
  }
  ::close(out[1]);
  const auto seen = linesOf(out[0]);
  EXPECT_EQ(exitCode(other), 0);
  EXPECT_EQ(seen, std::vector<std::string>{
                      "501 / Order number 500 was given to an order at another workstation; "
                      "this order is number 501."});
}

// The office changes an item's description while the till is editing the same item in the
// inventory window: Save Item is refused with a message saying so and the typing stays;
// Refresh shows the office's description with the rest of the typing, and Save Item then
// stores it.
TEST_F(SharedDatabaseTest, AnEditOfAnItemChangedAtAnotherWorkstationIsRefusedKeepingTheTyping) {
  Workstation till(dir.path());
  ASSERT_TRUE(till.app.start());
  Table& stock = till.app.g.DataModule2->InventoryTable1;
  TInventoryForm& window = *till.app.g.InventoryForm;
  window.show();
  ASSERT_TRUE(stock.findKey("A100"));
  window.cmdEditItem.click();
  window.EditDescription.typeText("hex bolt");
  window.EditPrice.typeText("13");

  const pid_t office = ::fork();
  if (office == 0) {
    int code = 1;
    try {
      Workstation ws(dir.path());
      if (ws.app.start()) {
        Table& t = ws.app.g.DataModule2->InventoryTable1;
        if (t.findKey("A100")) {
          t.edit();
          t.fieldByName("Description").setText("carriage bolt");
          t.post();
          code = 0;
        }
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "office: %s\n", e.what());
    }
    ::_exit(code);
  }
  ASSERT_EQ(exitCode(office), 0);

  window.cmdSaveItem.click();
  EXPECT_EQ(till.dialogs.takeError(), TableStore::changedElsewhereMessage());
  EXPECT_EQ(stock.state(), TableState::Edit);
  EXPECT_EQ(window.EditDescription.text(), "hex bolt");
  window.DBNavigator.click(NavButton::Refresh);
  EXPECT_EQ(window.EditDescription.text(), "carriage bolt");
  EXPECT_EQ(window.EditPrice.text(), "13.00");
  window.cmdSaveItem.click();
  EXPECT_EQ(stock.state(), TableState::Browse);
  const auto stored = stock.file().byRowid(stock.currentRowid());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->values[stock.fieldByName("Description").index()], Value("carriage bolt"));
  EXPECT_EQ(stored->values[stock.fieldByName("Price").index()], Value(13.0));
}

}  // namespace
}  // namespace corvanta::test
