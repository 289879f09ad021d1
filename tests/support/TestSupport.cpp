#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <stdexcept>

#include "data/modules/DataModules.h"
#include "sales/PreSalesEntryCustomerSearchForm.h"
#include "sales/PreSalesEntryForm.h"
#include "support/TestDatabase.h"

namespace corvanta::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (int i = 0; i < 100; ++i) {
    fs::path p = fs::temp_directory_path() /
                 ("corvanta-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      path_ = p;
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

StrictDialogs::~StrictDialogs() {
  if (std::string left = leftOver(); !left.empty())
    ADD_FAILURE() << "every box answered and read, got " << left;
}

ShopRun::ShopRun(const std::filesystem::path& dir)
    : engine(testEngineConfig(dir)), app(engine, Platform{dialogs, help, reports, {}, {}}) {}

ShopRun::~ShopRun() {
  app.shutdown();
}

void fill(Table& table, std::initializer_list<std::pair<const char*, const char*>> values) {
  table.insert();
  for (const auto& [field, text] : values) table.fieldByName(field).setText(text);
  table.post();
}

TestShop::TestShop()
    : engine(EngineConfig::forDataDirectory(dir.path())),
      app(std::make_unique<CorvantaApp>(engine, Platform{dialogs, help, reports, {}, calendar})) {
  if (!app->start())
    throw std::runtime_error("start-up failed: " + (dialogs.unreadErrors().empty()
                                                        ? std::string("?")
                                                        : dialogs.takeError()));
}

TestShop::~TestShop() {
  if (app) app->shutdown();
  app.reset();
}

std::string shopContents(const EngineConfig& cfg, bool withRowIds) {
  Engine engine(cfg);
  std::string out;
  for (const auto& def : shopTables()) {
    auto store = engine.openTable(def.alias, def, true);
    out += def.tableName + ":\n";
    store->scan(def.indexes.front(), [&](const Row& row) {
      if (withRowIds) out += std::to_string(row.rowid) + "|";
      for (size_t i = 0; i < row.values.size(); ++i)
        out += (i ? "|" : "") + displayTextOf(def.fields[i], row.values[i]);
      out += "\n";
      return true;
    });
  }
  return out;
}

void startOrderFor(Globals& g, QueuedDialogs& dialogs, const std::string& customerNumber) {
  g.PreSalesEntryForm->cmdContinue.click();
  g.PreSalesEntryCustomerSearchForm->optSearchCustNum.choose();
  dialogs.queueAnswer(customerNumber);
  g.PreSalesEntryCustomerSearchForm->cmdOK.click();
}

}  // namespace corvanta::test
