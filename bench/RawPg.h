#pragma once
// The raw libpq baseline on a database server: one connection, statements prepared once on
// the server, parameters bound as text into reused buffers, and every column of a result row
// read into a reused buffer of typed values (what the engine's store does with its rows).
#include <libpq-fe.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/engine/Value.h"

namespace corvanta::bench {

class RawPgConn {
 public:
  explicit RawPgConn(const std::string& conninfo);
  ~RawPgConn() { PQfinish(conn_); }
  RawPgConn(const RawPgConn&) = delete;
  RawPgConn& operator=(const RawPgConn&) = delete;
  PGconn* handle() const { return conn_; }
  // Runs statements without parameters; throws with the server's message.
  void exec(const std::string& sql);
  std::string nextStatementName() { return "raw" + std::to_string(statements_++); }

 private:
  PGconn* conn_ = nullptr;
  int statements_ = 0;
};

class RawPgStmt {
 public:
  RawPgStmt(RawPgConn& db, const std::string& sql, int params);
  RawPgStmt(const RawPgStmt&) = delete;
  RawPgStmt& operator=(const RawPgStmt&) = delete;

  RawPgStmt& bind(int i, const Value& v);  // 1-based, as $1
  RawPgStmt& bind(int i, std::int64_t v) { return bind(i, Value(v)); }
  // Runs the statement; on a row, reads every column of the first row into `row` (column 0
  // the row id).  False when it returned no row.
  bool fetch(std::vector<Value>& row);
  // Runs a statement; returns how many rows it touched.
  std::int64_t run();
  // Runs a statement that returns one integer (INSERT ... RETURNING).
  std::int64_t runInteger();

 private:
  PGresult* execute();

  RawPgConn& db_;
  std::string name_;
  std::vector<std::string> texts_;
  std::vector<const char*> values_;
};

}  // namespace corvanta::bench
