#include "RawPg.h"

#include <charconv>
#include <cstring>
#include <stdexcept>

namespace corvanta::bench {

namespace {

constexpr Oid kInt8 = 20, kInt4 = 23, kFloat8 = 701;

[[noreturn]] void fail(PGconn* c, PGresult* r, const std::string& what) {
  std::string msg = r ? PQresultErrorMessage(r) : PQerrorMessage(c);
  PQclear(r);
  throw std::runtime_error(what + ": " + msg);
}

}  // namespace

RawPgConn::RawPgConn(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
  if (PQstatus(conn_) != CONNECTION_OK)
    throw std::runtime_error("cannot connect: " + std::string(PQerrorMessage(conn_)));
  PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
}

void RawPgConn::exec(const std::string& sql) {
  PGresult* r = PQexec(conn_, sql.c_str());
  const auto st = PQresultStatus(r);
  if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) fail(conn_, r, sql);
  PQclear(r);
}

RawPgStmt::RawPgStmt(RawPgConn& db, const std::string& sql, int params)
    : db_(db),
      name_(db.nextStatementName()),
      texts_(static_cast<size_t>(params)),
      values_(static_cast<size_t>(params), nullptr) {
  PGresult* r = PQprepare(db_.handle(), name_.c_str(), sql.c_str(), params, nullptr);
  if (PQresultStatus(r) != PGRES_COMMAND_OK) fail(db_.handle(), r, sql);
  PQclear(r);
}

RawPgStmt& RawPgStmt::bind(int i, const Value& v) {
  const size_t k = static_cast<size_t>(i - 1);
  std::string& t = texts_[k];
  char buf[32];
  if (const auto* d = std::get_if<double>(&v)) {
    t.assign(buf, std::to_chars(buf, buf + sizeof buf, *d).ptr);
  } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
    t.assign(buf, std::to_chars(buf, buf + sizeof buf, *n).ptr);
  } else if (const auto* s = std::get_if<std::string>(&v)) {
    t = *s;
  } else {
    values_[k] = nullptr;
    return *this;
  }
  values_[k] = t.c_str();
  return *this;
}

PGresult* RawPgStmt::execute() {
  PGresult* r = PQexecPrepared(db_.handle(), name_.c_str(), static_cast<int>(values_.size()),
                               values_.data(), nullptr, nullptr, 0);
  const auto st = PQresultStatus(r);
  if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) fail(db_.handle(), r, name_);
  return r;
}

bool RawPgStmt::fetch(std::vector<Value>& row) {
  PGresult* r = execute();
  if (PQntuples(r) == 0) {
    PQclear(r);
    return false;
  }
  const int n = PQnfields(r);
  row.resize(static_cast<size_t>(n));
  for (int c = 0; c < n; ++c) {
    Value& v = row[static_cast<size_t>(c)];
    if (PQgetisnull(r, 0, c)) {
      v = std::monostate{};
      continue;
    }
    const char* p = PQgetvalue(r, 0, c);
    const auto len = static_cast<size_t>(PQgetlength(r, 0, c));
    switch (PQftype(r, c)) {
      case kInt8:
      case kInt4: {
        std::int64_t x = 0;
        std::from_chars(p, p + len, x);
        v = x;
        break;
      }
      case kFloat8: {
        double x = 0;
        std::from_chars(p, p + len, x);
        v = x;
        break;
      }
      default:
        if (auto* s = std::get_if<std::string>(&v))
          s->assign(p, len);
        else
          v = std::string(p, len);
    }
  }
  PQclear(r);
  return true;
}

std::int64_t RawPgStmt::run() {
  PGresult* r = execute();
  const char* p = PQcmdTuples(r);
  std::int64_t n = 0;
  std::from_chars(p, p + std::strlen(p), n);
  PQclear(r);
  return n;
}

std::int64_t RawPgStmt::runInteger() {
  PGresult* r = execute();
  std::int64_t n = 0;
  if (PQntuples(r) > 0) {
    const char* p = PQgetvalue(r, 0, 0);
    std::from_chars(p, p + PQgetlength(r, 0, 0), n);
  }
  PQclear(r);
  return n;
}

}  // namespace corvanta::bench
