#include "data/DataModule.h"

#include "data/engine/Engine.h"
#include "data/engine/TablesInUse.h"

namespace corvanta {

DataModule::DataModule(const Engine& engine, std::string name, std::string tableObject,
                       std::string alias, std::string tableName, std::string dataSourceName,
                       bool autoEdit)
    : DataModuleBase(std::move(name)),
      table_(engine, std::move(tableObject), std::move(alias), std::move(tableName)),
      source_(std::move(dataSourceName), table_, autoEdit) {
  // Held while the table is open, so that a restore knows to keep its hands off.  Tables on
  // a database server are no files of this computer: their store holds the server's own
  // tables-in-use lock instead.
  if (!engine.config().connection(table_.alias()))
    inUse_ = std::make_unique<TablesInUse>(engine.aliasDirectory(table_.alias()),
                                           TablesInUse::Mode::Shared);
  table_.open();
}

DataModule::~DataModule() = default;

DataSource* DataModule::findDataSource(std::string_view name) {
  return source_.name() == name ? &source_ : nullptr;
}

Table* DataModule::findTable(std::string_view name) {
  return table_.objectName() == name ? &table_ : nullptr;
}

void DataModule::shutdown() {
  // A record still in edit or insert state when the shop closes is discarded, never posted.
  if (table_.active()) {
    table_.cancel();
    table_.close();
  }
  inUse_.reset();
}

namespace {
std::pair<DataModule*, std::string_view> split(const Application& app, std::string_view path) {
  auto dot = path.find('.');
  if (dot == std::string_view::npos) return {nullptr, {}};
  auto* m = dynamic_cast<DataModule*>(app.dataModule(path.substr(0, dot)));
  return {m, path.substr(dot + 1)};
}
}  // namespace

DataSource* findDataSource(const Application& app, std::string_view path) {
  auto [m, rest] = split(app, path);
  return m ? m->findDataSource(rest) : nullptr;
}

Table* findTable(const Application& app, std::string_view path) {
  auto [m, rest] = split(app, path);
  return m ? m->findTable(rest) : nullptr;
}

}  // namespace corvanta
