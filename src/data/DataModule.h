#pragma once
// A data module: the non-visual owner of one shared table object, its field objects and the
// data source through which controls of any window bind to it.  It opens its table when it is
// created and closes it (discarding a pending edit) when the application ends.
#include <memory>
#include <string>

#include "data/engine/DataSource.h"
#include "data/engine/Table.h"
#include "ui/Application.h"

namespace corvanta {

class Engine;
class TablesInUse;

class DataModule : public DataModuleBase {
 public:
  DataModule(const Engine& engine, std::string name, std::string tableObject, std::string alias,
             std::string tableName, std::string dataSourceName, bool autoEdit);
  ~DataModule() override;

  Table& table() { return table_; }
  DataSource& dataSource() { return source_; }
  // Components by name ("SalesDataSource", "SalesTable"); nullptr when absent.
  DataSource* findDataSource(std::string_view name);
  Table* findTable(std::string_view name);

  void shutdown() override;

 private:
  std::unique_ptr<TablesInUse> inUse_;
  Table table_;
  DataSource source_;
};

// "SalesDataModule.SalesDataSource" -> the data source, once that module exists.
DataSource* findDataSource(const Application& app, std::string_view path);
Table* findTable(const Application& app, std::string_view path);

}  // namespace corvanta
