#include "DbTool.h"

#include <charconv>
#include <cstdio>
#include <iomanip>
#include <ostream>

#include "Generate.h"
#include "Migrate.h"
#include "SafetyCommands.h"
#include "data/engine/Engine.h"
#include "data/engine/Postgres.h"
#include "data/engine/TableFile.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: corvanta-db create DIR\n"
    "       corvanta-db check [--deep]\n"
    "       corvanta-db dump TABLE\n"
    "       corvanta-db generate DIR [--stock N] [--clients N] [--sales N] [--billing N]\n"
    "                                [--seed N] [--walk-in PERCENT]\n"
    "       corvanta-db audit [--csv]\n"
    "       corvanta-db backup [DEST]\n"
    "       corvanta-db restore BACKUP\n"
    "       corvanta-db import-legacy SOURCE DEST [--dry-run]\n"
    "       corvanta-db migrate FROM TO\n"
    "\n"
    "create    makes the empty tables of both aliases under DIR/DatabaseFiles and\n"
    "          DIR/DatabaseFilesQVX (existing tables are left alone) and prints the\n"
    "          engine.ini lines that use them.\n"
    "check     opens every table, read-only, through the engine configuration in force,\n"
    "          which checks its fields and indexes, and reports its record count; --deep\n"
    "          also checks each file's structure (reads every page) and that no key of a\n"
    "          unique index is held by more than one record.\n"
    "dump      writes a table as CSV to standard output: a header of field names, then the\n"
    "          records in primary index order.  TABLE: stock.db, clients.DB, NewSales,\n"
    "          TaxRate or BillingShipping (case and the .db ending do not matter).\n"
    "generate  creates the tables under DIR like create and fills the empty ones with\n"
    "          random, realistic records: stock items, clients (client 1 is the walk-in\n"
    "          customer), sales lines in orders (a quarter of them the walk-in customer's),\n"
    "          one billing record per order; prints the engine.ini lines.\n"
    "audit     reads the tables once and lists, per order, stored figures that disagree\n"
    "          with its lines (GrandTotal, TotalTax; by a cent or more), orders without a\n"
    "          billing record, billing records without lines, and lines or billing\n"
    "          records naming a part or customer that is not there.  A table for reading,\n"
    "          --csv for a spreadsheet.  Changes nothing; exit status 1 when anything is\n"
    "          found.\n"
    "backup    copies every table, consistently, while the program may be running, into a\n"
    "          new folder named by date and time under DEST (default: the backup directory\n"
    "          of the engine configuration, $XDG_DATA_HOME/corvanta/backups), with a\n"
    "          manifest of record counts and checksums.  Never overwrites anything.  The\n"
    "          tables on a database server are read in one snapshot, as table files.\n"
    "restore   checks a backup folder (checksums, structure, record counts) and puts it in\n"
    "          place of the tables; refused while the program has them open (on any\n"
    "          workstation of a database server).  The tables it replaces are moved to a\n"
    "          replaced-DATE_TIME folder beside them; on a server they are backed up first\n"
    "          to replaced-DATE_TIME in the backup directory, then all replaced in one\n"
    "          transaction.\n"
    "import-legacy  reads the shop's former table files (stock.db, clients.DB,\n"
    "          NewSales.DB, TaxRate.DB, BillingShipping.DB) from SOURCE or its folders and\n"
    "          writes them as new tables under DEST, which must be new or empty; texts go\n"
    "          from the files' code page to UTF-8, numbers are kept.  Reports per table what\n"
    "          was read, imported and skipped (and why).  The legacy files are only read.\n"
    "          --dry-run does all of it but keeps nothing.\n"
    "migrate   copies every table from FROM to TO, each a data directory (holding\n"
    "          DatabaseFiles and DatabaseFilesQVX) or a database server named as in\n"
    "          engine.ini (postgresql:service=shop); either way.  Refuses a target that\n"
    "          holds records; each table's count is checked before it is committed.\n"
    "\n"
    "The engine configuration in force is $CORVANTA_ENGINE_CONFIG, else\n"
    "$XDG_CONFIG_HOME/corvanta/engine.ini.\n";

using UsageError = DbUsageError;

void printAliases(std::ostream& out, const fs::path& dir) {
  out << "[Aliases]\n"
      << "DatabaseFiles = " << (dir / "DatabaseFiles").string() << "\n"
      << "DatabaseFilesQVX = " << (dir / "DatabaseFilesQVX").string() << "\n";
}

fs::path absoluteDir(const std::string& dir) {
  std::error_code ec;
  fs::path p = fs::absolute(dir, ec);
  return (ec ? fs::path(dir) : p).lexically_normal();
}

int create(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 2) throw UsageError{"create takes one directory"};
  const fs::path dir = absoluteDir(args[1]);
  Engine engine(EngineConfig::forDataDirectory(dir));
  int existed = 0;
  for (const auto& def : shopTables()) {
    auto aliasDir = engine.config().alias(def.alias);
    std::error_code ec;
    if (aliasDir && fs::exists(*aliasDir / def.fileName, ec)) ++existed;
  }
  engine.createMissingTables();
  // Every table, new or old, must open as the program will open it.
  for (const auto& def : shopTables()) TableFile(def, engine.tableFile(def.alias, def));
  out << "; Corvanta tables under " << dir.string() << ": "
      << shopTables().size() - static_cast<size_t>(existed) << " created, " << existed
      << " already there.\n"
      << "; Put these lines in the engine configuration file, or point\n"
      << "; CORVANTA_ENGINE_CONFIG at a file holding them.\n";
  printAliases(out, dir);
  return 0;
}

int check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool deep = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--deep")
      deep = true;
    else
      throw UsageError{"check does not take '" + args[i] + "'"};
  }
  const fs::path configFile = EngineConfig::fileInForce();
  Engine engine(EngineConfig::fromEnvironment());
  out << "Engine configuration: " << configFile.string() << "\n";
  int failed = 0;
  std::string lastAlias;
  for (const auto& def : shopTables()) {
    try {
      if (def.alias != lastAlias) {
        lastAlias = def.alias;
        auto dir = engine.config().alias(def.alias);
        auto server = engine.config().connection(def.alias);
        out << def.alias << " = "
            << (server ? "database server (" + pgConnectionForDisplay(*server) + ")"
                : dir  ? dir->string()
                       : std::string("(not configured)"))
            << "\n";
      }
      if (engine.config().connection(def.alias)) {
        // On a server: the table opened read-only (which checks its fields) and counted.
        auto store = engine.openTable(def.alias, def, /*readOnly=*/true);
        const std::int64_t n = store->count();
        out << "  " << std::left << std::setw(18) << def.tableName << std::right << std::setw(10)
            << n << (n == 1 ? " record" : " records") << "\n";
        continue;
      }
      auto dir = engine.config().alias(def.alias);
      if (!dir) throw Error("Unknown database: " + def.alias);
      std::error_code ec;
      // A check creates nothing: a missing directory is reported, not made.
      if (!fs::exists(*dir, ec))
        throw Error("The directory '" + dir->string() + "' of database " + def.alias +
                    " does not exist (the program makes it, with empty tables, on its first "
                    "start; so does corvanta-db create)");
      // Read-only, and not through the engine's alias directory (which must be writable for
      // the program): a check changes nothing and works where it may only read.
      TableFile file(def, *dir / def.fileName, /*readOnly=*/true);
      const std::int64_t n = file.count();
      out << "  " << std::left << std::setw(18) << def.tableName << std::right << std::setw(10) << n
          << (n == 1 ? " record" : " records");
      if (deep) {
        const std::string result = file.quickCheck();
        if (result != "ok")
          throw Error("Table file '" + file.path().string() + "' is damaged: " + result);
        std::string duplicates;
        for (const std::string& d : file.duplicateKeys())
          duplicates += (duplicates.empty() ? "" : ", ") + d;
        if (!duplicates.empty())
          throw Error("Table file '" + file.path().string() +
                      "' holds a key more than once: " + duplicates);
        out << ", structure ok";
      }
      out << "\n";
    } catch (const Error& e) {
      ++failed;
      out << "  " << std::left << std::setw(18) << def.tableName << std::right << "  FAILED\n";
      err << "corvanta-db: " << def.tableName << ": " << e.what() << "\n";
    }
  }
  if (failed) {
    out << failed << " of " << shopTables().size() << " tables failed the check.\n";
    return 1;
  }
  out << shopTables().size() << " tables checked, all fine.\n";
  return 0;
}

void appendCsvText(std::string& buf, const std::string& s) {
  const bool quote = s.find_first_of(",\"\r\n") != std::string::npos ||
                     (!s.empty() && (s.front() == ' ' || s.back() == ' '));
  if (!quote) {
    buf += s;
    return;
  }
  buf += '"';
  for (char c : s) {
    if (c == '"') buf += '"';
    buf += c;
  }
  buf += '"';
}

void appendCsvValue(std::string& buf, const Value& v) {
  char num[32];
  if (const auto* s = std::get_if<std::string>(&v)) {
    appendCsvText(buf, *s);
  } else if (const auto* d = std::get_if<double>(&v)) {
    // The shortest text that reads back as the same double.
    auto r = std::to_chars(num, num + sizeof num, *d);
    buf.append(num, r.ptr);
  } else if (const auto* i = std::get_if<std::int64_t>(&v)) {
    auto r = std::to_chars(num, num + sizeof num, *i);
    buf.append(num, r.ptr);
  }
}

int dump(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 2) throw UsageError{"dump takes one table name"};
  const TableDef* def = findTableDef(args[1]);
  if (!def)
    throw Error("'" + args[1] +
                "' is not a table of this shop (stock.db, clients.DB, NewSales, TaxRate, "
                "BillingShipping)");
  Engine engine(EngineConfig::fromEnvironment());
  auto store = engine.openTable(def->alias, *def, /*readOnly=*/true);
  TableStore& file = *store;
  std::string buf;
  for (size_t i = 0; i < def->fields.size(); ++i) {
    if (i) buf += ',';
    appendCsvText(buf, def->fields[i].name);
  }
  buf += '\n';
  file.scan(def->indexes.front(), [&](const Row& row) {
    for (size_t i = 0; i < row.values.size(); ++i) {
      if (i) buf += ',';
      appendCsvValue(buf, row.values[i]);
    }
    buf += '\n';
    if (buf.size() > (1 << 16)) {
      out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
      buf.clear();
    }
    return static_cast<bool>(out);
  });
  out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
  out.flush();
  if (!out) throw Error("Cannot write the dump to the standard output");
  return 0;
}

std::int64_t count(const std::string& option, const std::string& text) {
  std::int64_t n = -1;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || p != text.data() + text.size() || n < 0)
    throw UsageError{option + " takes a whole number of 0 or more, not '" + text + "'"};
  return n;
}

int generate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 2 || args[1].rfind("--", 0) == 0)
    throw UsageError{"generate takes a directory"};
  GenerateOptions o;
  for (size_t i = 2; i < args.size(); ++i) {
    std::string name = args[i], value;
    if (auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw UsageError{name + " needs a value"};
    }
    const std::int64_t n = count(name, value);
    if (name == "--stock")
      o.stock = n;
    else if (name == "--clients")
      o.clients = n;
    else if (name == "--sales")
      o.sales = n;
    else if (name == "--billing")
      o.billing = n;
    else if (name == "--seed")
      o.seed = static_cast<std::uint32_t>(n);
    else if (name == "--walk-in" && n <= 100)
      o.walkInPercent = static_cast<int>(n);
    else
      throw UsageError{"generate does not take '" + args[i] + "'"};
  }
  if (o.stock + o.clients + o.sales + o.billing == 0)
    throw UsageError{"generate needs at least one of --stock, --clients, --sales, --billing"};
  const fs::path dir = absoluteDir(args[1]);
  Engine engine(EngineConfig::forDataDirectory(dir));
  generateTables(engine, o,
                 [&](const std::string& line) { err << "corvanta-db: " << line << "\n"; });
  out << "; Corvanta tables under " << dir.string() << ", filled with generated records.\n"
      << "; Put these lines in the engine configuration file, or point\n"
      << "; CORVANTA_ENGINE_CONFIG at a file holding them.\n";
  printAliases(out, dir);
  return 0;
}

}  // namespace

int runDbTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    if (args.empty()) throw UsageError{""};
    const std::string& cmd = args[0];
    if (cmd == "-h" || cmd == "--help" || cmd == "help") {
      out << kUsage;
      return 0;
    }
    if (cmd == "create") return create(args, out);
    if (cmd == "check") return check(args, out, err);
    if (cmd == "dump") return dump(args, out);
    if (cmd == "generate") return generate(args, out, err);
    if (cmd == "audit") return auditCommand(args, out);
    if (cmd == "backup") return backupCommand(args, out);
    if (cmd == "restore") return restoreCommand(args, out);
    if (cmd == "import-legacy") return importLegacyCommand(args, out);
    if (cmd == "migrate") return migrateCommand(args, out);
    throw UsageError{"unknown command '" + cmd + "'"};
  } catch (const UsageError& e) {
    if (!e.text.empty()) err << "corvanta-db: " << e.text << "\n";
    err << kUsage;
    return 2;
  } catch (const std::exception& e) {
    out.flush();
    err << "corvanta-db: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace corvanta
