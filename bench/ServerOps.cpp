// The raw libpq side of every operation on a database server: the statements the engine's
// server store sends for the same work (its texts, casts and order), each prepared once on
// its own connection, with the row read into a reused buffer.
#include <memory>

#include "Ops.h"
#include "RawPg.h"
#include "data/engine/Table.h"
#include "data/engine/TableSchema.h"

namespace corvanta::bench {

namespace {

std::string quoted(const std::string& n) {
  return "\"" + n + "\"";
}

// How the store spells one table's statements on the server.
struct PgSql {
  const TableDef* def;
  const IndexDef* ix = nullptr;
  std::string rowid;   // the auto-increment field, else the hidden "rowid"
  std::string select;  // "SELECT rowid, fields... FROM table "
  bool keyIsRowid = true;
  std::string key;  // lower("Field") on a case-insensitive index
  std::string keyParam;
  int keyColumn = 0;  // in a fetched row: 0 is the row id

  PgSql(const std::string& table, const std::string& index) : def(findTableDef(table)) {
    int autoInc = -1;
    for (size_t i = 0; i < def->fields.size(); ++i)
      if (def->fields[i].type == FieldType::AutoInc) autoInc = static_cast<int>(i);
    rowid = autoInc >= 0 ? quoted(def->fields[static_cast<size_t>(autoInc)].name) : "rowid";
    select = "SELECT " + rowid;
    for (const auto& f : def->fields) select += ", " + quoted(f.name);
    select += " FROM " + quoted(def->sqlName) + " ";
    ix = def->findIndex(index);
    keyIsRowid = ix->field.empty() || def->fieldIndex(ix->field) == autoInc;
    if (!ix->field.empty()) keyColumn = def->fieldIndex(ix->field) + 1;
    if (keyIsRowid) {
      key = rowid;
      keyParam = "$1::bigint";
      return;
    }
    key = ix->noCase ? "lower(" + quoted(ix->field) + ")" : quoted(ix->field);
    if (def->fields[static_cast<size_t>(def->fieldIndex(ix->field))].type == FieldType::Float)
      keyParam = "$1::double precision";
    else
      keyParam = ix->noCase ? "lower($1::text COLLATE \"C\")" : "$1::text COLLATE \"C\"";
  }
  std::string ascending() const {
    return keyIsRowid ? " ORDER BY " + rowid : " ORDER BY " + key + " NULLS FIRST, " + rowid;
  }
  std::string descending() const {
    return keyIsRowid ? " ORDER BY " + rowid + " DESC"
                      : " ORDER BY " + key + " DESC NULLS LAST, " + rowid + " DESC";
  }
  std::string after() const {
    if (keyIsRowid) return select + "WHERE " + rowid + " > $1" + ascending() + " LIMIT 1";
    return select + "WHERE (" + key + ", " + rowid + ") > (" + keyParam + ", $2::bigint)" +
           ascending() + " LIMIT 1";
  }
  std::string before() const {
    if (keyIsRowid) return select + "WHERE " + rowid + " < $1" + descending() + " LIMIT 1";
    // Walking backwards, the keys proper end with the empty keys, which sort first.
    return "(" + select + "WHERE (" + key + ", " + rowid + ") < (" + keyParam + ", $2::bigint)" +
           descending() + " LIMIT 1) UNION ALL (" + select + "WHERE " + key + " IS NULL" +
           descending() + " LIMIT 1) LIMIT 1";
  }
};

Variant keyed(DataSet& d, const std::string& table, const std::string& index, const Keys& keys,
              const std::string& comparison) {
  return {"Raw", [&d, table, index, &keys, comparison](benchmark::State& st) {
            const PgSql q(table, index);
            RawPgConn db(d.server);
            RawPgStmt find(
                db,
                q.select + "WHERE " + q.key + comparison + q.keyParam + q.ascending() + " LIMIT 1",
                1);
            std::vector<Value> row;
            size_t i = 0;
            std::int64_t found = 0;
            for (auto _ : st) {
              found += find.bind(1, keys.typed[i]).fetch(row);
              if (++i == keys.size()) i = 0;
            }
            if (comparison == " = " && found != st.iterations())
              st.SkipWithError("a sampled key was not found");
          }};
}

}  // namespace

Variant serverFindKey(DataSet& d, const std::string& table, const std::string& index) {
  return keyed(d, table, index, d.keysOf(table, index), " = ");
}

Variant serverFindNearest(DataSet& d, const std::string& table, const std::string& index,
                          const Keys& prefixes) {
  return keyed(d, table, index, prefixes, " >= ");
}

Variant serverWalk(DataSet& d, const Walk& w) {
  return {"Raw", [&d, w](benchmark::State& st) {
            const PgSql q(w.table, w.index);
            RawPgConn db(d.server);
            const int params = q.keyIsRowid ? 1 : 2;
            RawPgStmt step(db, w.forward ? q.after() : q.before(), params);
            RawPgStmt end(db, q.select + (w.forward ? q.ascending() : q.descending()) + " LIMIT 1",
                          0);
            RawPgStmt byRowid(db, q.select + "WHERE " + q.rowid + " = $1", 1);
            const std::int64_t mid = w.walkIn ? middleOfWalkIn(d) : 0;
            std::vector<Value> row;
            auto restart = [&] {
              if (w.walkIn)
                byRowid.bind(1, mid).fetch(row);
              else
                end.fetch(row);
            };
            restart();
            for (auto _ : st) {
              const std::int64_t rowid = std::get<std::int64_t>(row[0]);
              if (q.keyIsRowid)
                step.bind(1, rowid);
              else
                step.bind(1, row[static_cast<size_t>(q.keyColumn)]).bind(2, rowid);
              if (!step.fetch(row) ||
                  (w.walkIn && std::get<double>(row[static_cast<size_t>(q.keyColumn)]) != 1))
                restart();
            }
          }};
}

Variant serverLast(DataSet& d) {
  return {"Raw", [&d](benchmark::State& st) {
            const PgSql q("NewSales", "ByOrderNumber");
            RawPgConn db(d.server);
            RawPgStmt last(db, q.select + q.descending() + " LIMIT 1", 0);
            std::vector<Value> row;
            for (auto _ : st) last.fetch(row);
          }};
}

Variant serverRefresh(DataSet& d) {
  // What a refresh needs: the current record read again by its row id.
  return {"Raw", [&d](benchmark::State& st) {
            const PgSql q("NewSales", "byCustNum");
            RawPgConn db(d.server);
            RawPgStmt find(
                db, q.select + "WHERE " + q.key + " = " + q.keyParam + q.ascending() + " LIMIT 1",
                1);
            RawPgStmt byRowid(db, q.select + "WHERE " + q.rowid + " = $1", 1);
            std::vector<Value> row;
            find.bind(1, d.keysOf("NewSales", "byCustNum").typed[7]).fetch(row);
            const std::int64_t rowid = std::get<std::int64_t>(row[0]);
            for (auto _ : st) byRowid.bind(1, rowid).fetch(row);
          }};
}

namespace {

// Raw libpq's posts, each statement its own durable transaction as the engine's posts are.
class ServerPosts final : public RawPosts {
 public:
  explicit ServerPosts(const DataSet& d) : db_(d.server) {
    std::vector<Value> row;
    RawPgStmt find(db_, "SELECT rowid FROM \"stock\" WHERE \"PartNumber\" = $1", 1);
    find.bind(1, d.keysOf("stock.db", "").typed[4]).fetch(row);
    item_ = std::get<std::int64_t>(row[0]);
  }
  void setQuantity(double q) override { update_.bind(1, Value(q)).bind(2, item_).run(); }
  void insertLine(const std::vector<Value>& values) override {
    for (size_t i = 0; i < values.size(); ++i) insert_.bind(static_cast<int>(i) + 1, values[i]);
    line_ = insert_.runInteger();
  }
  void removeLine() override { remove_.bind(1, line_).run(); }

 private:
  RawPgConn db_;
  RawPgStmt update_{db_, "UPDATE \"stock\" SET \"Quantity\" = $1 WHERE rowid = $2", 2};
  RawPgStmt insert_{db_,
                    "INSERT INTO \"NewSales\" (\"PartNumber\", \"QuantitySold\", \"Price\", "
                    "\"CustNum\", \"OrderNumber\", \"Date\", \"TypeOfSale\", \"Tax\", "
                    "\"Total\", \"PickUpShip\") VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, "
                    "$10) RETURNING \"Item\"",
                    10};
  RawPgStmt remove_{db_, "DELETE FROM \"NewSales\" WHERE \"Item\" = $1", 1};
  std::int64_t item_ = 0, line_ = 0;
};

}  // namespace

std::unique_ptr<RawPosts> serverPosts(DataSet& d) {
  return std::make_unique<ServerPosts>(d);
}

// Five connections, as the engine opens five tables, each reading its first record.
Variant serverOpenAll(DataSet& d) {
  return {"Raw", [&d](benchmark::State& st) {
            std::vector<Value> row;
            for (auto _ : st) {
              for (const auto& def : shopTables()) {
                RawPgConn db(d.server);
                const PgSql q(def.tableName, def.indexes.front().name);
                RawPgStmt first(db, q.select + q.ascending() + " LIMIT 1", 0);
                first.fetch(row);
              }
            }
          }};
}

}  // namespace corvanta::bench
