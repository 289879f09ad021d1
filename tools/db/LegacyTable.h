#pragma once
// One table file of the shop's former desktop database, read through pxlib: its fields, its
// code page and its records, each value converted to what our tables store (texts in UTF-8).
// The file is opened for reading only and never written.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/engine/Value.h"

namespace corvanta {

struct LegacyField {
  std::string name;
  int type = 0;          // pxlib's field type (pxfAlpha, pxfNumber, ...)
  int length = 0;        // bytes in the record
  int decimals = 0;      // digits after the point of a BCD field
  bool readable = true;  // false for memos, blobs and graphics, kept in a separate file
};

// A legacy value: empty, a number, a whole number, a text (UTF-8) or, for logical fields,
// a truth value stored as the whole number 0 or 1.
using LegacyValue = Value;

class LegacyTable {
 public:
  // Throws an Error naming the file when it cannot be opened or is not a table file.
  explicit LegacyTable(const std::filesystem::path& file);
  ~LegacyTable();
  LegacyTable(const LegacyTable&) = delete;
  LegacyTable& operator=(const LegacyTable&) = delete;

  const std::filesystem::path& path() const { return path_; }
  const std::vector<LegacyField>& fields() const { return fields_; }
  int codePage() const { return codePage_; }
  std::int64_t recordCount() const { return records_; }
  // The record numbered recno (0-based), one value per field.  Throws an Error naming the
  // file and the record when it cannot be read.
  std::vector<LegacyValue> record(std::int64_t recno);

 private:
  struct Doc;
  std::filesystem::path path_;
  std::unique_ptr<Doc> doc_;
  std::vector<LegacyField> fields_;
  std::vector<int> offsets_;
  std::vector<char> buffer_;
  int codePage_ = 0;
  std::int64_t records_ = 0;
};

// Text in a legacy code page ("CP1252", "CP437"...) as UTF-8; bytes the code page does not
// define become U+FFFD.
std::string legacyTextToUtf8(std::string_view bytes, int codePage);

}  // namespace corvanta
