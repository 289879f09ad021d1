// Backups taken while the shop posts, restores that refuse what they must, and the rotation
// of automatic backups.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "DbToolTestUtil.h"
#include "data/DataModule.h"
#include "data/engine/AutomaticBackup.h"
#include "data/engine/Backup.h"
#include "data/engine/Sha256.h"
#include "data/engine/TablesInUse.h"
#include "ui/Error.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;

template <class F>
std::string errorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class BackupTest : public DbToolTest {
 protected:
  BackupTest() {
    TableFile stock = file("stock");
    stock.insert({std::string("A100"), std::string("Widget"), 2.5, 10.0, 1.0, {}, {}, {}, {}});
    stock.insert({std::string("B200"), std::string("Gadget"), 4.0, 3.0, 1.0, {}, {}, {}, {}});
  }

  // One sales line of an order, as a writer of the shop would post it.
  static std::vector<Value> line(double order) {
    return {Value{},
            std::string("A100"),
            1.0,
            2.5,
            1.0,
            order,
            std::string("12/8/26"),
            std::string("cash"),
            Value{},
            Value{},
            0.21,
            2.5,
            std::string("PickUp")};
  }

  fs::path backups() const { return dir.path() / "backups"; }
  fs::path backupFile(const fs::path& folder, const std::string& name) const {
    const TableDef& def = *findTableDef(name);
    return folder / def.alias / def.fileName;
  }
};

TEST_F(BackupTest, CopyTakenWhileAWriterPostsHoldsEveryAcknowledgedPost) {
  std::atomic<bool> stop{false};
  std::atomic<std::int64_t> acknowledged{0};
  std::thread writer([&] {
    TableFile sales = file("NewSales");
    for (double order = 1; !stop; ++order) {
      sales.insert(line(order));
      acknowledged = static_cast<std::int64_t>(order);
    }
  });
  while (acknowledged < 50) std::this_thread::yield();
  const std::int64_t before = acknowledged;
  const fs::path folder = backups() / "during-posts";
  const BackupManifest m = takeBackup(*engine, folder, "by hand");
  stop = true;
  writer.join();
  ASSERT_GT(acknowledged, before) << "the writer was not posting during the backup";

  EXPECT_EQ(verifyBackup(folder).tables.size(), 5u);
  TableFile copy(*findTableDef("NewSales"), backupFile(folder, "NewSales"), true);
  EXPECT_EQ(copy.quickCheck(), "ok");
  // The copy is the table at one moment: every line acknowledged before, numbered 1..n.
  const std::int64_t n = copy.count();
  EXPECT_GE(n, before);
  EXPECT_LE(n, acknowledged);
  auto last = copy.last(copy.def().indexes.front());
  ASSERT_TRUE(last);
  EXPECT_EQ(last->rowid, n);
  EXPECT_FALSE(fs::exists(backupFile(folder, "NewSales").string() + "-wal"));
  EXPECT_EQ((fs::status(backups()).permissions() & fs::perms::all), fs::perms::owner_all);
  EXPECT_EQ((fs::status(folder).permissions() & fs::perms::all), fs::perms::owner_all);
  const auto stock = std::find_if(m.tables.begin(), m.tables.end(),
                                  [](const BackupTable& t) { return t.table == "stock.db"; });
  ASSERT_NE(stock, m.tables.end());
  EXPECT_EQ(stock->records, 2);
}

TEST_F(BackupTest, NeverOverwritesAFolder) {
  const fs::path folder = backups() / "taken";
  takeBackup(*engine, folder, "by hand");
  const std::string manifest = sha256OfFile(folder / "manifest.json");
  EXPECT_TRUE(contains(errorOf([&] { takeBackup(*engine, folder, "by hand"); }),
                       "already exists; nothing was written"));
  EXPECT_EQ(sha256OfFile(folder / "manifest.json"), manifest);
  // Nothing half-written is left beside it.
  int entries = 0;
  for (const auto& e : fs::directory_iterator(backups())) entries += e.exists();
  EXPECT_EQ(entries, 1);
}

TEST_F(BackupTest, RestoreRefusedWhileTheProgramHasTheTablesOpen) {
  const fs::path folder = backups() / "b";
  takeBackup(*engine, folder, "by hand");
  file("NewSales").insert(line(7));
  const std::string live = fingerprint();
  {
    DataModule sales(*engine, "SalesDataModule", "SalesTable", "DatabaseFiles", "NewSales",
                     "SalesDataSource", true);
    EXPECT_TRUE(contains(errorOf([&] { restoreBackup(*engine, folder); }),
                         "are open in the program; close the program first"));
    EXPECT_EQ(fingerprint(), live);
    auto [status, out, err] = runTool({"restore", folder.string()});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(contains(err, "close the program first")) << err;
  }
  // Closed: the restore goes through, and the replaced tables are kept.
  auto [status, out, err] = runTool({"restore", folder.string()});
  ASSERT_EQ(status, 0) << err;
  EXPECT_EQ(file("NewSales").count(), 0);
  EXPECT_EQ(file("stock").count(), 2);
  const fs::path salesDir = *engine->config().alias("DatabaseFiles");
  int keptLines = -1;
  for (const auto& e : fs::directory_iterator(salesDir))
    if (e.path().filename().string().rfind("replaced-", 0) == 0)
      keptLines = static_cast<int>(
          TableFile(*findTableDef("NewSales"), e.path() / "NewSales.DB", true).count());
  EXPECT_EQ(keptLines, 1);
  EXPECT_TRUE(contains(out, "moved, not deleted")) << out;
}

TEST_F(BackupTest, ProgramDoesNotStartDuringARestore) {
  TablesInUse restoring(*engine->config().alias("DatabaseFiles"), TablesInUse::Mode::Exclusive);
  EXPECT_TRUE(contains(errorOf([&] {
                         DataModule m(*engine, "DataModule2", "InventoryTable1", "DatabaseFiles",
                                      "stock.db", "DataSource1", true);
                       }),
                       "are being restored from a backup"));
}

TEST_F(BackupTest, DamagedBackupRefusedWithNothingChanged) {
  const fs::path folder = backups() / "b";
  takeBackup(*engine, folder, "by hand");
  file("stock").insert({std::string("C300"), std::string("Gizmo"), 1.0, 1.0, 1.0, {}, {}, {}, {}});
  const std::string live = fingerprint();
  const fs::path stockCopy = backupFile(folder, "stock");

  // A byte changed in a table file: the checksum tells.
  {
    std::fstream f(stockCopy, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(3000);
    f.put('\x5a');
  }
  EXPECT_TRUE(contains(errorOf([&] { restoreBackup(*engine, folder); }), "checksum differs"));

  // A file damaged and its manifest entry rewritten to match: the structure check tells.
  {
    std::fstream f(stockCopy, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4096 + 8);  // the header of the second page
    for (int i = 0; i < 64; ++i) f.put('\xff');
  }
  std::ifstream in(folder / "manifest.json");
  std::string manifest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const auto& t : readManifest(folder).tables)
    if (t.table == "stock.db") {
      const auto at = manifest.find(t.sha256);
      manifest.replace(at, t.sha256.size(), sha256OfFile(stockCopy));
    }
  std::ofstream(folder / "manifest.json") << manifest;
  const std::string damaged = errorOf([&] { restoreBackup(*engine, folder); });
  EXPECT_TRUE(contains(damaged, stockCopy.string())) << damaged;
  EXPECT_FALSE(contains(damaged, "no error"));

  // No manifest at all: not a backup.
  fs::remove(folder / "manifest.json");
  EXPECT_TRUE(contains(errorOf([&] { restoreBackup(*engine, folder); }), "is not a backup"));

  EXPECT_EQ(fingerprint(), live);
  for (const auto& e : fs::directory_iterator(*engine->config().alias("DatabaseFiles")))
    EXPECT_EQ(e.path().filename().string().find("replaced-"), std::string::npos);
}

TEST_F(BackupTest, RecordCountsMustMatchTheManifest) {
  const fs::path folder = backups() / "b";
  takeBackup(*engine, folder, "by hand");
  // A copy with one record more but a manifest whose checksum was brought in line.
  {
    TableFile copy(*findTableDef("stock"), backupFile(folder, "stock"));
    copy.insert({std::string("Z9"), std::string("Extra"), 1.0, 1.0, 1.0, {}, {}, {}, {}});
  }
  std::ifstream in(folder / "manifest.json");
  std::string manifest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const auto& t : readManifest(folder).tables)
    if (t.table == "stock.db") {
      manifest.replace(manifest.find(t.sha256), t.sha256.size(),
                       sha256OfFile(backupFile(folder, "stock")));
      const std::string bytes = "\"bytes\": " + std::to_string(t.bytes);
      manifest.replace(manifest.find(bytes), bytes.size(),
                       "\"bytes\": " + std::to_string(fs::file_size(backupFile(folder, "stock"))));
    }
  std::ofstream(folder / "manifest.json") << manifest;
  EXPECT_TRUE(
      contains(errorOf([&] { verifyBackup(folder); }), "holds 3 records, its manifest says 2"));
}

TEST_F(BackupTest, AutomaticBackupOncePerDayFailureReportedOnce) {
  EngineConfig cfg = engine->config();
  cfg.backups().directory = backups();
  const Engine withBackups(cfg);
  const std::time_t now = std::time(nullptr);
  {
    AutomaticBackup first(withBackups, now);
    ASSERT_TRUE(first.started());
    first.wait();
    EXPECT_EQ(first.takeFailure(), std::nullopt);
    EXPECT_EQ(verifyBackup(first.folder()).kind, "automatic");
  }
  AutomaticBackup sameDay(withBackups, now + 60);
  EXPECT_FALSE(sameDay.started());

  // A backup directory that cannot be made: reported once, the tables untouched.
  const std::string live = fingerprint();
  std::ofstream(dir.path() / "not-a-directory") << "x";
  cfg.backups().directory = dir.path() / "not-a-directory" / "backups";
  AutomaticBackup failing(Engine(cfg), now);
  failing.wait();
  const auto failure = failing.takeFailure();
  ASSERT_TRUE(failure);
  EXPECT_TRUE(contains(*failure, "The automatic backup of the tables failed")) << *failure;
  EXPECT_TRUE(contains(*failure, "not-a-directory")) << *failure;
  EXPECT_EQ(failing.takeFailure(), std::nullopt);
  EXPECT_EQ(fingerprint(), live);
}

DatedBackup dated(int y, int m, int d) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d_120000", y, m, d);
  return {name, y, m, d};
}

TEST(BackupRotation, KeepsSevenDailyAndTheNewestOfFourWeeks) {
  // Thirty days of backups, newest first: Wednesday 2026-12-30 back to Tuesday 2026-12-01.
  std::vector<DatedBackup> b;
  for (int d = 30; d >= 1; --d) b.push_back(dated(2026, 12, d));
  std::vector<std::string> kept;
  const auto drop = backupsToDrop(b, 7, 4);
  for (const auto& x : b)
    if (std::find(drop.begin(), drop.end(), x.folder) == drop.end())
      kept.push_back(x.folder.string().substr(5, 5));
  // Seven days, then the newest of each of four weeks (weeks start on Mondays: Dec 28, 21,
  // 14, 7), of which the first two are already among the seven.
  EXPECT_EQ(kept, (std::vector<std::string>{"12-30", "12-29", "12-28", "12-27", "12-26", "12-25",
                                            "12-24", "12-20", "12-13"}));
  EXPECT_EQ(backupsToDrop(b, 0, 0).size(), b.size());
  // Weeks across a year's end count as one week.
  EXPECT_TRUE(backupsToDrop({dated(2027, 1, 2), dated(2026, 12, 29), dated(2026, 12, 20)}, 0, 1) ==
              (std::vector<fs::path>{dated(2026, 12, 29).folder, dated(2026, 12, 20).folder}));
}

TEST(Sha256, KnownDigests) {
  EXPECT_EQ(sha256Of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(sha256Of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256Of(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
}  // namespace corvanta::test
