#include "reports/ReportData.h"

#include <cmath>

namespace corvanta::reports {

std::unique_ptr<TableStore> openForReading(const Engine& engine, const TableDef& def) {
  return engine.openTable(def.alias, def, /*readOnly=*/true);
}

Value keyFor(const FieldDef& field, const RValue& v) {
  if (std::holds_alternative<std::monostate>(v)) return {};
  switch (field.type) {
    case FieldType::Text:
      return toText(v);
    case FieldType::Float:
      return toNumber(v);
    case FieldType::AutoInc:
      return static_cast<std::int64_t>(std::llround(toNumber(v)));
  }
  return {};
}

RValue fromStored(const Value& v) {
  if (auto d = std::get_if<double>(&v)) return *d;
  if (auto i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
  if (auto s = std::get_if<std::string>(&v)) return *s;
  return {};
}

namespace {

bool sameKey(const Value& a, const Value& b, bool noCase) {
  if (auto s = std::get_if<std::string>(&a); s && noCase)
    if (auto t = std::get_if<std::string>(&b)) return equalsNoCase(*s, *t);
  const RValue x = fromStored(a), y = fromStored(b);
  if (x.index() != y.index()) return false;
  return x == y;
}

}  // namespace

RowStream::RowStream(TableStore& table, const IndexDef& index, std::optional<Value> equalKey)
    : table_(table), index_(index), equalKey_(std::move(equalKey)) {}

std::optional<Row> RowStream::next() {
  if (done_) return std::nullopt;
  std::optional<Row> row;
  if (!started_) {
    started_ = true;
    row = equalKey_ ? table_.findEqual(index_, *equalKey_) : table_.first(index_);
  } else {
    row = table_.after(index_, table_.keyOf(index_, *last_), last_->rowid);
  }
  if (row && equalKey_ && !sameKey(table_.keyOf(index_, *row), *equalKey_, index_.noCase))
    row.reset();
  if (!row) {
    done_ = true;
    last_.reset();
    return std::nullopt;
  }
  last_ = row;
  return row;
}

Lookup::Lookup(std::unique_ptr<TableStore> table, const IndexDef* index, int keyField)
    : table_(std::move(table)), index_(index), keyField_(keyField) {}

const Row* Lookup::find(const RValue& key) {
  if (!index_) {  // `first`: one record for the whole run
    if (!loaded_) row_ = table_->first(table_->def().indexes[0]);
    loaded_ = true;
    return row_ ? &*row_ : nullptr;
  }
  const Value k = keyFor(table_->def().fields[static_cast<size_t>(keyField_)], key);
  if (!loaded_ || !lastKey_ || *lastKey_ != k) {
    row_ = isNull(k) ? std::nullopt : table_->findEqual(*index_, k);
    lastKey_ = k;
    loaded_ = true;
  }
  return row_ ? &*row_ : nullptr;
}

}  // namespace corvanta::reports
