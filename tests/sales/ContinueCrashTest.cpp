// "Continue" killed at random points: a child process sells lines through the real windows
// and is killed with SIGKILL; the next start of the application finishes a line whose stock
// change was cut short, tells the person once, and the stock again equals what the stored
// lines imply.  CORVANTA_CRASH_RUNS sets the number of kills (a few here, hundreds by hand).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "data/engine/Table.h"
#include "data/engine/TableFile.h"
#include "data/modules/DataModules.h"
#include "sales/ChoosePriceForm.h"
#include "sales/SalesEntryForm.h"
#include "support/TestSupport.h"

namespace corvanta::test {
namespace {

constexpr double kInStock = 1000000;

// The stock of A100 against what the stored lines of A100 sold: "" when they agree.
std::string stockAgainstLines(const Engine& engine) {
  double sold = 0;
  const TableDef& s = *findTableDef("NewSales");
  TableFile sales(s, engine.tableFile(s.alias, s), true);
  sales.scan(s.indexes.front(), [&](const Row& r) {
    if (r.values[1] == Value{std::string("A100")}) sold += std::get<double>(r.values[2]);
    return true;
  });
  const TableDef& k = *findTableDef("stock");
  TableFile stock(k, engine.tableFile(k.alias, k), true);
  const double left = std::get<double>(stock.first(k.indexes.front())->values[3]);
  if (left == kInStock - sold) return "";
  return std::to_string(left) + " in stock after " + std::to_string(sold) + " sold";
}

// Orders with lines and no billing record: "" when every order is billed.
std::string billingOfOpenOrders(const Engine& engine) {
  std::set<double> orders;
  const TableDef& s = *findTableDef("NewSales");
  TableFile sales(s, engine.tableFile(s.alias, s), true);
  sales.scan(s.indexes.front(), [&](const Row& r) {
    orders.insert(std::get<double>(r.values[static_cast<size_t>(s.fieldIndex("OrderNumber"))]));
    return true;
  });
  const TableDef& b = *findTableDef("BillingShipping");
  TableFile billing(b, engine.tableFile(b.alias, b), true);
  std::string missing;
  for (double order : orders)
    if (order != 5 && !billing.findEqual(b.indexes.front(), Value{order}))
      missing += std::to_string(order) + " ";
  return missing;
}

TEST(ContinueCrash, EveryLineIsWholeAfterTheNextStart) {
  const char* runsText = std::getenv("CORVANTA_CRASH_RUNS");
  const int kills = runsText ? std::atoi(runsText) : 6;
  TempDir dir;
  {
    ShopRun seed(dir.path());
    ASSERT_TRUE(seed.app.start());
    Globals& g = seed.app.g;
    fill(g.DataModule2->InventoryTable1,
         {{"PartNumber", "A100"}, {"Price", "12.5"}, {"Quantity", "1000000"}});
    fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"}});
    fill(g.SalesDataModule->SalesTable, {{"OrderNumber", "5"}});
  }
  std::mt19937 random(4711);
  std::int64_t acknowledged = 0, finished = 0;
  for (int kill = 0; kill < kills; ++kill) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      ::close(fds[0]);
      ShopRun run(dir.path());
      if (!run.app.start()) ::_exit(2);
      Globals& g = run.app.g;
      startOrderFor(g, run.dialogs, "1");
      g.DataModule2->InventoryTable1.findKey("A100");
      for (int i = 0;; ++i) {
        g.SalesEntryForm->QuantityToOrderEdit.typeText(std::to_string(1 + i % 3));
        g.SalesEntryForm->cmdAddtoOrder.click();
        g.ChoosePriceForm->cmdContinue.click();
        if (run.dialogs.hasUnread()) ::_exit(3);
        const char ack = 1;
        if (::write(fds[1], &ack, 1) != 1) ::_exit(1);
      }
    }
    ::close(fds[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(40 + random() % 160));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: " << WEXITSTATUS(status);
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) acknowledged += n;
    ::close(fds[0]);

    ShopRun next(dir.path());
    ASSERT_TRUE(next.app.start());
    // A line cut short is finished; the order it belongs to, left open, is billed.
    for (const auto& m : next.dialogs.takeMessages()) {
      if (m.find("The command \"Continue\"") == 0)
        ++finished;
      else
        EXPECT_EQ(m.find("The command \"Sales Entry\""), 0u) << m;
    }
    EXPECT_EQ(billingOfOpenOrders(next.engine), "") << "after kill " << kill + 1;
    EXPECT_EQ(stockAgainstLines(next.engine), "") << "after kill " << kill + 1;
  }
  std::printf("Continue crash harness: %d kills, %lld lines acknowledged, %lld finished at start\n",
              kills, static_cast<long long>(acknowledged), static_cast<long long>(finished));
}

}  // namespace
}  // namespace corvanta::test
