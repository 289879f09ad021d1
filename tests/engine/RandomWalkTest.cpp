// A seeded random walk of cursor operations on a non-unique index with many equal and empty
// keys, checked step by step against a model built on std::multimap.  A failure prints the
// seed and the last operations; CORVANTA_WALK_SEED and CORVANTA_WALK_STEPS replay or lengthen.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <random>

#include "engine/EngineTestUtil.h"
#include "engine/WalkModel.h"

namespace corvanta::test {
namespace {

struct WalkConfig {
  const char* name;
  const char* table;
  const char* index;  // the non-unique index walked on
  const char* keyField;
  const char* rowidField;  // the auto-increment primary key
  const char* payloadField;
  bool numeric;  // key field is a number; else text compared without regard to case
  std::vector<const char*> keys;  // "" is the empty key; each text is its own display text
  std::vector<const char*> payloads;
};

void PrintTo(const WalkConfig& c, std::ostream* os) {
  *os << c.name;
}

std::string engineText(const Table& t, const WalkConfig& c) {
  std::string s = cursorText(t, {c.payloadField, c.rowidField});
  // Same layout as the model's text: rename the two fields.
  auto rename = [&](const std::string& from, const std::string& to) {
    auto pos = s.find(" " + from + "=");
    if (pos != std::string::npos) s.replace(pos + 1, from.size(), to);
  };
  rename(c.payloadField, "P");
  rename(c.rowidField, "R");
  return s;
}

class RandomWalkTest : public EngineTest, public ::testing::WithParamInterface<WalkConfig> {
 protected:
  void runWalk(std::uint32_t seed, int steps);
};

void RandomWalkTest::runWalk(std::uint32_t seed, int steps) {
  const WalkConfig& c = GetParam();
  SCOPED_TRACE("seed=" + std::to_string(seed) +
               " (replay: CORVANTA_WALK_SEED=" + std::to_string(seed) + ")");
  engine = std::make_unique<Engine>(testEngineConfig(dir.path() / ("walk" + std::to_string(seed))));
  auto t = open(c.table);
  t->selectIndex(c.index);
  Model m(c.numeric);
  std::mt19937 rng(seed);
  auto pick = [&](const std::vector<const char*>& v) {
    return std::string(v[std::uniform_int_distribution<size_t>(0, v.size() - 1)(rng)]);
  };
  auto chance = [&](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(rng) < percent;
  };
  std::deque<std::string> history;

  for (int step = 0; step < steps; ++step) {
    std::string op;
    const int roll = std::uniform_int_distribution<int>(0, 99)(rng);
    // Grow the table early on, then walk it.
    const int insertShare = m.rows.size() < 40 ? 30 : 10;
    if (roll < insertShare) {
      op = "insert";
      t->insert();
      m.insert();
      if (chance(85)) {
        std::string k = pick(c.keys), p = pick(c.payloads);
        op += " key='" + k + "' P='" + p + "'";
        t->fieldByName(c.keyField).setText(k);
        t->fieldByName(c.payloadField).setText(p);
        m.bufKey = m.key(k);
        m.bufPayload = p;
        m.modified = true;
      }
    } else if (roll < insertShare + 12) {
      op = "edit";
      t->edit();
      m.edit();
      if (chance(70)) {
        const bool keyToo = chance(50);
        std::string k = pick(c.keys), p = pick(c.payloads);
        op += (keyToo ? " key='" + k + "'" : std::string()) + " P='" + p + "'";
        if (keyToo) t->fieldByName(c.keyField).setText(k);
        t->fieldByName(c.payloadField).setText(p);
        if (keyToo) m.bufKey = m.key(k);
        m.bufPayload = p;
        m.modified = true;
      }
    } else if (roll < insertShare + 18) {
      op = "post";
      if (m.state == TableState::Browse) {
        ASSERT_EQ(errorOf([&] { t->post(); }), "Dataset not in edit or insert mode");
      } else {
        t->post();
        m.post();
      }
    } else if (roll < insertShare + 22) {
      op = "cancel";
      t->cancel();
      m.cancel();
    } else if (roll < insertShare + 28) {
      op = "delete";
      if (!m.has && m.state != TableState::Insert) {
        ASSERT_EQ(errorOf([&] { t->remove(); }),
                  "Cannot perform this operation on an empty dataset");
      } else {
        t->remove();
        m.remove();
      }
    } else if (roll < insertShare + 46) {
      op = "next";
      t->next();
      m.next();
    } else if (roll < insertShare + 60) {
      op = "prior";
      t->prior();
      m.prior();
    } else if (roll < insertShare + 63) {
      op = "first";
      t->first();
      m.first();
    } else if (roll < insertShare + 66) {
      op = "last";
      t->last();
      m.last();
    } else if (roll < insertShare + 74) {
      std::string k = m.onPrimary ? std::to_string(std::uniform_int_distribution<int>(1, 60)(rng))
                                  : pick(c.keys);
      op = "findKey '" + k + "'";
      const bool found = t->findKey(k);
      ASSERT_EQ(found, m.findKey(k)) << op;
    } else if (roll < insertShare + 82) {
      std::string k = m.onPrimary ? std::to_string(std::uniform_int_distribution<int>(1, 60)(rng))
                                  : pick(c.keys);
      op = "findNearest '" + k + "'";
      t->findNearest(k);
      m.findNearest(k);
    } else if (roll < insertShare + 86) {
      op = "refresh";
      t->refresh();
      m.refresh();
    } else {
      const bool primary = chance(30);
      op = primary ? "selectIndex ''" : std::string("selectIndex '") + c.index + "'";
      t->selectIndex(primary ? "" : c.index);
      m.selectIndex(primary);
    }
    history.push_back(std::to_string(step) + ": " + op);
    if (history.size() > 25) history.pop_front();
    std::string trail;
    for (const auto& h : history) trail += "\n  " + h;

    ASSERT_EQ(engineText(*t, c), m.text())
        << "after step " << step << ", last operations:" << trail;
    if (step % 50 == 49 || step == steps - 1) {
      std::vector<std::int64_t> stored;
      for (const Row& r : t->file().page(t->index(), 0, 1 << 20)) stored.push_back(r.rowid);
      ASSERT_EQ(stored, m.order()) << "order after step " << step << trail;
      ASSERT_EQ(t->recordCount(), static_cast<std::int64_t>(m.rows.size()));
    }
  }
}

int envInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

TEST_P(RandomWalkTest, MatchesTheModel) {
  const int steps = envInt("CORVANTA_WALK_STEPS", 1000);
  if (const char* s = std::getenv("CORVANTA_WALK_SEED"); s && *s) {
    runWalk(static_cast<std::uint32_t>(std::strtoul(s, nullptr, 10)), steps);
    return;
  }
  for (std::uint32_t seed : {1u, 2u, 20240611u}) {
    runWalk(seed, steps);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Indexes, RandomWalkTest,
    ::testing::Values(WalkConfig{"SalesByCustNum",
                                 "NewSales",
                                 "byCustNum",
                                 "CustNum",
                                 "Item",
                                 "QuantitySold",
                                 true,
                                 {"", "", "", "1", "1", "2", "2", "2", "2.5", "10", "-3"},
                                 {"", "1", "2", "3.5"}},
                      WalkConfig{"ClientsByLastName",
                                 "clients.DB",
                                 "byLastName",
                                 "LastName",
                                 "CustNum",
                                 "FirstName",
                                 false,
                                 {"", "", "adams", "Adams", "ADAMS", "baker", "Baker", "zed"},
                                 {"", "ann", "bob"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvanta::test
