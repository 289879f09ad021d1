#pragma once
// Writes a legacy desktop-database table file with pxlib's writer, for the import tests: the
// fields' pxlib types and lengths, the code page in the header, and records whose values are
// given as our Values (texts as raw bytes in that code page; an empty Value stays empty).
#include <filesystem>
#include <string>
#include <vector>

#include "data/engine/Value.h"

namespace corvanta::test {

struct LegacyColumn {
  std::string name;
  int type;        // pxfAlpha, pxfNumber, ...
  int length = 0;  // alpha: characters; others: 0 for the type's own size
};

void writeLegacyTable(const std::filesystem::path& file, const std::vector<LegacyColumn>& columns,
                      const std::vector<std::vector<Value>>& records, int codePage = 1252);

// The pxlib type numbers, for tests that do not include pxlib's header.
namespace legacy {
constexpr int Alpha = 0x01, Date = 0x02, Short = 0x03, Long = 0x04, Currency = 0x05, Number = 0x06,
              Logical = 0x09, Time = 0x14, AutoInc = 0x16, BCD = 0x17;
}

}  // namespace corvanta::test
