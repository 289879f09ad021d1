#pragma once
// Thin RAII wrappers over libpq.  Every failure becomes a corvanta::Error carrying the
// server's own text, prefixed with what the engine was doing; a unique-key failure is told
// apart by its SQLSTATE so the store can turn it into the shop's "Key violation." message.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/engine/Value.h"

struct pg_conn;
struct pg_result;

namespace corvanta {

// One result of a statement: rows of texts, an empty field being NULL.
class PgResult {
 public:
  explicit PgResult(pg_result* r) : r_(r) {}
  ~PgResult();
  PgResult(PgResult&& o) noexcept : r_(o.r_) { o.r_ = nullptr; }
  PgResult(const PgResult&) = delete;
  PgResult& operator=(const PgResult&) = delete;

  int rows() const;
  int columns() const;
  bool isNull(int row, int col) const;
  std::string text(int row, int col) const;
  std::int64_t integer(int row, int col) const;
  // How many rows an INSERT, UPDATE or DELETE touched.
  std::int64_t affected() const;

 private:
  pg_result* r_;
};

// A statement refused because a unique index already holds the key (SQLSTATE 23505).
class PgUniqueViolation : public std::exception {
 public:
  const char* what() const noexcept override { return "unique violation"; }
};

class PgConnection {
 public:
  // Connects with a libpq connection string or URI ("service=shop", "host=... dbname=...");
  // `name` is what messages call the database.  Passwords and TLS come from libpq's own
  // files (~/.pgpass, pg_service.conf) and environment, never from here.
  PgConnection(const std::string& conninfo, std::string name);
  ~PgConnection();
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  const std::string& name() const { return name_; }

  // Runs one statement with parameters ($1, $2...) passed as text, an empty Value as NULL.
  // Throws PgUniqueViolation for a duplicate key, else an Error naming the database; a lost
  // connection says so (the statement did not happen, or happened whole: each statement
  // outside a transaction is one).
  PgResult exec(const std::string& sql, const std::vector<Value>& params = {});
  // Runs statements without parameters and results (CREATE ...).
  void command(const std::string& sql);

  // A transaction: while one is open a lost connection is never silently replaced, so that
  // what remains of the transaction cannot run on its own outside it.  Rolling back on a
  // lost connection only forgets the transaction (the server has dropped it already).
  // `mode` follows BEGIN ("ISOLATION LEVEL REPEATABLE READ READ ONLY").
  void begin(const std::string& mode = "");
  void commit();
  void rollback();
  // Counts the server sessions this connection has had: session locks live as long as one.
  std::uint64_t session() const { return session_; }

  // "Tables in use": a session lock on the shop's tables of this database (the schema they
  // are made in), held shared by every connection that may write them and exclusively by a
  // restore.  holdTablesInUse() takes it shared for the rest of this connection's life, and
  // again on every new session after a lost connection; it throws an Error, and no
  // statement runs, while a restore holds it.
  void holdTablesInUse();
  // Takes it exclusively without waiting, for this session: false while any other connection
  // holds it.
  bool takeTablesExclusively();

  // COPY ... FROM STDIN: `rows` is called with a writer of one row at a time until it
  // returns.  Throws like exec; the rows then are not stored.
  using RowWriter = std::function<void(const std::vector<Value>&)>;
  void copyIn(const std::string& sql, const std::function<void(const RowWriter&)>& rows);

 private:
  [[noreturn]] void fail(pg_result* r);
  void reconnectIfLost();
  void askToBeGivenUpWhenSilent();
  // Runs a statement that needs no parameters and gives one boolean.
  bool ask(const char* sql);

  pg_conn* conn_ = nullptr;
  std::string name_;
  // Statements prepared on the server in this session, by their text: the server parses and
  // plans each once, as SQLite's prepared statements are.
  std::map<std::string, std::string> prepared_;
  bool inTransaction_ = false;
  std::uint64_t session_ = 0;
  bool wantsTablesInUse_ = false;
  bool holdsTablesInUse_ = false;
};

// A transaction around a write and the work that goes with it, rolled back unless committed.
// Not opened when `needed` is false (inside a bulk load, which is one transaction already).
class PgTransaction {
 public:
  PgTransaction(PgConnection& db, bool needed);
  ~PgTransaction();
  PgTransaction(const PgTransaction&) = delete;
  PgTransaction& operator=(const PgTransaction&) = delete;
  void commit();

 private:
  PgConnection& db_;
  bool open_;
};

// A connection string as it may be shown: every setting libpq reads from it, in
// keyword=value form, except a password, which is never shown even when one was given.
std::string pgConnectionForDisplay(const std::string& conninfo);

// A double quoted identifier ("Street/2").
std::string pgIdent(const std::string& name);
// A float as text that reads back as the very same double.
std::string pgFloatText(double d);

}  // namespace corvanta
