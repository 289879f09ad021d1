// Every window of the application, as start-up leaves it, is wired: its handlers exist, its
// data-aware controls are bound to real sources and fields, its control names are unique.
// A window wired wrongly on purpose shows that each kind of fault is caught.
#include <gtest/gtest.h>

#include "data/Wiring.h"
#include "data/controls/DBEdit.h"
#include "support/TestSupport.h"
#include "ui/Form.h"

namespace corvanta {
namespace {

using test::TestShop;

TEST(Wiring, EveryWindowAfterStartUpIsSound) {
  TestShop shop;
  EXPECT_GT(shop.app->forms().size(), 20u);
  EXPECT_EQ(wiringFaults(*shop.app), std::vector<std::string>{});
}

struct MiswiredForm : Form {
  explicit MiswiredForm(Application& app) : Form(app, "MiswiredForm", "") {
    addHandler("cmdGoodClick", [] {});
    addHandler("GoodExit", [] {});
    LastNameEdit.exitHandler = "GoodExit";
    CityEdit.exitHandler = "CityEditExit";
  }
  DBEdit LastNameEdit{*this, "LastNameEdit", "ClientDataModule.ClientsDataSource", "LastName"};
  DBEdit MisspeltSource{*this, "MisspeltSource", "ClientDataModule.ClientDataSource", "LastName"};
  DBEdit MisspeltField{*this, "MisspeltField", "ClientDataModule.ClientsDataSource", "LastNam"};
  DBEdit CityEdit{*this, "CityEdit", "ClientDataModule.ClientsDataSource", "City"};
  Button cmdGood{*this, "cmdGood", "Good", "cmdGoodClick"};
  Button cmdBad{*this, "cmdBad", "Bad", "cmdBadClick"};
  MenuItem Twice{*this, "cmdGood", "Twice", ""};
};

TEST(Wiring, AMisspeltSourceFieldOrHandlerIsFound) {
  TestShop shop;
  shop.app->createForm<MiswiredForm>();
  EXPECT_EQ(wiringFaults(*shop.app),
            (std::vector<std::string>{
                "MiswiredForm.MisspeltSource: data source "
                "\"ClientDataModule.ClientDataSource\" not found",
                "MiswiredForm.MisspeltField: field \"LastNam\" not in clients.DB",
                "MiswiredForm.CityEdit: exit handler CityEditExit not found",
                "MiswiredForm.cmdBad: handler cmdBadClick not found",
                "MiswiredForm.cmdGood: a second control of this name",
            }));
}

}  // namespace
}  // namespace corvanta
