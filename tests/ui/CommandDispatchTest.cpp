// The one place errors are caught, and the dialogs every headless run answers with: an error
// reaches the box whole, a box nobody queued a reply for stops the command, and whatever is
// left over (a reply, a message nobody read) is named.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/QueuedDialogs.h"

namespace corvanta {
namespace {

using namespace std::string_literals;

struct NoHelp : HelpViewer {
  void showHelp(const std::string&, int, int) override {}
};

struct Dispatch : ::testing::Test {
  QueuedDialogs dialogs;
  NoHelp help;
  Application app{dialogs, help};
};

TEST_F(Dispatch, AnErrorReachesTheErrorBoxWholeAndTheCommandReportsFailure) {
  const std::string text = "Cannot open 'sto\0ck.DB': not a table"s;
  EXPECT_FALSE(app.dispatch([&] { throw Error(text); }));
  // An exception that says nothing is still a failure, with a text a person can act on.
  EXPECT_FALSE(app.dispatch([] { throw std::runtime_error(""); }));
  EXPECT_FALSE(app.dispatch([] { throw 7; }));
  EXPECT_TRUE(app.dispatch([] {}));
  EXPECT_EQ(dialogs.takeErrors(),
            (std::vector<std::string>{text, "Unexpected error", "Unexpected error"}));
  EXPECT_EQ(dialogs.leftOver(), "");
}

TEST_F(Dispatch, AnErrorInANestedActionStopsTheWholeCommandOnce) {
  bool after = false;
  EXPECT_FALSE(app.dispatch([&] {
    app.dispatch([] { throw Error("inner"); });
    after = true;
  }));
  EXPECT_FALSE(after);
  EXPECT_EQ(dialogs.takeErrors(), std::vector<std::string>{"inner"});
}

TEST_F(Dispatch, ABoxWithNoReplyStopsTheCommandAndIsNamedOnce) {
  bool after = false;
  EXPECT_FALSE(app.dispatch([&] {
    dialogs.inputBox("Search", "Enter Part Number:", "");
    after = true;
  }));
  EXPECT_FALSE(after);
  EXPECT_EQ(dialogs.leftOver(), "unexpected input box \"Search\": Enter Part Number:");
  EXPECT_FALSE(dialogs.hasUnread()) << "the same box again as an error box";
  EXPECT_EQ(dialogs.takeUnexpected(), "unexpected input box \"Search\": Enter Part Number:");
  EXPECT_EQ(dialogs.leftOver(), "");

  EXPECT_THROW(dialogs.confirm("Delete Item", "Delete item A100?"), UnexpectedBox);
  EXPECT_EQ(dialogs.takeUnexpected(),
            "unexpected confirmation box \"Delete Item\": Delete item A100?");
  EXPECT_THROW(dialogs.openFile({"", "", "stock.rpt", ""}), UnexpectedBox);
  EXPECT_EQ(dialogs.takeUnexpected(), "unexpected file dialog \"Open\": stock.rpt");
}

TEST_F(Dispatch, RepliesAreTakenInOrderByTheirKindOfBox) {
  dialogs.queueAnswer("A100");
  dialogs.queueAnswer(std::nullopt);
  dialogs.queueAnswer(std::string(300, '7'));
  dialogs.queueConfirmation(false);
  dialogs.queueFile("/srv/reports/stock.rpt");
  EXPECT_FALSE(dialogs.confirm("Delete Item", "Delete item A100?"));
  EXPECT_EQ(dialogs.inputBox("Search", "Enter Part Number:", "x"), "A100");
  std::string value = "kept";
  EXPECT_FALSE(dialogs.inputQuery("Add", "How many?", value));
  EXPECT_EQ(value, "kept");
  EXPECT_TRUE(dialogs.inputQuery("Add", "How many?", value));
  EXPECT_EQ(value, std::string(255, '7')) << "the query's edit holds 255 characters";
  EXPECT_EQ(dialogs.openFile({"Print", "", "stock.rpt", ""}), "/srv/reports/stock.rpt");
  EXPECT_EQ(dialogs.takePrompt(), (QueuedDialogs::Prompt{"Search", "Enter Part Number:"}));
  EXPECT_EQ(dialogs.asked().front(), "Delete Item | Delete item A100?");
  EXPECT_EQ(dialogs.asked().back(), "Print | stock.rpt");
  EXPECT_EQ(dialogs.leftOver(), "");
}

TEST_F(Dispatch, WhatIsLeftOverIsNamedAndAReplyGoesStaleOnceAnActionRan) {
  dialogs.queueAnswer("5");
  EXPECT_EQ(dialogs.staleReply(), "") << "queued for the action still to come";
  dialogs.actionRan();
  EXPECT_EQ(dialogs.staleReply(), "unused reply \"5\"");
  EXPECT_EQ(dialogs.leftOver(), "unused reply \"5\"");
  dialogs.inputBox("Search", "Enter Part Number:", "");

  dialogs.queueConfirmation(true);
  EXPECT_EQ(dialogs.leftOver(), "unused confirmation Yes");
  dialogs.confirm("Delete", "Delete?");

  dialogs.showMessage("Item Number not found !");
  dialogs.showError("Record/Key deleted.");
  EXPECT_EQ(dialogs.leftOver(), "unexpected message: Item Number not found !");
  EXPECT_EQ(dialogs.takeMessage(), "Item Number not found !");
  EXPECT_EQ(dialogs.leftOver(), "unexpected error: Record/Key deleted.");
  EXPECT_THROW(dialogs.takeMessage(), std::logic_error);
  dialogs.clear();
  EXPECT_EQ(dialogs.leftOver(), "");
}

}  // namespace
}  // namespace corvanta
