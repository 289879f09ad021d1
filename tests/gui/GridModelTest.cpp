// The grid over a shared table: read by pages, following the table's current record, and
// moving it when a person clicks a row or a navigator button.
#include <gtest/gtest.h>

#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "GuiHarness.h"
#include "data/controls/DBGrid.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "gui/ActionRunner.h"
#include "gui/GridModel.h"

namespace corvanta::test {
namespace {

class StockGridForm : public Form {
 public:
  explicit StockGridForm(Application& app) : Form(app, "StockGridForm", "Stock") {
    DBGrid1.setBounds(8, 8, 500, 240);
    DBNavigator1.setBounds(8, 256, 160, 24);
  }
  DBGrid DBGrid1{*this, "DBGrid1", "DataModule2.DataSource1"};
  DBNavigator DBNavigator1{*this,
                           "DBNavigator1",
                           "DataModule2.DataSource1",
                           {NavButton::First, NavButton::Prior, NavButton::Next, NavButton::Last}};
};

constexpr int kItems = 450;  // a little over two pages

Table& stockWithItems(CorvantaApp& app) {
  Table& t = app.g.DataModule2->InventoryTable1;
  for (int i = 0; i < kItems; ++i) {
    t.insert();
    char part[16];
    std::snprintf(part, sizeof part, "P%04d", i);
    t.fieldByName("PartNumber").setText(part);
    t.fieldByName("Description").setText("Item " + std::to_string(i));
    t.post();
  }
  t.first();
  return t;
}

TEST(Grid, ReadsOnlyThePagesItShowsAndFollowsTheCurrentRecord) {
  GuiShop shop;
  Table& stock = stockWithItems(shop.app());
  auto& form = shop.app().createForm<StockGridForm>();
  GridModel model(form.DBGrid1);

  ASSERT_TRUE(model.refresh());
  EXPECT_EQ(model.rowCount(), kItems);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "PartNumber");
  // Texts start on the left, numbers (Price, the third field) line up on the right.
  const auto alignment = [&](int column) {
    return model.data(model.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>() &
           Qt::AlignHorizontal_Mask;
  };
  EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Price");
  EXPECT_EQ(alignment(0), Qt::AlignLeft);
  EXPECT_EQ(alignment(2), Qt::AlignRight);
  EXPECT_EQ(model.currentRow(), 0);
  EXPECT_EQ(model.pageReads(), 1);  // the first page, where the table stands
  EXPECT_EQ(model.data(model.index(kItems - 1, 0), Qt::DisplayRole).toString(), "P0449");
  EXPECT_EQ(model.data(model.index(3, 1), Qt::DisplayRole).toString(), "Item 3");
  EXPECT_EQ(model.data(model.index(5, 0), Qt::DisplayRole).toString(), "P0005");
  EXPECT_EQ(model.pageReads(), 2);  // and the last one, once

  EXPECT_FALSE(model.refresh());  // nothing moved
  EXPECT_FALSE(model.followMove());
  // A move of the cursor keeps the rows read: the highlight follows without a re-read.
  stock.last();
  EXPECT_FALSE(model.refresh());
  ASSERT_TRUE(model.followMove());
  EXPECT_EQ(model.currentRow(), kItems - 1);
  EXPECT_TRUE(model.data(model.index(kItems - 1, 0), Qt::BackgroundRole).isValid());
  EXPECT_FALSE(model.data(model.index(0, 0), Qt::BackgroundRole).isValid());
  EXPECT_EQ(model.data(model.index(kItems - 1, 1), Qt::DisplayRole).toString(), "Item 449");
  EXPECT_EQ(model.pageReads(), 2);

  // A change of the stored rows drops the cache.
  stock.edit();
  stock.fieldByName("Description").setText("Item 449, renamed");
  stock.post();
  ASSERT_TRUE(model.refresh());
  EXPECT_EQ(model.data(model.index(kItems - 1, 1), Qt::DisplayRole).toString(),
            "Item 449, renamed");
  EXPECT_EQ(model.pageReads(), 3);
}

TEST(Grid, ClickOnARowAndNavigatorButtonsMoveTheSharedTable) {
  GuiShop shop;
  Table& stock = stockWithItems(shop.app());
  auto& form = shop.app().createForm<StockGridForm>();
  ActionRunner runner(shop.app());
  FormWindow window(form, runner);
  form.show();
  settle();

  auto* view = qobject_cast<QTableView*>(window.controlWidget("DBGrid1"));
  ASSERT_NE(view, nullptr);
  auto* model = view->model();
  EXPECT_EQ(model->rowCount(), kItems);
  const QRect third = view->visualRect(model->index(2, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, third.center());
  settle();
  EXPECT_EQ(stock.fieldByName("PartNumber").displayText(), "P0002");
  EXPECT_EQ(view->currentIndex().row(), 2);

  auto* first = window.findChild<QToolButton*>("First");
  auto* next = window.findChild<QToolButton*>("Next");
  auto* last = window.findChild<QToolButton*>("Last");
  ASSERT_TRUE(first && next && last);
  QTest::mouseClick(next, Qt::LeftButton);
  settle();
  EXPECT_EQ(stock.fieldByName("PartNumber").displayText(), "P0003");
  EXPECT_EQ(view->currentIndex().row(), 3);

  // Another window moves the table: the grid follows and keeps the record in view.
  stock.last();
  settle();
  EXPECT_EQ(view->currentIndex().row(), kItems - 1);
  EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(model->index(kItems - 1, 0))));
  EXPECT_FALSE(last->isEnabled());
  EXPECT_TRUE(first->isEnabled());
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

}  // namespace
}  // namespace corvanta::test
