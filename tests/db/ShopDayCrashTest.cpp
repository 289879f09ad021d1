// A shop's day killed at random points.  A child process runs a scripted day through the
// real windows (sales of one to three lines ended by each of the three ends or left with
// "Exit w/o Entering an Order", quantity corrections both ways, price changes, deleted
// lines and shipping entries) and is killed with SIGKILL after a random time.  After each
// kill the next start finishes or undoes the command in flight, and then the deep check and
// the audit find nothing, every acknowledged command is there whole, and every product's
// stock equals what the stored lines imply.  On a database server two workstations sell the
// same items at once, and only one of them is killed: a start while the other goes on
// selling finishes the killed one's command in flight, and leaves the other's alone.
// CORVANTA_CRASH_RUNS sets the number of kills (a few in CI, hundreds by hand); the figures
// are printed at the end.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "DbToolTestUtil.h"
#include "app/MainForm.h"
#include "billing/ShippingForm.h"
#include "billing/ShippingInformationForm.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "orders/ChangePriceForm.h"
#include "orders/SearchEditOrderForm.h"
#include "sales/ChoosePriceForm.h"
#include "sales/SalesEntryForm.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

namespace corvanta::test {
namespace {

constexpr double kInStock = 1000000;
const char* const kParts[] = {"A100", "B200", "C300"};

// The child's day.  Before each command it writes "begin WHAT ORDER", after it "done": the
// parent then knows which commands were acknowledged and which one was in flight.  A day
// given a `stop` descriptor ends (exit status 0) when the parent writes to it, between two
// sales, with nothing in flight.
class Day {
 public:
  Day(ShopRun& run, int ack, unsigned seed, int stop = -1)
      : run_(run), g_(run.app.g), ack_(ack), stop_(stop), random_(seed) {}

  [[noreturn]] void run() {
    for (;;) {
      pollfd p{stop_, POLLIN, 0};
      if (stop_ >= 0 && ::poll(&p, 1, 0) > 0) ::_exit(0);
      sale();
      if (lastOrder_.empty()) continue;
      switch (random_() % 4) {
        case 0:
          correct();
          break;
        case 1:
          ship();
          break;
        default:
          break;
      }
    }
  }

 private:
  void begin(const std::string& what, const std::string& order) { say(what + " " + order); }
  void done() {
    if (!run_.dialogs.unreadErrors().empty()) {
      std::fprintf(stderr, "error box: %s\n", run_.dialogs.takeError().c_str());
      ::_exit(3);
    }
    run_.dialogs.takeMessages();
    say("done");
  }
  void say(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(ack_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) ::_exit(1);
  }

  void sale() {
    startOrderFor(g_, run_.dialogs, "1");
    TSalesEntryForm& entry = *g_.SalesEntryForm;
    const std::string order = entry.OrderNumberDBEdit.text();
    const int lines = 1 + static_cast<int>(random_() % 3);
    for (int i = 0; i < lines; ++i) {
      g_.DataModule2->InventoryTable1.findKey(kParts[random_() % 3]);
      entry.QuantityToOrderEdit.typeText(std::to_string(1 + random_() % 4));
      entry.cmdAddtoOrder.click();
      begin("line", order);
      g_.ChoosePriceForm->cmdContinue.click();
      done();
    }
    Table& sales = g_.SalesDataModule->SalesTable;
    switch (random_() % 5) {
      case 0:
        run_.dialogs.queueConfirmation(true);
        begin("exit", order);
        entry.Button1.click();
        done();
        lastOrder_.clear();
        return;
      case 1:
        begin("end", order);
        entry.cmdEndofOrder.click();
        break;
      case 2:
        begin("end", order);
        entry.cmdEndofOrder2.click();
        break;
      default:
        begin("end", order);
        entry.cmdEndofOrderWOPrint.click();
        break;
    }
    done();
    run_.reports.runs.clear();
    lastOrder_ = order;
    lastLine_ = sales.currentRowid();
    lineCount_ = lines;
  }

  // A correction of the order's last line in the order window: one fewer or one more sold,
  // the first discount price, or (with another line left) the line deleted.
  void correct() {
    g_.CorvantaMainForm->cmdSearchEditOrder.click();
    TSearchEditOrderForm& w = *g_.SearchEditOrderForm;
    if (!g_.SalesDataModule->SalesTable.moveToRowid(lastLine_)) return;
    switch (random_() % 4) {
      case 0:
        run_.dialogs.queueAnswer("1");
        begin("decrease", lastOrder_);
        w.cmdDecreaseQuantitySold.click();
        done();
        break;
      case 1:
        run_.dialogs.queueAnswer("1");
        begin("increase", lastOrder_);
        w.cmdIncreaseQuantitySold.click();
        done();
        break;
      case 2:
        begin("price", lastOrder_);
        w.cmdChangePriceCharged.click();
        g_.ChangePriceForm->optDiscountPrice1.choose();
        g_.ChangePriceForm->cmdOK.click();
        done();
        break;
      default:
        // The last line of an order goes with its billing record only in the billing
        // windows; the day keeps every order billed.
        if (lineCount_ < 2) break;
        run_.dialogs.queueConfirmation(true);
        begin("delete", lastOrder_);
        w.cmdDeleteEntry.click();
        done();
        lastLine_ = 0;
        --lineCount_;
        break;
    }
    w.cmdCancel.click();
  }

  void ship() {
    g_.CorvantaMainForm->cmdShippingDatabaseManager.click();
    if (!g_.ShippingBillingDataModule->ShippingBillingTable.findKey(lastOrder_)) return;
    begin("ship", lastOrder_);
    g_.ShippingForm->cmdEnterShippinginformation.click();
    TShippingInformationForm& info = *g_.ShippingInformationForm;
    info.PackedByDBEdit.typeText("Ann");
    info.ShippingChargeDBEdit.typeText(std::to_string(1 + random_() % 9) + ".50");
    info.cmdOK.click();
    done();
    g_.ShippingForm->cmdClose.click();
  }

  ShopRun& run_;
  Globals& g_;
  int ack_, stop_;
  std::mt19937 random_;
  std::string lastOrder_;
  std::int64_t lastLine_ = 0;
  int lineCount_ = 0;
};

// What the acknowledged commands leave: the lines of each order, and the orders left.
struct Model {
  std::map<std::string, int> lines;
  std::set<std::string> exited;
  std::string inFlight, inFlightOrder;  // the command begun and not acknowledged

  void read(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      if (line == "done") {
        if (inFlight == "line") ++lines[inFlightOrder];
        if (inFlight == "delete") --lines[inFlightOrder];
        if (inFlight == "exit") {
          lines[inFlightOrder] = 0;
          exited.insert(inFlightOrder);
        }
        inFlight.clear();
        continue;
      }
      const auto blank = line.find(' ');
      inFlight = line.substr(0, blank);
      inFlightOrder = line.substr(blank + 1);
    }
  }
};

class ShopDayCrash : public DbToolTest {
 protected:
  // Three items, a customer, the tax rate and a first order of nothing sold, so that the
  // day's sales need no first order number.
  void seedShop() {
    ShopRun seed(dir.path());
    ASSERT_TRUE(seed.app.start());
    Globals& g = seed.app.g;
    Table& stock = g.DataModule2->InventoryTable1;
    for (const char* part : kParts)
      fill(stock, {{"PartNumber", part},
                   {"Price", "12.5"},
                   {"DiscountPrice1", "11.25"},
                   {"Quantity", "1000000"}});
    fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"}});
    Table& tax = g.SalesTaxDataModule->SalesTaxTable;
    tax.edit();
    tax.fieldByName("TaxRate").setText("8");
    tax.post();
    fill(g.SalesDataModule->SalesTable, {{"OrderNumber", "1000"},
                                         {"PartNumber", "A100"},
                                         {"CustNum", "1"},
                                         {"QuantitySold", "0"},
                                         {"Total", "0"},
                                         {"Tax", "0"}});
    fill(g.ShippingBillingDataModule->ShippingBillingTable,
         {{"OrderNumber", "1000"}, {"CustNum", "1"}, {"GrandTotal", "0"}, {"TotalTax", "0"}});
  }

  // The start the test just made settled the command in flight of the day(s) in `days` (an
  // order left open is billed now); what was done is kept.  Checks the shop as the start
  // left it, and has each model go on from what the tables hold for its order in flight.
  void checkShop(const std::vector<Model*>& days, const std::string& context) {
    const auto [status1, out1, err1] = runTool({"check", "--deep"});
    EXPECT_EQ(status1, 0) << out1 << err1;
    const auto [status2, out2, err2] = runTool({"audit"});
    EXPECT_EQ(status2, 0) << context << "\n" << out2 << err2;
    std::string stockReport;
    const auto stored = storedLines(stockReport);
    EXPECT_EQ(stockReport, "") << context;
    std::map<std::string, const Model*> soldBy;
    for (const Model* model : days) {
      for (const auto& [order, n] : model->lines) {
        EXPECT_TRUE(soldBy.emplace(order, model).second || soldBy[order] == model)
            << "order " << order << " was given to two tills";
        const auto it = stored.find(order);
        const int have = it == stored.end() ? 0 : it->second;
        if (order == model->inFlightOrder && !model->inFlight.empty()) {
          // The command in flight was either done or not: one line more or less, or none left.
          EXPECT_TRUE(have == n || have == n + 1 || have == n - 1 || have == 0)
              << "order " << order << ": " << have << " lines, " << n << " acknowledged";
        } else {
          EXPECT_EQ(have, n) << "order " << order << " " << context;
        }
      }
    }
    for (Model* model : days) {
      if (model->inFlight.empty()) continue;
      const auto it = stored.find(model->inFlightOrder);
      model->lines[model->inFlightOrder] = it == stored.end() ? 0 : it->second;
      model->inFlight.clear();
    }
  }

  // A start of the program: what it said it finished goes to `finished` (by command name) and
  // to the context of a failure.
  void startOnce(std::map<std::string, int>& finished, std::string& context) {
    ShopRun next(dir.path());
    ASSERT_TRUE(next.app.start());
    for (const auto& m : next.dialogs.takeMessages()) {
      context += "\nat start: " + m;
      const auto open = m.find("The command \"");
      EXPECT_EQ(open, 0u) << m;
      if (open == 0) ++finished[m.substr(13, m.find('"', 13) - 13)];
    }
  }

  static int kills(int inCi) {
    const char* runsText = std::getenv("CORVANTA_CRASH_RUNS");
    return runsText ? std::atoi(runsText) : inCi;
  }

  // Reads everything a child wrote to its end of a pipe, and closes it.
  static std::string said(int fd) {
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) text.append(buf, buf + n);
    ::close(fd);
    return text;
  }
  static std::int64_t acknowledgedIn(const std::string& text) {
    std::int64_t n = 0;
    for (std::size_t at = 0; (at = text.find("done\n", at)) != std::string::npos; at += 5) ++n;
    return n;
  }

 private:
  // The lines stored per order, and every product's stock against what its lines sold.
  std::map<std::string, int> storedLines(std::string& stockReport) {
    std::map<std::string, int> count;
    std::map<std::string, double> sold;
    const TableDef& s = *findTableDef("NewSales");
    engine->openTable(s.alias, s)->scan(s.indexes.front(), [&](const Row& r) {
      const auto& order = r.values[static_cast<size_t>(s.fieldIndex("OrderNumber"))];
      ++count[formatGeneral15(std::get<double>(order))];
      sold[std::get<std::string>(r.values[static_cast<size_t>(s.fieldIndex("PartNumber"))])] +=
          std::get<double>(r.values[static_cast<size_t>(s.fieldIndex("QuantitySold"))]);
      return true;
    });
    const TableDef& k = *findTableDef("stock");
    engine->openTable(k.alias, k)->scan(k.indexes.front(), [&](const Row& r) {
      const std::string part = std::get<std::string>(r.values[0]);
      const double left = std::get<double>(r.values[static_cast<size_t>(k.fieldIndex("Quantity"))]);
      if (left != kInStock - sold[part])
        stockReport += part + ": " + formatGeneral15(left) + " in stock after " +
                       formatGeneral15(sold[part]) + " sold; ";
      return true;
    });
    return count;
  }
};

TEST_F(ShopDayCrash, EveryStartFindsTheShopWhole) {
  const int runs = kills(5);
  seedShop();
  std::mt19937 random(20261208);
  Model model;
  std::map<std::string, int> finishedAtStart;  // by command name
  int wrong = 0;
  std::int64_t acknowledged = 0;
  for (int kill = 0; kill < runs; ++kill) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const unsigned daySeed = static_cast<unsigned>(random());
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      ::close(fds[0]);
      nameSessions("day");
      ShopRun run(dir.path());
      if (!run.app.start()) ::_exit(2);
      Day(run, fds[1], daySeed).run();
    }
    ::close(fds[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(30 + random() % 400));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: " << WEXITSTATUS(status);
    const std::string text = said(fds[0]);
    model.read(text);
    acknowledged += acknowledgedIn(text);

    // What a failure report needs: the command in flight and what the start said.
    std::string context =
        "after kill " + std::to_string(kill + 1) + ", in flight: " +
        (model.inFlight.empty() ? "nothing" : model.inFlight + " " + model.inFlightOrder);
    // On a server the killed workstation's sessions end, and give up its plans, a moment
    // after it died.
    waitForSessionsToEnd("day");
    startOnce(finishedAtStart, context);
    checkShop({&model}, context);
    if (::testing::Test::HasFailure()) {
      ++wrong;
      break;
    }
  }
  std::printf("Shop day crash harness: %d kills, %lld commands acknowledged, settled at start:",
              runs, static_cast<long long>(acknowledged));
  for (const auto& [name, n] : finishedAtStart) std::printf(" %s %d;", name.c_str(), n);
  std::printf(" runs with something wrong: %d\n", wrong);
}

// Two tills on one database server selling the same items; one of them is killed at a random
// point while the other goes on.  The start made then, with the other till still selling,
// finishes the killed till's command in flight exactly once and leaves the other's alone.
TEST_F(ShopDayCrash, AWorkstationKilledWhileAnotherSellsIsFinishedOnceAtTheNextStart) {
  if (!onDatabaseServer()) GTEST_SKIP() << "a local data directory has one workstation";
  if (const std::string why = backendUnavailable(); !why.empty()) GTEST_SKIP() << why;
  const int runs = kills(3);
  seedShop();
  std::mt19937 random(20261209);
  Model killed, survivor;
  std::map<std::string, int> finishedAtStart;
  int wrong = 0;
  std::int64_t acknowledged = 0;
  for (int kill = 0; kill < runs; ++kill) {
    int ackA[2], ackB[2], stopB[2];
    ASSERT_EQ(::pipe(ackA), 0);
    ASSERT_EQ(::pipe(ackB), 0);
    ASSERT_EQ(::pipe(stopB), 0);
    const unsigned seedA = static_cast<unsigned>(random()), seedB = static_cast<unsigned>(random());
    const std::string tillA = "till A " + std::to_string(::getpid()) + " " + std::to_string(kill);
    const auto till = [&](int ack, unsigned seed, int stop, const std::string& name) {
      const pid_t pid = ::fork();
      if (pid != 0) return pid;
      // Only its own ends stay open: the parent sees the end of what a till said when it dies.
      for (int fd : {ackA[0], ackA[1], ackB[0], ackB[1], stopB[0], stopB[1]})
        if (fd != ack && fd != stop) ::close(fd);
      nameSessions(name);
      ShopRun run(dir.path());
      if (!run.app.start()) ::_exit(2);
      Day(run, ack, seed, stop).run();
    };
    const pid_t a = till(ackA[1], seedA, -1, tillA);
    const pid_t b = till(ackB[1], seedB, stopB[0], "till B");
    ASSERT_NE(a, -1);
    ASSERT_NE(b, -1);
    ::close(ackA[1]);
    ::close(ackB[1]);
    ::close(stopB[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(400 + random() % 1200));
    ::kill(a, SIGKILL);
    int status = 0;
    ::waitpid(a, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "till A stopped by itself: " << WEXITSTATUS(status);
    const std::string textA = said(ackA[0]);
    killed.read(textA);
    acknowledged += acknowledgedIn(textA);
    std::string context =
        "after kill " + std::to_string(kill + 1) + ", in flight at till A: " +
        (killed.inFlight.empty() ? "nothing" : killed.inFlight + " " + killed.inFlightOrder);
    waitForSessionsToEnd(tillA);
    startOnce(finishedAtStart, context);  // till B still selling
    ASSERT_EQ(::write(stopB[1], "s", 1), 1);
    ::close(stopB[1]);
    ::waitpid(b, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "till B did not sell through: " << status;
    const std::string textB = said(ackB[0]);
    survivor.read(textB);
    acknowledged += acknowledgedIn(textB);
    EXPECT_TRUE(survivor.inFlight.empty()) << "till B stopped in the middle of a command";
    checkShop({&killed, &survivor}, context);
    if (::testing::Test::HasFailure()) {
      ++wrong;
      break;
    }
  }
  std::printf(
      "Two workstations, one killed: %d kills, %lld commands acknowledged, settled at "
      "start:",
      runs, static_cast<long long>(acknowledged));
  for (const auto& [name, n] : finishedAtStart) std::printf(" %s %d;", name.c_str(), n);
  std::printf(" runs with something wrong: %d\n", wrong);
}

}  // namespace
}  // namespace corvanta::test
