#pragma once
// A field object: one column of a table, reading and writing the table's current record.
#include <string>
#include <string_view>

#include "data/engine/TableSchema.h"
#include "data/engine/Value.h"

namespace corvanta {

class Table;

class Field {
 public:
  Field(Table& table, int index, const FieldDef& def) : table_(table), index_(index), def_(def) {}
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;

  Table& table() const { return table_; }
  int index() const { return index_; }
  const FieldDef& def() const { return def_; }
  const std::string& fieldName() const { return def_.name; }
  FieldType type() const { return def_.type; }

  const Value& value() const;
  bool isNull() const;
  // What a bound control shows: "0.00" fields with two decimals, other numbers in general
  // form with up to 15 significant digits, texts as stored, an empty field as "".
  std::string displayText() const;
  // The value as a number (0 when empty or text).
  double asFloat() const;

  // Takes a text into the current record (the table must be in edit or insert state):
  // a text field keeps it cut to its size; a float field converts it (blanks, sign, digits,
  // '.', exponent) and refuses anything else with "'%s' is not a valid floating point value
  // for field '%s'"; the empty text makes the field empty.  Read-only fields refuse.
  void setText(std::string_view text);
  // Stores a value directly (type-checked the same way); used by tools and tests.
  void setValue(const Value& v);
  void clear() { setValue(Value{}); }

 private:
  Table& table_;
  int index_;
  const FieldDef& def_;
};

// Cuts a text to at most n characters, counting UTF-8 sequences as one character.
std::string cutToChars(std::string_view text, int n);

// Display text of a value of a field definition (shared by fields, grids and reports).
std::string displayTextOf(const FieldDef& def, const Value& v);

}  // namespace corvanta
