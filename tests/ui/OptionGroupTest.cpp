// The option-group dialog block: its layout fits and keeps the controls apart, one option is
// selected at a time, and a dialog wired wrongly is refused when it is created.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/TestSupport.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {
namespace {

struct NoHelp : HelpViewer {
  void showHelp(const std::string&, int, int) override {}
};

// A price choice of four, with a second group box whose option must not be touched.
struct PriceDialog : Form {
  explicit PriceDialog(Application& app) : Form(app, "PriceDialog", "Price") {}
  GroupBox Prices{*this, "Prices", "Price"};
  OptionButton optA{*this, "optA", "Retail", "", &Prices};
  OptionButton optB{*this, "optB", "Wholesale", "", &Prices};
  OptionButton optC{*this, "optC", "Dealer", "", &Prices};
  OptionButton optD{*this, "optD", "Special", "", &Prices};
  GroupBox Other{*this, "Other", ""};
  OptionButton optOther{*this, "optOther", "Other", "", &Other};
  Button cmdOK{*this, "cmdOK", "OK", ""};
  Button cmdCancel{*this, "cmdCancel", "Cancel", ""};
  OptionGroup options{Prices, {&optA, &optB, &optC, &optD}, cmdOK, cmdCancel, {.width = 240}};
};

bool inside(const Bounds& inner, int width, int height) {
  return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= width &&
         inner.top + inner.height <= height;
}

bool overlap(const Bounds& a, const Bounds& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

class OptionGroupTest : public ::testing::Test {
 protected:
  test::StrictDialogs dialogs;
  NoHelp help;
  Application app{dialogs, help};
};

TEST_F(OptionGroupTest, LaysOutEveryOptionInsideTheBoxAndTheButtonsBelowIt) {
  PriceDialog& d = app.createForm<PriceDialog>();
  EXPECT_EQ(d.clientWidth, 240);
  EXPECT_EQ(d.border, BorderStyle::Dialog);
  const Bounds box = d.Prices.bounds();
  EXPECT_TRUE(inside(box, d.clientWidth, d.clientHeight));
  OptionButton* opts[] = {&d.optA, &d.optB, &d.optC, &d.optD};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(inside(opts[i]->bounds(), box.width, box.height)) << opts[i]->name();
    if (i > 0) {
      EXPECT_FALSE(overlap(opts[i - 1]->bounds(), opts[i]->bounds())) << i;
    }
  }
  for (Button* b : {&d.cmdOK, &d.cmdCancel}) {
    EXPECT_TRUE(inside(b->bounds(), d.clientWidth, d.clientHeight)) << b->name();
    EXPECT_GE(b->bounds().top, box.top + box.height) << b->name();
  }
  EXPECT_FALSE(overlap(d.cmdOK.bounds(), d.cmdCancel.bounds()));
  EXPECT_TRUE(d.cmdOK.isDefault);
  EXPECT_TRUE(d.cmdCancel.isCancel);
  EXPECT_FALSE(d.cmdCancel.isDefault);
}

TEST_F(OptionGroupTest, OneOptionIsSelectedAtATime) {
  PriceDialog& d = app.createForm<PriceDialog>();
  EXPECT_EQ(d.options.chosenIndex(), 0);
  d.optOther.setChecked(true);  // another group: no effect on this one
  EXPECT_EQ(d.options.chosenName(), "optA");

  d.optC.choose();  // a person
  EXPECT_EQ(d.options.chosenIndex(), 2);
  EXPECT_EQ(d.options.chosenName(), "optC");
  EXPECT_FALSE(d.optA.checked());
  EXPECT_TRUE(d.optOther.checked());

  d.options.choose(3);  // the program
  EXPECT_EQ(d.options.chosenName(), "optD");
  EXPECT_FALSE(d.optC.checked());

  d.optD.setChecked(false);
  EXPECT_EQ(d.options.chosenIndex(), -1);
  EXPECT_EQ(d.options.chosenName(), "");
}

struct MiswiredDialog : Form {
  explicit MiswiredDialog(Application& app) : Form(app, "MiswiredDialog", "") {}
  GroupBox Box{*this, "Box", ""};
  OptionButton optIn{*this, "optIn", "In", "", &Box};
  OptionButton optLoose{*this, "optLoose", "Outside the box", ""};
  Button cmdOK{*this, "cmdOK", "OK", ""};
  Button cmdCancel{*this, "cmdCancel", "Cancel", ""};
  OptionGroup options{Box, {&optIn, &optLoose}, cmdOK, cmdCancel};
};

TEST_F(OptionGroupTest, AnOptionOutsideItsGroupBoxIsAWiringFault) {
  try {
    app.createForm<MiswiredDialog>();
    FAIL() << "created";
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "MiswiredDialog: option optLoose is not in group box Box");
  }
}

}  // namespace
}  // namespace corvanta
