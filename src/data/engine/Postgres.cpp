#include "data/engine/Postgres.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstring>
#include <exception>

#include "ui/Error.h"

namespace corvanta {

PgResult::~PgResult() {
  PQclear(r_);
}
int PgResult::rows() const {
  return PQntuples(r_);
}
int PgResult::columns() const {
  return PQnfields(r_);
}
bool PgResult::isNull(int row, int col) const {
  return PQgetisnull(r_, row, col) != 0;
}
std::string PgResult::text(int row, int col) const {
  return std::string(PQgetvalue(r_, row, col), static_cast<size_t>(PQgetlength(r_, row, col)));
}
std::int64_t PgResult::integer(int row, int col) const {
  const char* p = PQgetvalue(r_, row, col);
  std::int64_t n = 0;
  std::from_chars(p, p + std::strlen(p), n);
  return n;
}
std::int64_t PgResult::affected() const {
  const char* p = PQcmdTuples(r_);
  std::int64_t n = 0;
  std::from_chars(p, p + std::strlen(p), n);
  return n;
}

namespace {

void quietNotices(void*, const char*) {
  // Notices ("relation already exists, skipping") are not errors and not for the person.
}

// The "tables in use" lock of the shop's tables: one per schema, so that shops (and tests)
// in schemas of one database never wait for each other.  The two-number form keeps it apart
// from the one-number locks of command owners.
constexpr const char* kTakeTablesShared =
    "SELECT pg_try_advisory_lock_shared(7318005, hashtext(coalesce(current_schema(), '')))";
constexpr const char* kTakeTablesExclusively =
    "SELECT pg_try_advisory_lock(7318005, hashtext(coalesce(current_schema(), '')))";

// One field of a COPY row in the text format: tab, newline, carriage return and backslash
// escaped, an empty field as \N.
void appendCopyField(std::string& buf, const Value& v) {
  if (const auto* d = std::get_if<double>(&v)) {
    buf += pgFloatText(*d);
  } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
    buf += std::to_string(*n);
  } else if (const auto* s = std::get_if<std::string>(&v)) {
    for (char c : *s) switch (c) {
        case '\\':
          buf += "\\\\";
          break;
        case '\t':
          buf += "\\t";
          break;
        case '\n':
          buf += "\\n";
          break;
        case '\r':
          buf += "\\r";
          break;
        default:
          buf += c;
      }
  } else {
    buf += "\\N";
  }
}

}  // namespace

PgConnection::PgConnection(const std::string& conninfo, std::string name) : name_(std::move(name)) {
  conn_ = PQconnectdb(conninfo.c_str());
  if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
    std::string msg = conn_ ? PQerrorMessage(conn_) : "out of memory";
    while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
    PQfinish(conn_);
    conn_ = nullptr;
    throw Error("Cannot connect to the database " + name_ + ": " + msg);
  }
  PQsetNoticeProcessor(conn_, quietNotices, nullptr);
  // Texts travel as UTF-8 whatever the server's or the machine's locale.
  PQsetClientEncoding(conn_, "UTF8");
  askToBeGivenUpWhenSilent();
}

void PgConnection::askToBeGivenUpWhenSilent() {
  // A workstation whose machine dies (a power cut, a pulled cable) keeps its session, and the
  // locks by which the others know it still runs, until the server finds the connection
  // dead: with the system's defaults after two hours, during which no start finishes the
  // command it was in the middle of.  Unless the server's administrator chose otherwise, the
  // session is given up after about 90 seconds of silence (60, then 3 probes 10 apart).
  exec(
      "SELECT set_config(name, CASE name WHEN 'tcp_keepalives_idle' THEN '60' "
      "WHEN 'tcp_keepalives_interval' THEN '10' ELSE '3' END, false) FROM pg_settings "
      "WHERE name IN ('tcp_keepalives_idle', 'tcp_keepalives_interval', "
      "'tcp_keepalives_count') AND source = 'default'");
}

PgConnection::~PgConnection() {
  PQfinish(conn_);
}

void PgConnection::reconnectIfLost() {
  // A connection dropped by a server restart is tried again once before the next statement;
  // if that fails the statement fails with the server's message, as any other.  Never in
  // the middle of a transaction: its earlier statements are gone with the old session.
  if (PQstatus(conn_) == CONNECTION_BAD) {
    if (inTransaction_)
      throw Error("The connection to the database " + name_ +
                  " was lost; what was being stored has not been stored");
    PQreset(conn_);
    prepared_.clear();          // they went with the old session
    holdsTablesInUse_ = false;  // and so did its locks
    if (PQstatus(conn_) == CONNECTION_OK) {
      ++session_;
      PQsetClientEncoding(conn_, "UTF8");
      askToBeGivenUpWhenSilent();
    }
  }
  // A new session writes nothing before it holds the tables-in-use lock again: a restore
  // may have begun while the old one was gone.
  if (wantsTablesInUse_ && !holdsTablesInUse_ && PQstatus(conn_) == CONNECTION_OK) {
    if (!ask(kTakeTablesShared))
      throw Error("The tables of database " + name_ +
                  " are being restored from a backup; start the program again when the "
                  "restore has finished");
    holdsTablesInUse_ = true;
  }
}

bool PgConnection::ask(const char* sql) {
  pg_result* r = PQexec(conn_, sql);
  if (!r || PQresultStatus(r) != PGRES_TUPLES_OK || PQntuples(r) != 1) fail(r);
  const bool yes = std::strcmp(PQgetvalue(r, 0, 0), "t") == 0;
  PQclear(r);
  return yes;
}

void PgConnection::holdTablesInUse() {
  wantsTablesInUse_ = true;
  reconnectIfLost();
}

bool PgConnection::takeTablesExclusively() {
  reconnectIfLost();
  return ask(kTakeTablesExclusively);
}

void PgConnection::begin(const std::string& mode) {
  command(mode.empty() ? "BEGIN" : "BEGIN " + mode);
  inTransaction_ = true;
}

void PgConnection::commit() {
  // Whatever happens to the COMMIT, the transaction is over: committed, or dropped whole.
  inTransaction_ = false;
  command("COMMIT");
}

void PgConnection::rollback() {
  const bool lost = PQstatus(conn_) == CONNECTION_BAD;
  inTransaction_ = false;
  if (!lost) command("ROLLBACK");
}

PgTransaction::PgTransaction(PgConnection& db, bool needed) : db_(db), open_(needed) {
  if (open_) db_.begin();
}

PgTransaction::~PgTransaction() {
  if (!open_) return;
  try {
    db_.rollback();
  } catch (const Error&) {
    // The server ends a transaction whose connection is gone by itself.
  }
}

void PgTransaction::commit() {
  if (!open_) return;
  open_ = false;
  db_.commit();
}

PgResult PgConnection::exec(const std::string& sql, const std::vector<Value>& params) {
  reconnectIfLost();
  std::vector<std::string> texts(params.size());
  std::vector<const char*> ptrs(params.size(), nullptr);
  for (size_t i = 0; i < params.size(); ++i) {
    const Value& v = params[i];
    if (const auto* d = std::get_if<double>(&v))
      texts[i] = pgFloatText(*d);
    else if (const auto* n = std::get_if<std::int64_t>(&v))
      texts[i] = std::to_string(*n);
    else if (const auto* s = std::get_if<std::string>(&v))
      texts[i] = *s;
    else
      continue;
    ptrs[i] = texts[i].c_str();
  }
  auto it = prepared_.find(sql);
  if (it == prepared_.end()) {
    const std::string name = "s" + std::to_string(prepared_.size());
    pg_result* p =
        PQprepare(conn_, name.c_str(), sql.c_str(), static_cast<int>(params.size()), nullptr);
    const ExecStatusType ps = p ? PQresultStatus(p) : PGRES_FATAL_ERROR;
    if (ps != PGRES_COMMAND_OK) fail(p);
    PQclear(p);
    it = prepared_.emplace(sql, name).first;
  }
  pg_result* r = PQexecPrepared(conn_, it->second.c_str(), static_cast<int>(params.size()),
                                ptrs.data(), nullptr, nullptr, 0);
  const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
  if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) fail(r);
  return PgResult(r);
}

void PgConnection::command(const std::string& sql) {
  reconnectIfLost();
  pg_result* r = PQexec(conn_, sql.c_str());
  const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
  if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) fail(r);
  PQclear(r);
}

void PgConnection::copyIn(const std::string& sql,
                          const std::function<void(const RowWriter&)>& rows) {
  reconnectIfLost();
  pg_result* start = PQexec(conn_, sql.c_str());
  if (!start || PQresultStatus(start) != PGRES_COPY_IN) fail(start);
  PQclear(start);
  std::string buf;
  const auto send = [&] {
    if (PQputCopyData(conn_, buf.data(), static_cast<int>(buf.size())) != 1)
      throw Error("The connection to the database " + name_ + " was lost");
    buf.clear();
  };
  std::exception_ptr stopped;
  try {
    rows([&](const std::vector<Value>& row) {
      for (size_t i = 0; i < row.size(); ++i) {
        if (i) buf += '\t';
        appendCopyField(buf, row[i]);
      }
      buf += '\n';
      if (buf.size() > (1 << 16)) send();
    });
    if (!buf.empty()) send();
  } catch (...) {
    stopped = std::current_exception();
  }
  // Ended with an error text, the server drops every row sent.
  PQputCopyEnd(conn_, stopped ? "stopped by the program" : nullptr);
  pg_result* failed = nullptr;
  while (pg_result* r = PQgetResult(conn_)) {
    if (!failed && PQresultStatus(r) != PGRES_COMMAND_OK)
      failed = r;
    else
      PQclear(r);
  }
  if (stopped) {
    PQclear(failed);
    std::rethrow_exception(stopped);
  }
  if (failed) fail(failed);
}

void PgConnection::fail(pg_result* r) {
  const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
  const bool unique = state && std::strcmp(state, "23505") == 0;
  std::string msg = r ? PQresultErrorMessage(r) : "";
  if (msg.empty()) msg = PQerrorMessage(conn_);
  PQclear(r);
  if (unique) throw PgUniqueViolation();
  while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
  if (PQstatus(conn_) == CONNECTION_BAD)
    throw Error("The connection to the database " + name_ + " was lost: " + msg);
  throw Error("Database " + name_ + ": " + msg);
}

std::string pgConnectionForDisplay(const std::string& conninfo) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
  if (!options) {
    PQfreemem(error);
    return "a connection string libpq cannot read";
  }
  std::string out;
  for (PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || !*o->val) continue;
    // "*" marks the settings libpq itself hides (the password and any other secret).
    if (std::strcmp(o->keyword, "password") == 0 || (o->dispchar && o->dispchar[0] == '*'))
      continue;
    std::string value;
    for (const char* c = o->val; *c; ++c) {
      if (*c == '\'' || *c == '\\') value += '\\';
      value += *c;
    }
    const bool quote = value.empty() || value.find_first_of(" \t\'\\") != std::string::npos;
    out += (out.empty() ? "" : " ") + std::string(o->keyword) + "=" +
           (quote ? "'" + value + "'" : value);
  }
  PQconninfoFree(options);
  return out;
}

std::string pgIdent(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string pgFloatText(double d) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, d);  // shortest text that reads back exactly
  return std::string(buf, res.ptr);
}

}  // namespace corvanta
