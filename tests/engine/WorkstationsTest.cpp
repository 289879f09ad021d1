// Several workstations on the same tables: other table objects and other processes edit,
// sell and die while a cursor works.  Run on local files and on the database server alike.
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "data/engine/CommandRecord.h"
#include "data/engine/Postgres.h"
#include "engine/EngineTestUtil.h"

namespace corvanta::test {
namespace {

class WorkstationsTest : public EngineTest {
 protected:
  // Runs f in a child process with an engine of its own (a second workstation); returns its
  // exit status: 0 when f returned, 1 when it threw.
  pid_t spawn(const std::function<void(Engine&)>& f) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      int code = 0;
      try {
        Engine own(testEngineConfig(dir.path()));
        f(own);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "second workstation: %s\n", e.what());
        code = 1;
      }
      ::_exit(code);  // no destructors: the parent's connections are not this process's
    }
    return pid;
  }
  static int exitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
};

TEST_F(WorkstationsTest, AnEditOfAFieldChangedElsewhereIsRefusedAndKeepsTheTyping) {
  auto till = open("stock.db");
  add(*till, {{"PartNumber", "A"}, {"Description", "bolt"}, {"Price", "1.50"}});
  auto office = open("stock.db");
  till->edit();
  till->fieldByName("Description").setText("hex bolt");
  office->edit();
  office->fieldByName("Description").setText("carriage bolt");
  office->post();
  EXPECT_EQ(errorOf([&] { till->post(); }), TableStore::changedElsewhereMessage());
  EXPECT_EQ(cursorText(*till, {"Description"}), "edit key=A Description=hex bolt");
  // Refresh shows the other workstation's change, keeps the rest of the typing and the edit;
  // the post then goes through over what is stored now.
  till->fieldByName("Price").setText("1.75");
  office->edit();
  office->fieldByName("Quantity").setText("8");
  office->post();
  till->refresh();
  EXPECT_EQ(cursorText(*till, {"Description", "Price", "Quantity"}),
            "edit key=A Description=carriage bolt Price=1.75 Quantity=8");
  till->post();
  office->refresh();
  EXPECT_EQ(cursorText(*office, {"Description", "Price", "Quantity"}),
            "browse key=A Description=carriage bolt Price=1.75 Quantity=8 bof eof");
  // Cancel after a refusal drops the typing and shows the other change.
  till->edit();
  till->fieldByName("Description").setText("hex bolt");
  office->edit();
  office->fieldByName("Description").setText("coach bolt");
  office->post();
  EXPECT_EQ(errorOf([&] { till->post(); }), TableStore::changedElsewhereMessage());
  till->cancel();
  EXPECT_EQ(cursorText(*till, {"Description"}), "browse key=A Description=coach bolt");
  // A record deleted elsewhere is told as before.
  till->edit();
  till->fieldByName("Price").setText("2");
  office->refresh();
  office->remove();
  EXPECT_EQ(errorOf([&] { till->post(); }), "Record/Key deleted.");
  EXPECT_EQ(till->state(), TableState::Edit);
}

TEST_F(WorkstationsTest, TheSameItemSoldAtTwoTillsAtOnceLowersTheStockByBoth) {
  {
    auto t = open("stock.db");
    add(*t, {{"PartNumber", "A"}, {"Quantity", "1000"}});
  }
  constexpr int sales = 60;
  auto sell = [](Engine& e) {
    Table t(e, "StockTable", "DatabaseFiles", "stock.db");
    t.open();
    for (int i = 0; i < sales; ++i) {
      if (!t.findKey("A")) throw Error("item gone");
      t.edit();
      Field& q = t.fieldByName("Quantity");
      q.setValue(q.asFloat() - 1);  // what the till read, lowered by the one it sold
      t.post();
    }
  };
  const pid_t a = spawn(sell), b = spawn(sell);
  EXPECT_EQ(exitCode(a), 0);
  EXPECT_EQ(exitCode(b), 0);
  auto t = open("stock.db");
  ASSERT_TRUE(t->findKey("A"));
  EXPECT_EQ(t->fieldByName("Quantity").displayText(), std::to_string(1000 - 2 * sales));
}

TEST_F(WorkstationsTest, AWorkstationKilledInTheMiddleOfAPostLeavesNothingHalfWritten) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t pid = spawn([&](Engine& e) {
    auto store = e.openTable("DatabaseFiles", *findTableDef("NewSales"));
    store->beginBulk();
    for (int i = 0; i < 200; ++i) {
      std::vector<Value> v(store->def().fields.size());
      v[1] = std::string("P") + std::to_string(i);
      store->insert(v);
    }
    const char c = 'x';
    if (::write(ready[1], &c, 1) != 1) throw Error("pipe");
    ::pause();  // killed here, before the commit
  });
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ::kill(pid, SIGKILL);
  EXPECT_EQ(exitCode(pid), 128 + SIGKILL);
  ::close(ready[0]);
  ::close(ready[1]);
  auto t = open("NewSales");
  EXPECT_EQ(t->recordCount(), 0);
  // And the table takes posts again at once.
  add(*t, {{"PartNumber", "P1"}});
  EXPECT_EQ(t->recordCount(), 1);
}

// A workstation whose machine dies is given up by the server within about 90 seconds, not
// the system's two hours, so that a start elsewhere may finish its command.
TEST_F(WorkstationsTest, ASilentWorkstationIsGivenUpWithinMinutes) {
  if (!onDatabaseServer()) GTEST_SKIP() << "a local table file has no connection";
  PgConnection till(testServerConnection(), "tests");
  EXPECT_EQ(till.exec("SELECT current_setting('tcp_keepalives_idle') || ' ' || "
                      "current_setting('tcp_keepalives_interval') || ' ' || "
                      "current_setting('tcp_keepalives_count')")
                .text(0, 0),
            "60 10 3");
}

// The server drops a workstation's connection (a restart, a cable pulled, an administrator)
// between two commands: the next post fails with a message saying so and stores nothing, not
// even the command record that was to go with it; the edit stays pending with its typing,
// and the post once more goes through on a new connection.
TEST_F(WorkstationsTest, ALostConnectionStopsThePostClearlyWithNothingHalfWritten) {
  if (!onDatabaseServer()) GTEST_SKIP() << "a local table file has no connection to lose";
  auto stock = open("stock.db");
  add(*stock, {{"PartNumber", "A"}, {"Quantity", "10"}});
  const std::string name = "till losing its connection " + std::to_string(::getpid());
  nameSessions(name);
  auto sales = open("NewSales");
  nameSessions("");
  const auto cut = [&] {
    PgConnection admin(testServerConnection(), "tests");
    admin.exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = $1",
               {name});
    waitForSessionsToEnd(name);
  };
  const std::string lost = "The connection to the database DatabaseFiles was lost";

  cut();
  CommandRecord sale("Continue", "a line of A");
  sale.plan({"stock.db", stock->currentRowid(), {{"Quantity", 9.0}}, "the stock of A"});
  sales->insert();
  sales->fieldByName("PartNumber").setText("A");
  sales->fieldByName("QuantitySold").setText("1");
  sale.recordWithFirstPost(*sales);
  EXPECT_EQ(errorOf([&] { sales->post(); }).substr(0, lost.size()), lost);
  EXPECT_EQ(cursorText(*sales, {"PartNumber"}), "insert key=<null> PartNumber=A bof eof");
  EXPECT_EQ(finishInterruptedCommands(*engine), std::vector<std::string>{});
  EXPECT_EQ(stock->fieldByName("Quantity").displayText(), "10");
  sales->post();
  EXPECT_EQ(sales->recordCount(), 1);

  // An edit: refused the same way, and nothing of it stored.
  sales->edit();
  sales->fieldByName("QuantitySold").setText("5");
  cut();
  EXPECT_EQ(errorOf([&] { sales->post(); }).substr(0, lost.size()), lost);
  EXPECT_EQ(cursorText(*sales, {"QuantitySold"}), "edit key=1 QuantitySold=5");
  auto office = open("NewSales");
  EXPECT_EQ(office->fieldByName("QuantitySold").displayText(), "1");
  sales->post();
  office->refresh();
  EXPECT_EQ(office->fieldByName("QuantitySold").displayText(), "5");
}

// The connection that stored a command's plan (and held this workstation's lock on it) is
// dropped while the stock step is still to come on another connection.  A start elsewhere
// may then finish the command; the step here must never be stored as well, whether the
// other start is finishing it now, has finished it, or has done that very step already.
TEST_F(WorkstationsTest, AStepOfACommandFinishedElsewhereIsNeverStoredTwice) {
  if (!onDatabaseServer()) GTEST_SKIP() << "a local table file has one workstation";
  auto stock = open("stock.db");
  add(*stock, {{"PartNumber", "A"}, {"Quantity", "10"}});
  const std::string name = "till whose plan went " + std::to_string(::getpid());
  nameSessions(name);
  auto sales = open("NewSales");
  nameSessions("");
  PgConnection admin(*engine->config().connection("DatabaseFiles"), "tests");
  const std::string refused = "Another workstation finished this command";
  auto sell = [&](Table& lines, CommandRecord& sale) {
    sale.plan({"stock.db", stock->currentRowid(), {{"Quantity", 9.0}}, "the stock of A"});
    lines.insert();
    lines.fieldByName("PartNumber").setText("A");
    sale.recordWithFirstPost(lines);
    lines.post();
  };
  // The stock step as the sale window takes it: refused, it is cancelled.
  const auto step = [&](CommandRecord& sale) {
    stock->edit();
    stock->fieldByName("Quantity").setText("9");
    sale.markWithPost(*stock, 1);
    const std::string error = errorOf([&] { stock->post(); });
    if (stock->state() != TableState::Browse) stock->cancel();
    return error.substr(0, refused.size());
  };
  const auto storedQuantity = [&] {
    auto office = open("stock.db");
    return office->fieldByName("Quantity").displayText();
  };
  {
    CommandRecord sale("Continue", "a line of A");
    sell(*sales, sale);
    admin.exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = $1",
               {name});
    waitForSessionsToEnd(name);
    const std::int64_t owner = admin.exec("SELECT owner FROM corvanta_command").integer(0, 0);
    // Another start holds the lock: it is finishing the command.
    admin.exec("SELECT pg_advisory_lock($1::bigint)", {owner});
    EXPECT_EQ(step(sale), refused);
    admin.exec("SELECT pg_advisory_unlock($1::bigint)", {owner});
    // It has finished it: the stock went down once, by the start.
    const pid_t start = spawn([](Engine& e) {
      if (finishInterruptedCommands(e).size() != 1) throw Error("nothing finished");
    });
    EXPECT_EQ(exitCode(start), 0);
    EXPECT_EQ(step(sale), refused);
    EXPECT_EQ(storedQuantity(), "9");
  }
  // The step is marked done already (another start did it and has yet to remove the plan):
  // refused too, instead of going through beside the mark.
  auto lines = open("NewSales");
  CommandRecord sale("Continue", "another line of A");
  sell(*lines, sale);
  admin.exec("INSERT INTO corvanta_step(command, step) SELECT id, 1 FROM corvanta_command");
  EXPECT_EQ(step(sale), refused);
  EXPECT_EQ(storedQuantity(), "9");
}

}  // namespace
}  // namespace corvanta::test
