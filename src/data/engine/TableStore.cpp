// What every store shares: how values are normalised on the way in and out, and how keys
// and key violations are told.
#include "data/engine/TableStore.h"

#include "data/engine/Field.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

const char* TableStore::changedElsewhereMessage() {
  return "Another workstation changed this record since you began to edit it.\n"
         "Your typing is kept. Refresh shows what the other workstation changed and keeps the "
         "rest of your typing; Cancel drops your typing.";
}

bool TableStore::keyIsRowid(const IndexDef& ix) const {
  return ix.field.empty() || def_.fields[def_.fieldIndex(ix.field)].type == FieldType::AutoInc;
}

TableStore::Reread TableStore::reread(const IndexDef& ix, std::int64_t rowid) {
  Reread r{byRowid(rowid)};
  if (!r.row) return r;
  const Value key = keyOf(ix, *r.row);
  r.hasBefore = before(ix, key, rowid).has_value();
  r.hasAfter = after(ix, key, rowid).has_value();
  return r;
}

Value TableStore::keyOf(const IndexDef& ix, const Row& row) const {
  if (ix.field.empty()) return row.rowid;
  return row.values[def_.fieldIndex(ix.field)];
}

Value TableStore::normalise(int field, Value v) const {
  switch (def_.fields[field].type) {
    case FieldType::Float:
      if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
      if (auto* s = std::get_if<std::string>(&v)) {
        double d = 0;
        return parseFloatStrict(*s, d) ? Value(d) : Value();
      }
      return v;
    case FieldType::AutoInc:
      if (auto* d = std::get_if<double>(&v)) return static_cast<std::int64_t>(*d);
      return v;
    case FieldType::Text:
      if (auto* d = std::get_if<double>(&v)) return formatGeneral15(*d);
      if (auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
      return v;
  }
  return v;
}

bool TableStore::sameKey(const IndexDef& ix, const Value& a, const Value& b) const {
  if (ix.noCase) {
    const auto* x = std::get_if<std::string>(&a);
    const auto* y = std::get_if<std::string>(&b);
    return x && y && equalsNoCase(*x, *y);
  }
  return a == b;
}

void TableStore::keyViolation(const std::vector<Value>& values) const {
  std::string key;
  const IndexDef& primary = def_.indexes.front();
  int f = primary.field.empty() ? -1 : def_.fieldIndex(primary.field);
  if (f >= 0 && static_cast<size_t>(f) < values.size()) {
    const Value& v = values[f];
    if (auto* s = std::get_if<std::string>(&v))
      key = *s;
    else if (auto* d = std::get_if<double>(&v))
      key = formatGeneral15(*d);
    else if (auto* i = std::get_if<std::int64_t>(&v))
      key = std::to_string(*i);
  }
  throw KeyViolation("Key violation.\n" + def_.tableName + ": " +
                     (f >= 0 ? primary.field : std::string("key")) + " '" + key +
                     "' already exists.");
}

const IndexDef* TableStore::emptiedUniqueKey(const std::vector<Value>& stored,
                                             std::uint64_t changed) const {
  for (const auto& ix : def_.indexes) {
    if (!ix.unique || keyIsRowid(ix)) continue;
    const int f = def_.fieldIndex(ix.field);
    if (f < 64 && (changed >> f & 1) && isNull(stored[f])) return &ix;
  }
  return nullptr;
}

std::vector<Value> TableStore::forWriting(const std::vector<Value>& values) const {
  if (values.size() != def_.fields.size())
    throw Error(where() + ": a record of " + std::to_string(values.size()) +
                " fields cannot be written");
  std::vector<Value> out(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    const FieldDef& f = def_.fields[i];
    const Value& v = values[i];
    if (isNull(v)) continue;
    switch (f.type) {
      case FieldType::Text: {
        std::string text;
        if (const auto* s = std::get_if<std::string>(&v))
          text = cutToChars(*s, f.size > 0 ? f.size : 20);
        else if (const auto* d = std::get_if<double>(&v))
          text = formatGeneral15(*d);
        else
          text = std::to_string(std::get<std::int64_t>(v));
        if (!text.empty()) out[i] = std::move(text);
        break;
      }
      case FieldType::Float: {
        if (const auto* s = std::get_if<std::string>(&v)) {
          double d = 0;
          if (!parseFloatStrict(*s, d))
            throw Error("'" + *s + "' is not a valid floating point value for field '" + f.name +
                        "'");
          out[i] = d;
        } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
          out[i] = static_cast<double>(*n);
        } else {
          out[i] = v;
        }
        break;
      }
      case FieldType::AutoInc: {
        std::int64_t n = 0;
        if (const auto* s = std::get_if<std::string>(&v)) {
          if (!parseIntegerStrict(*s, n))
            throw Error("'" + *s + "' is not a valid integer value for field '" + f.name + "'");
        } else if (const auto* d = std::get_if<double>(&v)) {
          n = static_cast<std::int64_t>(*d);
          if (static_cast<double>(n) != *d)
            throw Error("'" + formatGeneral15(*d) + "' is not a valid integer value for field '" +
                        f.name + "'");
        } else {
          n = std::get<std::int64_t>(v);
        }
        out[i] = n;
        break;
      }
    }
  }
  return out;
}

}  // namespace corvanta
