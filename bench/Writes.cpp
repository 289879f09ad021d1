// Posts and opens: the operations whose cost is a durable transaction or a file opened.
#include <algorithm>
#include <chrono>

#include "Ops.h"
#include "Raw.h"
#include "data/engine/Table.h"
#include "data/engine/TableSchema.h"

namespace corvanta::bench {

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

}  // namespace

// A post waits for the disk, whose latency on a shared machine varies far more than the work
// around it.  So the engine's post and the raw one are timed in the same iteration, in turns,
// and each side's median is reported (counters engine_ns and raw_ns).
void paired(benchmark::State& st, const std::function<void()>& engine,
            const std::function<void()>& raw, const std::function<void()>& untimed) {
  std::vector<double> e, r;
  bool engineFirst = true;
  for (auto _ : st) {
    const auto t0 = Clock::now();
    (engineFirst ? engine : raw)();
    const auto t1 = Clock::now();
    (engineFirst ? raw : engine)();
    const auto t2 = Clock::now();
    const double a = std::chrono::duration<double, std::nano>(t1 - t0).count();
    const double b = std::chrono::duration<double, std::nano>(t2 - t1).count();
    e.push_back(engineFirst ? a : b);
    r.push_back(engineFirst ? b : a);
    st.SetIterationTime((a + b) / 1e9);
    engineFirst = !engineFirst;
    if (untimed) untimed();
  }
  st.counters["engine_ns"] = median(e);
  st.counters["raw_ns"] = median(r);
}

namespace {

// Raw SQLite's posts: one UPDATE of the quantity, one INSERT of a line and its DELETE.
class SqlitePosts final : public RawPosts {
 public:
  explicit SqlitePosts(const DataSet& d)
      : stockDb_(d.file("stock.db")), salesDb_(d.file("NewSales")) {
    std::vector<Value> row;
    RawStmt find(stockDb_, "SELECT rowid FROM stock WHERE PartNumber = ?1");
    find.bind(1, d.keysOf("stock.db", "").typed[4]).fetch(row);
    item_ = std::get<std::int64_t>(row[0]);
  }
  void setQuantity(double q) override { update_.bind(1, Value(q)).bind(2, item_).run(); }
  void insertLine(const std::vector<Value>& values) override {
    for (size_t i = 0; i < values.size(); ++i) insert_.bind(static_cast<int>(i) + 1, values[i]);
    insert_.run();
    line_ = sqlite3_last_insert_rowid(salesDb_.handle());
  }
  void removeLine() override { remove_.bind(1, line_).run(); }

 private:
  RawDb stockDb_, salesDb_;
  RawStmt update_{stockDb_, "UPDATE stock SET Quantity = ?1 WHERE rowid = ?2"};
  RawStmt insert_{salesDb_,
                  "INSERT INTO NewSales (PartNumber, QuantitySold, Price, CustNum, OrderNumber, "
                  "Date, TypeOfSale, Tax, Total, PickUpShip) VALUES (?1, ?2, ?3, ?4, ?5, ?6, "
                  "?7, ?8, ?9, ?10)"};
  RawStmt remove_{salesDb_, "DELETE FROM NewSales WHERE rowid = ?1"};
  std::int64_t item_ = 0, line_ = 0;
};

std::unique_ptr<RawPosts> rawPosts(DataSet& d) {
  if (!d.server.empty()) return serverPosts(d);
  return std::make_unique<SqlitePosts>(d);
}

}  // namespace

// An edit of a stock item's quantity, as a sale or a stock receipt makes it: the engine's
// edit, field change and post against one raw UPDATE (on another item).
Operation postEdit(DataSet& d) {
  Operation op{"PostEdit/stock.db", {}, true};
  op.variants.push_back({"Paired", [&d](benchmark::State& st) {
                           Table t(*d.engine, "Bench", "DatabaseFiles", "stock.db");
                           t.open();
                           t.findKey(d.keysOf("stock.db", "").text[3]);
                           Field& quantity = t.fieldByName("Quantity");
                           auto raw = rawPosts(d);
                           int q = 0, p = 0;
                           paired(
                               st,
                               [&] {
                                 t.edit();
                                 quantity.setText(std::to_string(100 + (q++ % 50)));
                                 t.post();
                               },
                               [&] { raw->setQuantity(100.0 + (p++ % 50)); }, {});
                         }});
  return op;
}

// A new sales line as the price choice posts it, against one raw INSERT.  Both lines are
// deleted again outside the timing so that the tables keep their size.
Operation postInsert(DataSet& d) {
  Operation op{"PostInsert/NewSales", {}, true};
  op.variants.push_back({"Paired", [&d](benchmark::State& st) {
                           static const std::vector<std::pair<std::string, std::string>> line = {
                               {"PartNumber", "HW-010042"},
                               {"QuantitySold", " 2.00000000000000E+0000"},
                               {"Price", "12.95"},
                               {"CustNum", "1"},
                               {"OrderNumber", "9999999"},
                               {"Date", "6/11/98"},
                               {"TypeOfSale", "cash"},
                               {"Tax", " 2.13675000000117E+0000"},
                               {"Total", " 2.59000000000000E+0001"},
                               {"PickUpShip", "PickUp"}};
                           // The same line as raw statements bind it, in the order of
                           // RawPosts::insertLine.
                           const std::vector<Value> values = {std::string("HW-010042"),
                                                              2.0,
                                                              12.95,
                                                              1.0,
                                                              9999999.0,
                                                              std::string("6/11/98"),
                                                              std::string("cash"),
                                                              2.13675000000117,
                                                              25.9,
                                                              std::string("PickUp")};
                           Table t(*d.engine, "Bench", "DatabaseFiles", "NewSales");
                           t.open();
                           std::vector<Field*> fields;
                           for (const auto& [name, text] : line)
                             fields.push_back(&t.fieldByName(name));
                           auto raw = rawPosts(d);
                           paired(
                               st,
                               [&] {
                                 t.insert();
                                 for (size_t i = 0; i < line.size(); ++i)
                                   fields[i]->setText(line[i].second);
                                 t.post();
                               },
                               [&] { raw->insertLine(values); },
                               [&] {
                                 t.remove();
                                 raw->removeLine();
                               });
                         }});
  return op;
}

// What the program does at start-up: every data module opens its table (and closes it at the
// end).
Operation openAll(DataSet& d) {
  Operation op{"OpenAll/five tables", {}};
  op.variants.push_back({"Engine", [&d](benchmark::State& st) {
                           for (auto _ : st) {
                             std::vector<std::unique_ptr<Table>> tables;
                             for (const auto& def : shopTables()) {
                               tables.push_back(std::make_unique<Table>(*d.engine, "Bench",
                                                                        def.alias, def.tableName));
                               tables.back()->open();
                             }
                           }
                         }});
  if (!d.server.empty()) {
    op.variants.push_back(serverOpenAll(d));
    return op;
  }
  op.variants.push_back(
      {"Raw", [&d](benchmark::State& st) {
         std::vector<Value> row;
         for (auto _ : st) {
           for (const auto& def : shopTables()) {
             RawDb db(d.file(def.tableName));
             const IndexDef& primary = def.indexes.front();
             const std::string key = primary.field.empty() ? "rowid" : "\"" + primary.field + "\"";
             RawStmt first(db, selectAll(def.tableName) + "ORDER BY " + key + ", rowid LIMIT 1");
             first.fetch(row);
           }
         }
       }});
  return op;
}

}  // namespace corvanta::bench
