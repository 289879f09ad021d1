#pragma once
// The random walk's model of a cursor: the table engine's contract (Table.h) written out over
// a std::multimap of (key, rowid) and a std::map of records, without SQLite.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/engine/Table.h"

namespace corvanta::test {

// A key as the model holds it: empty, a number or a text.
struct Key {
  std::optional<std::string> text;  // display text as stored
  double number = 0;
};

struct KeyLess {
  bool numeric;
  static std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  bool operator()(const Key& a, const Key& b) const {
    if (!a.text || !b.text) return !a.text && b.text;  // empty keys first
    if (numeric) return a.number < b.number;
    return lower(*a.text) < lower(*b.text);
  }
};

class Model {
 public:
  explicit Model(bool numeric) : index_(KeyLess{numeric}), less_{numeric} {}

  TableState state = TableState::Browse;
  bool onPrimary = false;
  bool has = false, bof = true, eof = true, modified = false;
  std::int64_t cur = 0;
  Key bufKey;
  std::string bufPayload;  // "" is empty
  bool hadBeforeInsert = false;
  std::int64_t beforeInsert = 0;
  std::int64_t nextRowid = 1;

  struct Rec {
    Key key;
    std::string payload;
  };
  std::map<std::int64_t, Rec> rows;

  Key key(const std::string& text) const {
    Key k;
    if (text.empty()) return k;
    k.text = text;
    if (less_.numeric) k.number = std::stod(text);
    return k;
  }

  // Rowids in the selected index's order.
  std::vector<std::int64_t> order() const {
    std::vector<std::int64_t> out;
    if (onPrimary) {
      for (const auto& [r, rec] : rows) out.push_back(r);
    } else {
      for (const auto& [k, r] : index_) out.push_back(r);
    }
    return out;
  }

  std::string text() const {
    std::string s = stateName(state);
    const bool editing = state != TableState::Browse;
    if (!has && state != TableState::Insert) {
      s += " empty P=<null> R=<null>";
    } else {
      const Key& k = editing ? bufKey : rows.at(cur).key;
      const std::string rowidText = state == TableState::Insert ? "<null>" : std::to_string(cur);
      s += " key=" + (onPrimary ? rowidText : k.text.value_or("<null>"));
      const std::string& p = editing ? bufPayload : rows.at(cur).payload;
      s += " P=" + (p.empty() ? std::string("<null>") : p);
      s += " R=" + rowidText;
    }
    if (bof) s += " bof";
    if (eof) s += " eof";
    return s;
  }

  void load(std::int64_t r) {
    has = true;
    cur = r;
  }
  void loadOrEmpty(std::optional<std::int64_t> r) {
    has = r.has_value();
    cur = r.value_or(0);
  }
  std::optional<std::int64_t> firstRow() const {
    auto o = order();
    return o.empty() ? std::nullopt : std::optional(o.front());
  }
  std::optional<std::int64_t> lastRow() const {
    auto o = order();
    return o.empty() ? std::nullopt : std::optional(o.back());
  }
  // The row after where (key, rowid) of a row stood, whether or not it still exists.
  std::optional<std::int64_t> successor(const Key& k, std::int64_t rowid) const {
    for (std::int64_t r : order()) {
      const Key& rk = rows.at(r).key;
      if (onPrimary ? r > rowid : (less_(k, rk) || (!less_(rk, k) && r > rowid))) return r;
    }
    return std::nullopt;
  }
  std::optional<std::int64_t> predecessor(std::int64_t rowid) const {
    auto o = order();
    auto it = std::find(o.begin(), o.end(), rowid);
    if (it == o.begin()) return std::nullopt;
    return *(it - 1);
  }

  void add(std::int64_t r, Rec rec) {
    auto [lo, hi] = index_.equal_range(rec.key);
    auto pos = lo;
    while (pos != hi && pos->second < r) ++pos;
    index_.insert(pos, {rec.key, r});  // just before pos: equal keys stay in rowid order
    rows[r] = std::move(rec);
  }
  void erase(std::int64_t r) {
    auto [lo, hi] = index_.equal_range(rows.at(r).key);
    for (auto it = lo; it != hi; ++it)
      if (it->second == r) {
        index_.erase(it);
        break;
      }
    rows.erase(r);
  }

  // Operations, as the engine's contract states them.
  void settle() {
    if (state == TableState::Browse) return;
    if (modified)
      post();
    else
      cancel();
  }
  void post() {
    std::int64_t r = cur;
    if (state == TableState::Insert)
      r = nextRowid++;
    else
      erase(r);
    add(r, {bufKey, bufPayload});
    load(r);
    state = TableState::Browse;
    modified = false;
    bof = eof = false;
  }
  void cancel() {
    if (state == TableState::Browse) return;
    const bool wasInsert = state == TableState::Insert;
    state = TableState::Browse;
    modified = false;
    std::optional<std::int64_t> r;
    const std::int64_t back = wasInsert ? beforeInsert : cur;
    if ((!wasInsert || hadBeforeInsert) && rows.count(back)) r = back;
    if (!r) r = firstRow();
    loadOrEmpty(r);
    bof = eof = !has;
  }
  void insert() {
    settle();
    hadBeforeInsert = has;
    beforeInsert = cur;
    bufKey = Key{};
    bufPayload.clear();
    state = TableState::Insert;
    modified = false;
  }
  void edit() {
    if (state != TableState::Browse) return;
    if (!has) return insert();
    bufKey = rows.at(cur).key;
    bufPayload = rows.at(cur).payload;
    state = TableState::Edit;
    modified = false;
  }
  void remove() {
    if (state == TableState::Insert) return cancel();
    const Key k = rows.at(cur).key;
    const std::int64_t r = cur;
    erase(r);
    state = TableState::Browse;
    modified = false;
    auto s = successor(k, r);
    eof = !s;
    if (!s) s = lastRow();
    loadOrEmpty(s);
    bof = !has;
    if (!has) eof = true;
  }
  void first() {
    settle();
    loadOrEmpty(firstRow());
    bof = true;
    eof = !has;
  }
  void last() {
    settle();
    loadOrEmpty(lastRow());
    eof = true;
    bof = !has;
  }
  void next() {
    settle();
    if (!has) return;
    if (auto s = successor(rows.at(cur).key, cur)) {
      load(*s);
      bof = eof = false;
    } else {
      eof = true;
      bof = false;
    }
  }
  void prior() {
    settle();
    if (!has) return;
    if (auto p = predecessor(cur)) {
      load(*p);
      bof = eof = false;
    } else {
      bof = true;
      eof = false;
    }
  }
  bool findKey(const std::string& text) {
    settle();
    for (std::int64_t r : order()) {
      bool match = onPrimary
                       ? (!text.empty() && std::to_string(r) == text)
                       : (!less_(rows.at(r).key, key(text)) && !less_(key(text), rows.at(r).key));
      if (match) {
        load(r);
        bof = eof = false;
        return true;
      }
    }
    return false;
  }
  void findNearest(const std::string& text) {
    settle();
    std::optional<std::int64_t> found;
    for (std::int64_t r : order()) {
      bool atOrAfter =
          onPrimary ? (text.empty() || r >= std::stoll(text)) : !less_(rows.at(r).key, key(text));
      if (atOrAfter) {
        found = r;
        break;
      }
    }
    if (found) {
      load(*found);
      bof = eof = false;
    } else {
      loadOrEmpty(lastRow());
      eof = true;
      bof = !has;
    }
  }
  void refresh() {
    settle();
    if (!has) loadOrEmpty(firstRow());
    findEdges();
  }
  void selectIndex(bool primary) {
    settle();
    onPrimary = primary;
    findEdges();
  }
  // Whether the current record is the first or the last one, in the order now in force.
  void findEdges() {
    bof = !has || !predecessor(cur);
    eof = !has || !successor(rows.at(cur).key, cur);
  }

 private:
  std::multimap<Key, std::int64_t, KeyLess> index_;
  KeyLess less_;
};

}  // namespace corvanta::test
