#pragma once
// The five tables of the shop: their fields, indexes and where they live.
// Names are spelled exactly as the stored files and every caller spell them.
#include <string>
#include <string_view>
#include <vector>

namespace corvanta {

enum class FieldType { Text, Float, AutoInc };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;               // characters of a text field
  std::string displayFormat;  // "0.00" or empty (general form)
  int width = 0;              // declared display width in characters; 0: none
  bool readOnly = false;
  // A running figure (the quantity in stock): an edit of it from several workstations at
  // once adds up, each edit adding what it changed to what is stored, so no sale is lost.
  bool accumulates = false;
};

struct IndexDef {
  std::string name;   // empty: the primary index
  std::string field;  // empty: no key field, the order records were stored in
  bool unique = false;
  bool noCase = false;  // names and descriptions sort and match without regard to case
};

struct TableDef {
  std::string tableName;  // as the program names it: "stock.db", "NewSales"
  std::string alias;      // "DatabaseFiles" or "DatabaseFilesQVX"
  std::string fileName;   // file in the alias directory: "stock.db", "NewSales.DB"
  std::string sqlName;    // table name inside the file: "stock", "NewSales"
  std::vector<FieldDef> fields;
  std::vector<IndexDef> indexes;  // [0] is the primary index

  int fieldIndex(std::string_view name) const;             // -1 when absent (exact spelling)
  const IndexDef* findIndex(std::string_view name) const;  // without regard to case
};

const std::vector<TableDef>& shopTables();
// The table a program name designates ("clients.DB", "clients", "NewSales"): matched without
// regard to case, with or without the ".db" ending.  nullptr when it is none of the shop's.
const TableDef* findTableDef(std::string_view tableName);
std::vector<const TableDef*> tablesOfAlias(std::string_view alias);

bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace corvanta
