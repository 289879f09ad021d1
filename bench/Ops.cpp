#include "Ops.h"

#include <optional>

#include "Raw.h"
#include "data/engine/Table.h"
#include "data/engine/TableSchema.h"

namespace corvanta::bench {

namespace {

std::string quoted(const std::string& n) {
  return "\"" + n + "\"";
}

struct IndexInfo {
  const TableDef* def;
  const IndexDef* ix;
  std::string key;  // SQL key column
  int keyColumn;    // in a selectAll row: 0 is the rowid
};

IndexInfo info(const std::string& table, const std::string& index) {
  const TableDef* def = findTableDef(table);
  const IndexDef* ix = def->findIndex(index);
  IndexInfo i{def, ix, ix->field.empty() ? "rowid" : quoted(ix->field), 0};
  if (!ix->field.empty()) i.keyColumn = def->fieldIndex(ix->field) + 1;
  return i;
}

std::unique_ptr<Table> openTable(DataSet& d, const std::string& table, const std::string& index) {
  auto t = std::make_unique<Table>(*d.engine, "Bench", findTableDef(table)->alias, table);
  t->open();
  t->selectIndex(index);
  return t;
}

const char* asc = " ORDER BY %k, rowid LIMIT 1";

std::string withKey(std::string sql, const std::string& key) {
  for (size_t p; (p = sql.find("%k")) != std::string::npos;) sql.replace(p, 2, key);
  return sql;
}

// ---- find key and find nearest -------------------------------------------------------

Operation findKey(DataSet& d, const std::string& table, const std::string& index) {
  Operation op{"FindKey/" + table + "/" + (index.empty() ? "primary" : index), {}};
  op.variants.push_back({"Engine", [&d, table, index](benchmark::State& st) {
                           auto t = openTable(d, table, index);
                           const Keys& k = d.keysOf(table, index);
                           size_t i = 0;
                           std::int64_t found = 0;
                           for (auto _ : st) {
                             found += t->findKey(k.text[i]);
                             if (++i == k.size()) i = 0;
                           }
                           if (found != st.iterations())
                             st.SkipWithError("a sampled key was not found");
                         }});
  if (!d.server.empty()) {
    op.variants.push_back(serverFindKey(d, table, index));
    return op;
  }
  op.variants.push_back({"Raw", [&d, table, index](benchmark::State& st) {
                           const IndexInfo x = info(table, index);
                           RawDb db(d.file(table));
                           RawStmt q(db, selectAll(table) + withKey("WHERE %k = ?1", x.key) +
                                             withKey(asc, x.key));
                           const Keys& k = d.keysOf(table, index);
                           std::vector<Value> row;
                           size_t i = 0;
                           std::int64_t found = 0;
                           for (auto _ : st) {
                             found += q.bind(1, k.typed[i]).fetch(row);
                             if (++i == k.size()) i = 0;
                           }
                           if (found != st.iterations())
                             st.SkipWithError("a sampled key was not found");
                         }});
  return op;
}

Operation findNearest(DataSet& d, const std::string& table, const std::string& index,
                      const Keys& prefixes) {
  Operation op{"FindNearest/" + table + "/" + index, {}};
  op.variants.push_back({"Engine", [&d, table, index, &prefixes](benchmark::State& st) {
                           auto t = openTable(d, table, index);
                           size_t i = 0;
                           for (auto _ : st) {
                             t->findNearest(prefixes.text[i]);
                             if (++i == prefixes.size()) i = 0;
                           }
                         }});
  if (!d.server.empty()) {
    op.variants.push_back(serverFindNearest(d, table, index, prefixes));
    return op;
  }
  op.variants.push_back({"Raw", [&d, table, index, &prefixes](benchmark::State& st) {
                           const IndexInfo x = info(table, index);
                           RawDb db(d.file(table));
                           RawStmt q(db, selectAll(table) + withKey("WHERE %k >= ?1", x.key) +
                                             withKey(asc, x.key));
                           std::vector<Value> row;
                           size_t i = 0;
                           for (auto _ : st) {
                             q.bind(1, prefixes.typed[i]).fetch(row);
                             if (++i == prefixes.size()) i = 0;
                           }
                         }});
  return op;
}

// ---- next and prior ------------------------------------------------------------------

Operation walk(DataSet& d, const Walk& w) {
  const std::string label = (w.forward ? "Next/" : "Prior/") + w.table + "/" +
                            (w.index.empty() ? "primary" : w.index) + (w.walkIn ? "-walkin" : "");
  Operation op{label, {}};
  op.variants.push_back({"Engine", [&d, w](benchmark::State& st) {
                           auto t = openTable(d, w.table, w.index);
                           const std::int64_t mid = w.walkIn ? middleOfWalkIn(d) : 0;
                           Field* cust = w.walkIn ? &t->fieldByName("CustNum") : nullptr;
                           auto restart = [&] {
                             if (w.walkIn)
                               t->moveToRowid(mid);
                             else if (w.forward)
                               t->first();
                             else
                               t->last();
                           };
                           restart();
                           for (auto _ : st) {
                             if (w.forward)
                               t->next();
                             else
                               t->prior();
                             if ((w.forward ? t->eof() : t->bof()) ||
                                 (cust && cust->asFloat() != 1))
                               restart();
                           }
                         }});
  if (!d.server.empty()) {
    op.variants.push_back(serverWalk(d, w));
    return op;
  }
  // Raw: the same keyset walk with the fewest statements.  On a unique key one seek past the
  // key; on equal keys "key = ? AND rowid > ?", then "key > ?" once the equal keys run out
  // ("Raw"), the two joined by UNION ALL into one statement ("RawUnion"), or the row-value
  // comparison "(key, rowid) > (?, ?)" ("RawRowValue"), which SQLite 3.40 plans as a seek on
  // the key followed by a walk over every equal key before the current row.
  const IndexInfo x = info(w.table, w.index);
  const bool unique = x.ix->unique;
  const std::string cmp = w.forward ? ">" : "<";
  const std::string order =
      w.forward ? withKey(asc, x.key) : withKey(" ORDER BY %k DESC, rowid DESC LIMIT 1", x.key);
  const std::string base = selectAll(w.table);
  const std::string eq = base + "WHERE " + x.key + " = ?1 AND rowid " + cmp + " ?2" + order;
  const std::string past = base + "WHERE " + x.key + " " + cmp + " ?1" + order;
  const std::string ends = base + order;
  std::vector<std::pair<std::string, std::vector<std::string>>> forms;
  if (unique) {
    forms.push_back({"Raw", {past}});
  } else {
    forms.push_back({"Raw", {eq, past}});
    forms.push_back(
        {"RawUnion",
         {"SELECT * FROM (" + eq + ") UNION ALL SELECT * FROM (" + past + ") LIMIT 1"}});
    forms.push_back(
        {"RawRowValue", {base + "WHERE (" + x.key + ", rowid) " + cmp + " (?1, ?2)" + order}});
  }
  for (auto& [kind, sqls] : forms) {
    op.variants.push_back({kind, [&d, w, x, sqls = sqls, ends](benchmark::State& st) {
                             RawDb db(d.file(w.table));
                             std::vector<std::unique_ptr<RawStmt>> steps;
                             for (const auto& s : sqls)
                               steps.push_back(std::make_unique<RawStmt>(db, s));
                             RawStmt endStmt(db, ends);
                             RawStmt byRowid(db, selectAll(w.table) + "WHERE rowid = ?1");
                             const std::int64_t mid = w.walkIn ? middleOfWalkIn(d) : 0;
                             std::vector<Value> row;
                             Value key;
                             std::int64_t rowid = 0;
                             auto take = [&] {
                               rowid = std::get<std::int64_t>(row[0]);
                               key = row[static_cast<size_t>(x.keyColumn)];
                             };
                             auto restart = [&] {
                               if (w.walkIn)
                                 byRowid.bind(1, mid).fetch(row);
                               else
                                 endStmt.fetch(row);
                               take();
                             };
                             restart();
                             for (auto _ : st) {
                               bool got = false;
                               for (auto& s : steps) {
                                 s->bind(1, key);
                                 if (sqlite3_bind_parameter_count(s->handle()) > 1)
                                   s->bind(2, rowid);
                                 if ((got = s->fetch(row))) break;
                               }
                               if (!got) {
                                 restart();
                                 continue;
                               }
                               take();
                               if (w.walkIn && std::get<double>(key) != 1) restart();
                             }
                           }});
  }
  return op;
}

// ---- last, refresh ----------------------------------------------------------------------

Operation last(DataSet& d) {
  Operation op{"Last/NewSales/ByOrderNumber", {}};
  op.variants.push_back({"Engine", [&d](benchmark::State& st) {
                           auto t = openTable(d, "NewSales", "ByOrderNumber");
                           for (auto _ : st) t->last();
                         }});
  if (!d.server.empty()) {
    op.variants.push_back(serverLast(d));
    return op;
  }
  op.variants.push_back({"Raw", [&d](benchmark::State& st) {
                           RawDb db(d.file("NewSales"));
                           RawStmt q(db, selectAll("NewSales") +
                                             "ORDER BY OrderNumber DESC, rowid DESC LIMIT 1");
                           std::vector<Value> row;
                           for (auto _ : st) q.fetch(row);
                         }});
  return op;
}

Operation refresh(DataSet& d) {
  Operation op{"Refresh/NewSales/byCustNum", {}};
  op.variants.push_back({"Engine", [&d](benchmark::State& st) {
                           auto t = openTable(d, "NewSales", "byCustNum");
                           t->findKey(d.keysOf("NewSales", "byCustNum").text[7]);
                           for (auto _ : st) t->refresh();
                         }});
  if (!d.server.empty()) {
    op.variants.push_back(serverRefresh(d));
    return op;
  }
  op.variants.push_back({"Raw", [&d](benchmark::State& st) {
                           RawDb db(d.file("NewSales"));
                           RawStmt find(db,
                                        selectAll("NewSales") +
                                            "WHERE CustNum = ?1 ORDER BY CustNum, rowid LIMIT 1");
                           RawStmt byRowid(db, selectAll("NewSales") + "WHERE rowid = ?1");
                           std::vector<Value> row;
                           find.bind(1, d.keysOf("NewSales", "byCustNum").typed[7]).fetch(row);
                           const std::int64_t rowid = std::get<std::int64_t>(row[0]);
                           for (auto _ : st) byRowid.bind(1, rowid).fetch(row);
                         }});
  return op;
}

}  // namespace

std::int64_t middleOfWalkIn(const DataSet& d) {
  RawDb db(d.file("NewSales"));
  RawStmt q(db, "SELECT rowid FROM NewSales WHERE CustNum = 1 ORDER BY rowid LIMIT 1 OFFSET ?1");
  std::vector<Value> row;
  q.bind(1, d.walkInLines / 2).fetch(row);
  return std::get<std::int64_t>(row[0]);
}

Operation postEdit(DataSet& d);
Operation postInsert(DataSet& d);
Operation openAll(DataSet& d);

std::vector<Operation> operations(DataSet& d) {
  std::vector<Operation> ops;
  for (const char* table : {"stock.db", "clients.DB", "NewSales", "BillingShipping"})
    for (const auto& ix : findTableDef(table)->indexes) ops.push_back(findKey(d, table, ix.name));
  ops.push_back(findNearest(d, "stock.db", "byDescription", d.descriptionPrefixes));
  ops.push_back(findNearest(d, "clients.DB", "byLastName", d.lastNamePrefixes));
  for (bool forward : {true, false}) {
    ops.push_back(walk(d, {"stock.db", "", forward, false}));
    ops.push_back(walk(d, {"NewSales", "ByOrderNumber", forward, false}));
    ops.push_back(walk(d, {"clients.DB", "byLastName", forward, false}));
    ops.push_back(walk(d, {"NewSales", "byCustNum", forward, true}));
  }
  ops.push_back(last(d));
  ops.push_back(refresh(d));
  ops.push_back(postEdit(d));
  ops.push_back(postInsert(d));
  ops.push_back(openAll(d));
  return ops;
}

}  // namespace corvanta::bench
