// The benchmark's data sets on a database server: the server, and each set's tables loaded
// there from its local files.
#include <libpq-fe.h>
#include <sqlite3.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "BenchData.h"
#include "RawPg.h"
#include "data/engine/TableSchema.h"

#ifndef CORVANTA_SOURCE_DIR
#define CORVANTA_SOURCE_DIR "."
#endif

namespace corvanta::bench {

namespace fs = std::filesystem;

namespace {

// The state file of the cluster the benchmark started itself, stopped when the program ends.
fs::path& ownClusterState() {
  static fs::path state;
  return state;
}

void stopOwnCluster() {
  const fs::path& state = ownClusterState();
  if (state.empty()) return;
  const std::string cmd = "'" CORVANTA_SOURCE_DIR "/scripts/test-database.sh' stop '" +
                          state.string() + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0)
    std::fprintf(stderr, "could not stop the benchmark's database server (%s)\n", state.c_str());
}

// $CORVANTA_BENCH_SERVER, else the benchmark's own cluster: made once under bench-data/pg
// (so that loaded sets survive between runs), listening on 127.0.0.1 only.
const std::string& serverConninfo() {
  static const std::string conninfo = [] {
    if (const char* v = std::getenv("CORVANTA_BENCH_SERVER"); v && *v) return std::string(v);
    const fs::path root = benchDataRoot();
    fs::create_directories(root);
    const fs::path state = root / "pg-state";
    std::fprintf(stderr, "Starting the benchmark's database server in %s...\n",
                 (root / "pg").c_str());
    const std::string cmd = "'" CORVANTA_SOURCE_DIR "/scripts/test-database.sh' start '" +
                            state.string() + "' '" + (root / "pg").string() + "' >&2";
    if (std::system(cmd.c_str()) != 0)
      throw std::runtime_error("the benchmark's database server did not start");
    ownClusterState() = state;
    std::atexit(stopOwnCluster);
    std::ifstream in(state);
    std::string line;
    std::getline(in, line);
    if (line.empty() || line.rfind("skip:", 0) == 0)
      throw std::runtime_error("no database server for the benchmark: " + line +
                               " (set CORVANTA_BENCH_SERVER to a connection string)");
    return line;
  }();
  return conninfo;
}

// The connection string with the set's schema first on the search path, so that the
// engine's unqualified table names find the set's tables.
std::string withSchema(const std::string& conninfo, const std::string& schema) {
  if (conninfo.rfind("postgresql://", 0) == 0 || conninfo.rfind("postgres://", 0) == 0)
    return conninfo + (conninfo.find('?') == std::string::npos ? "?" : "&") +
           "options=-csearch_path%3D" + schema;
  return conninfo + " options=-csearch_path=" + schema;
}

std::string quoted(const std::string& n) {
  return "\"" + n + "\"";
}

// A value in COPY's text form: \N for an empty field, backslash escapes in texts.
void appendCopyText(std::string& out, sqlite3_stmt* st, int col, FieldType type) {
  if (sqlite3_column_type(st, col) == SQLITE_NULL) {
    out += "\\N";
    return;
  }
  char buf[32];
  switch (type) {
    case FieldType::AutoInc:
      out.append(buf, std::to_chars(buf, buf + sizeof buf, sqlite3_column_int64(st, col)).ptr);
      return;
    case FieldType::Float:
      out.append(buf, std::to_chars(buf, buf + sizeof buf, sqlite3_column_double(st, col)).ptr);
      return;
    case FieldType::Text:
      break;
  }
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
  const int n = sqlite3_column_bytes(st, col);
  for (int i = 0; i < n; ++i) switch (p[i]) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += p[i];
    }
}

// Copies one table's records, row ids included, from its local file with COPY.
void copyTable(RawPgConn& db, const DataSet& local, const TableDef& def) {
  int autoInc = -1;
  for (size_t i = 0; i < def.fields.size(); ++i)
    if (def.fields[i].type == FieldType::AutoInc) autoInc = static_cast<int>(i);
  // The auto-increment field is the row id on the server; other tables have a hidden one.
  std::string columns = autoInc >= 0 ? "" : "rowid";
  std::string select = "SELECT rowid";
  for (const auto& f : def.fields) {
    columns += (columns.empty() ? "" : ", ") + quoted(f.name);
    select += ", " + quoted(f.name);
  }
  select += " FROM " + quoted(def.sqlName);
  sqlite3* src = nullptr;
  sqlite3_open_v2(local.file(def.tableName).c_str(), &src, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(src, select.c_str(), -1, &st, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(src));
  PGresult* r = PQexec(db.handle(),
                       ("COPY " + quoted(def.sqlName) + " (" + columns + ") FROM STDIN").c_str());
  if (PQresultStatus(r) != PGRES_COPY_IN) throw std::runtime_error(PQresultErrorMessage(r));
  PQclear(r);
  std::string chunk;
  auto flush = [&] {
    if (PQputCopyData(db.handle(), chunk.data(), static_cast<int>(chunk.size())) != 1)
      throw std::runtime_error(PQerrorMessage(db.handle()));
    chunk.clear();
  };
  while (sqlite3_step(st) == SQLITE_ROW) {
    if (autoInc < 0) appendCopyText(chunk, st, 0, FieldType::AutoInc);
    for (size_t i = 0; i < def.fields.size(); ++i) {
      if (autoInc < 0 || i > 0) chunk += '\t';
      appendCopyText(chunk, st, static_cast<int>(i) + 1, def.fields[i].type);
    }
    chunk += '\n';
    if (chunk.size() > (1 << 20)) flush();
  }
  flush();
  sqlite3_finalize(st);
  sqlite3_close(src);
  if (PQputCopyEnd(db.handle(), nullptr) != 1)
    throw std::runtime_error(PQerrorMessage(db.handle()));
  r = PQgetResult(db.handle());
  const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
  const std::string msg = PQresultErrorMessage(r);
  PQclear(r);
  while ((r = PQgetResult(db.handle()))) PQclear(r);
  if (!ok) throw std::runtime_error("COPY into " + def.sqlName + ": " + msg);
  // New records continue the numbers, as they would after these records were posted.
  const std::string rowid = autoInc >= 0 ? def.fields[static_cast<size_t>(autoInc)].name : "rowid";
  db.exec("SELECT setval(pg_get_serial_sequence('" + quoted(def.sqlName) + "', '" + rowid +
          "'), max(" + quoted(rowid) + ")) FROM " + quoted(def.sqlName));
  db.exec("VACUUM (ANALYZE) " + quoted(def.sqlName));
}

// Loads the set into its schema unless the schema holds this very set already (its comment
// records the counts).
void ensureLoaded(const DataSet& local, const std::string& schema, const std::string& conninfo,
                  Engine& engine) {
  RawPgConn db(serverConninfo());
  PGresult* r = PQexecParams(
      db.handle(), "SELECT obj_description(to_regnamespace($1)::oid, 'pg_namespace')", 1, nullptr,
      std::vector<const char*>{schema.c_str()}.data(), nullptr, nullptr, 0);
  const bool loaded = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 &&
                      !PQgetisnull(r, 0, 0) && describeCounts(local.counts) == PQgetvalue(r, 0, 0);
  PQclear(r);
  if (loaded) return;
  std::fprintf(stderr, "Loading the %s set into the database server (once; reused afterwards)...\n",
               local.label.c_str());
  db.exec("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
  db.exec("CREATE SCHEMA " + schema);
  // The engine makes the tables and their indexes as a workstation's first start does.
  for (const auto& def : shopTables()) engine.openTable(def.alias, def);
  RawPgConn into(conninfo);
  for (const auto& def : shopTables()) {
    std::fprintf(stderr, "  %s\n", def.tableName.c_str());
    copyTable(into, local, def);
  }
  std::string comment = describeCounts(local.counts);
  db.exec("COMMENT ON SCHEMA " + schema + " IS '" + comment + "'");
}

}  // namespace

DataSet& serverData(DataSet& local) {
  static std::map<std::string, std::unique_ptr<DataSet>> sets;
  auto& d = sets[local.label];
  if (d) return *d;
  d = std::make_unique<DataSet>();
  d->label = local.label;
  d->dir = local.dir;
  d->counts = local.counts;
  std::string schema = "corvanta_bench_" + local.label;
  for (char& c : schema) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  d->server = withSchema(serverConninfo(), schema);
  EngineConfig config;
  const bool uri = d->server.find("://") != std::string::npos;
  for (const char* alias : {"DatabaseFiles", "DatabaseFilesQVX"})
    config.setAlias(alias, uri ? d->server : "postgresql:" + d->server);
  d->engine = std::make_unique<Engine>(config);
  ensureLoaded(local, schema, d->server, *d->engine);
  d->keys = local.keys;
  d->descriptionPrefixes = local.descriptionPrefixes;
  d->lastNamePrefixes = local.lastNamePrefixes;
  d->walkInLines = local.walkInLines;
  return *d;
}

}  // namespace corvanta::bench
