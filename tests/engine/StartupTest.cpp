// Reaching the table files: first start, missing or foreign files, missing aliases, directories
// without permission.  Every failure is an Error that names the file, directory or alias.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "data/engine/Sqlite.h"
#include "data/engine/TableFile.h"
#include "engine/EngineTestUtil.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;
using StartupTest = EngineTest;

int modeOf(const fs::path& p) {
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return -1;
  return st.st_mode & 07777;
}

void writeFile(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(StartupTest, FirstStartCreatesBothAliasDirectoriesWithEmptyTables) {
  for (const auto& def : shopTables()) {
    auto t = open(def.tableName);
    EXPECT_EQ(cursorText(*t), "browse empty bof eof") << def.tableName;
    EXPECT_EQ(t->recordCount(), 0) << def.tableName;
  }
  for (const char* alias : {"DatabaseFiles", "DatabaseFilesQVX"}) {
    EXPECT_EQ(modeOf(dir.path() / alias), 0700) << alias;
  }
  for (const auto& def : shopTables())
    EXPECT_TRUE(fs::is_regular_file(dir.path() / def.alias / def.fileName)) << def.fileName;
  EXPECT_TRUE(fs::exists(dir.path() / "DatabaseFiles" / "NewSales.DB"));
  EXPECT_TRUE(fs::exists(dir.path() / "DatabaseFilesQVX" / "BillingShipping.DB"));
}

// Reading (a report, an audit, a dump, the source of a migration) makes nothing: a missing
// directory is named, not created with empty tables that would then read as an empty shop.
TEST_F(StartupTest, AReadOnlyOpenMakesNoDirectory) {
  const TableDef& def = *findTableDef("BillingShipping");
  EXPECT_EQ(errorOf([&] { engine->openTable(def.alias, def, /*readOnly=*/true); }),
            "The directory '" + (dir.path() / "DatabaseFilesQVX").string() +
                "' of database DatabaseFilesQVX does not exist");
  EXPECT_FALSE(fs::exists(dir.path() / "DatabaseFilesQVX"));
}

TEST_F(StartupTest, CreateMissingTablesMakesBothAliasesAndLeavesExistingTablesAlone) {
  {
    auto t = open("stock.db");
    add(*t, {{"PartNumber", "A"}});
  }
  fs::remove(dir.path() / "DatabaseFiles" / "TaxRate.DB");
  engine->createMissingTables();
  EXPECT_EQ(modeOf(dir.path() / "DatabaseFilesQVX"), 0700);
  EXPECT_EQ(open("stock.db")->recordCount(), 1);
  EXPECT_EQ(open("TaxRate")->recordCount(), 0);
  EXPECT_EQ(open("BillingShipping")->recordCount(), 0);
}

TEST_F(StartupTest, AMissingTableFileInAnExistingDirectoryIsNamed) {
  open("stock.db");
  const fs::path file = dir.path() / "DatabaseFiles" / "clients.DB";
  fs::remove(file);
  auto t = closed("clients.DB");
  const std::string e = errorOf([&] { t->open(); });
  EXPECT_TRUE(contains(e, file.string())) << e;
  EXPECT_EQ(cursorText(*t), "inactive");
  EXPECT_FALSE(fs::exists(file));  // not created behind the user's back
}

TEST_F(StartupTest, AFileThatIsNotATableIsNamed) {
  open("stock.db");
  const fs::path file = dir.path() / "DatabaseFiles" / "stock.db";
  for (const std::string& content :
       {std::string("PartNumber,Description\nA100,bolt\n"), std::string(), std::string(5000, '\0'),
        std::string("SQLite format 3") + std::string(200, 'x')}) {
    fs::remove(file);
    fs::remove(file.string() + "-wal");
    fs::remove(file.string() + "-shm");
    writeFile(file, content);
    auto t = closed("stock.db");
    const std::string e = errorOf([&] { t->open(); });
    EXPECT_TRUE(contains(e, file.string())) << e;
    EXPECT_FALSE(t->active());
  }
}

TEST_F(StartupTest, AnSqliteFileOfAnotherShapeIsNamed) {
  open("stock.db");
  const fs::path dirA = dir.path() / "DatabaseFiles";
  // The clients table in the stock file's place.
  fs::remove(dirA / "stock.db");
  fs::copy_file(dirA / "clients.DB", dirA / "stock.db");
  std::string e = errorOf([&] { closed("stock.db")->open(); });
  EXPECT_TRUE(contains(e, (dirA / "stock.db").string())) << e;
  EXPECT_TRUE(contains(e, "does not hold the table 'stock.db'")) << e;

  // A stock table without its description index.
  fs::remove(dirA / "stock.db");
  TableFile::create(shopTables()[0], dirA / "stock.db");
  {
    SqliteDb db(dirA / "stock.db", SqliteDb::Mode::ReadWrite);
    db.exec("DROP INDEX \"byDescription\"");
  }
  e = errorOf([&] { closed("stock.db")->open(); });
  EXPECT_TRUE(contains(e, (dirA / "stock.db").string())) << e;
  EXPECT_TRUE(contains(e, "lacks the index 'byDescription'")) << e;
}

TEST_F(StartupTest, AMissingAliasIsNamed) {
  EngineConfig cfg;
  cfg.setAlias("DatabaseFiles", dir.path() / "A");
  engine = std::make_unique<Engine>(cfg);
  EXPECT_EQ(open("stock.db")->recordCount(), 0);
  auto t = closed("BillingShipping");
  EXPECT_EQ(errorOf([&] { t->open(); }), "Unknown database: DatabaseFilesQVX");
  EXPECT_EQ(cursorText(*t), "inactive");
}

TEST_F(StartupTest, AnAliasNamingAFileIsNamed) {
  writeFile(dir.path() / "DatabaseFiles", "not a directory");
  const std::string e = errorOf([&] { closed("stock.db")->open(); });
  EXPECT_TRUE(contains(e, (dir.path() / "DatabaseFiles").string())) << e;
  EXPECT_TRUE(contains(e, "DatabaseFiles")) << e;
}

constexpr const char* kCannotTakeAway = "the permission cannot be taken away";

// Opens the stock table as an unprivileged user (root reads every directory): the error text,
// or "no error", comes back through a pipe from a child process.  Where `mustNotRead` is
// readable all the same (privileges that cannot be dropped), kCannotTakeAway comes back.
std::string openAsNobody(const fs::path& dataDir, const fs::path& mustNotRead = {}) {
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    std::string result;
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      result = kCannotTakeAway;
    } else if (!mustNotRead.empty() && ::access(mustNotRead.c_str(), R_OK) == 0) {
      result = kCannotTakeAway;
    } else {
      try {
        Engine e(EngineConfig::forDataDirectory(dataDir));
        Table t(e, "Stock", "DatabaseFiles", "stock.db");
        t.open();
        result = "no error";
      } catch (const std::exception& ex) {
        result = ex.what();
      }
    }
    (void)!::write(fds[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string out;
  char buf[512];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
    out.append(buf, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return out;
}

TEST_F(StartupTest, ADirectoryWithoutPermissionIsNamed) {
  open("stock.db");
  const fs::path aliasDir = dir.path() / "DatabaseFiles";
  ::chmod(dir.path().c_str(), 0755);
  if (::geteuid() != 0) ::chmod(aliasDir.c_str(), 0);
  const std::string e = openAsNobody(dir.path());
  ::chmod(aliasDir.c_str(), 0700);
  EXPECT_TRUE(contains(e, aliasDir.string())) << e;
  EXPECT_TRUE(contains(e, "DatabaseFiles")) << e;
  EXPECT_TRUE(contains(e, "permission")) << e;
}

TEST_F(StartupTest, AnUnreadableTableFileIsNamed) {
  open("stock.db");
  const fs::path aliasDir = dir.path() / "DatabaseFiles";
  const fs::path file = aliasDir / "stock.db";
  ::chmod(dir.path().c_str(), 0755);
  ::chmod(aliasDir.c_str(), 0777);
  // Root opens as nobody, to whom a mode of 0600 gives nothing; anyone else is refused by
  // a mode of 0 on their own file.
  ::chmod(file.c_str(), ::geteuid() == 0 ? 0600 : 0);
  const std::string e = openAsNobody(dir.path(), file);
  ::chmod(aliasDir.c_str(), 0700);
  ::chmod(file.c_str(), 0600);
  if (e == kCannotTakeAway) GTEST_SKIP() << "this user reads every file: " << e;
  EXPECT_EQ(e, "Table file '" + file.string() + "' cannot be opened: Permission denied");
}

// A first start killed half-way leaves its hidden building directory; the next start removes
// it, but not one that a start still running may be filling.
TEST_F(StartupTest, BuildingDirectoriesOfKilledStartsAreRemoved) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const fs::path stale = dir.path() / (".DatabaseFiles.new-" + std::to_string(gone));
  const fs::path running = dir.path() / (".DatabaseFiles.new-" + std::to_string(::getppid()));
  const fs::path unrelated = dir.path() / ("DatabaseFiles.new-" + std::to_string(gone));
  for (const fs::path& d : {stale, running, unrelated}) {
    fs::create_directories(d);
    writeFile(d / "stock.db", "half written");
  }
  EXPECT_EQ(cursorText(*open("stock.db")), "browse empty bof eof");
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(unrelated));

  // Also once the directory was made by a later start.
  fs::create_directories(stale);
  engine = std::make_unique<Engine>(EngineConfig::forDataDirectory(dir.path()));
  open("clients.DB");
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_EQ(open("stock.db")->recordCount(), 0);
}

TEST_F(StartupTest, TheConfigurationFileNamesTheAliases) {
  const fs::path ini = dir.path() / "engine.ini";
  writeFile(ini, "; test\n[Aliases]\ndatabasefiles = tables\nDatabaseFilesQVX = " +
                     (dir.path() / "qvx").string() + "\n[Paths]\nC:\\Reports = /srv/reports\n");
  const char* old = std::getenv("CORVANTA_ENGINE_CONFIG");
  const std::string saved = old ? old : "";
  ::setenv("CORVANTA_ENGINE_CONFIG", ini.c_str(), 1);
  EngineConfig cfg = EngineConfig::fromEnvironment();
  if (old)
    ::setenv("CORVANTA_ENGINE_CONFIG", saved.c_str(), 1);
  else
    ::unsetenv("CORVANTA_ENGINE_CONFIG");
  EXPECT_EQ(cfg.alias("DatabaseFiles"), dir.path() / "tables");  // relative to the file
  EXPECT_EQ(cfg.alias("DATABASEFILESQVX"), dir.path() / "qvx");
  EXPECT_EQ(cfg.resolve("c:\\reports\\Sales.rpt"), fs::path("/srv/reports/Sales.rpt"));
  EXPECT_EQ(
      errorOf([&] { EngineConfig::load(dir.path() / "missing.ini"); }),
      "Cannot read the engine configuration file '" + (dir.path() / "missing.ini").string() + "'");
}

}  // namespace
}  // namespace corvanta::test
