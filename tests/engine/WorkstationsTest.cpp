// Several workstations on the same tables: other table objects and other processes edit,
// sell and die while a cursor works.  Run on local files and on the database server alike.
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

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
  // Cancel shows the other workstation's change; a fresh edit then goes through.
  till->cancel();
  EXPECT_EQ(cursorText(*till, {"Description"}), "browse key=A Description=carriage bolt");
  till->edit();
  till->fieldByName("Price").setText("1.75");
  till->post();
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

}  // namespace
}  // namespace corvanta::test
