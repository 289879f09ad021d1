// Finding help files, and what the shipped ones hold.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "reports/HelpFileViewer.h"
#include "support/TestSupport.h"
#include "ui/Error.h"

namespace corvanta::reports {
namespace {

namespace fs = std::filesystem;

std::string errorOf(const HelpFiles& files, const std::string& name) {
  try {
    files.locate(name);
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(HelpFiles, WindowsNamesAndBareNamesFindTheShippedFiles) {
  EngineConfig config;
  HelpFiles files(config);
  const fs::path help = fs::canonical(EngineConfig::shareDirectory() / "help");
  EXPECT_EQ(fs::canonical(files.locate("C:\\windows\\help\\Corvanta.HLP")), help / "Corvanta.HLP");
  EXPECT_EQ(fs::canonical(files.locate("c:\\WINDOWS\\Help\\inventory.hlp")),
            help / "Inventory.HLP");
  EXPECT_EQ(fs::canonical(files.locate("C:\\windows\\help\\CLIENT32.HLP")), help / "CLIENT32.HLP");
  EXPECT_EQ(fs::canonical(files.locate("Corvanta.HLP")), help / "Corvanta.HLP");
}

TEST(HelpFiles, AMappedFolderAndASearchPathOfOurOwn) {
  test::TempDir dir;
  std::ofstream(dir.path() / "Shop.hlp") << "<html></html>";
  EngineConfig config;
  config.mapPath("D:\\Shop\\Help", dir.path());
  HelpFiles files(config, {dir.path()});
  EXPECT_EQ(files.locate("d:\\shop\\help\\SHOP.HLP"), dir.path() / "Shop.hlp");
  EXPECT_EQ(files.locate("shop.hlp"), dir.path() / "Shop.hlp");
  EXPECT_EQ(errorOf(files, "Corvanta.HLP"),
            "Cannot find the help file Corvanta.HLP (looked in " + dir.path().string() + ")");
}

TEST(HelpFiles, MissingFilesAndTheStartUpFolderGiveClearMessages) {
  EngineConfig config;
  HelpFiles files(config);
  const std::string missing = errorOf(files, "C:\\windows\\help\\Payroll.HLP");
  EXPECT_EQ(
      missing.rfind("Cannot find the help file C:\\windows\\help\\Payroll.HLP (looked for ", 0), 0u)
      << missing;
  EXPECT_EQ(errorOf(files, "c:\\windows\\help"),
            "No help file is chosen: c:\\windows\\help is a folder");
  EXPECT_EQ(errorOf(files, ""), "No help file is chosen");
}

TEST(HelpFiles, TheViewerShowsTheLocatedFileOrThrows) {
  EngineConfig config;
  std::vector<std::pair<fs::path, std::string>> shown;
  HelpFileViewer viewer(config,
                        [&](const fs::path& f, const std::string& n) { shown.emplace_back(f, n); });
  viewer.showHelp("C:\\windows\\help\\Inventory.HLP", 3, 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first.filename(), "Inventory.HLP");
  EXPECT_EQ(shown[0].second, "C:\\windows\\help\\Inventory.HLP");
  EXPECT_THROW(viewer.showHelp("C:\\windows\\help\\Nothing.HLP", 3, 0), Error);
  EXPECT_EQ(shown.size(), 1u);
}

std::string read(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(HelpFiles, EveryShippedFileHasAContentsPageAndItsWindowsCommands) {
  const fs::path help = EngineConfig::shareDirectory() / "help";
  const std::map<std::string, std::vector<std::string>> expected = {
      {"Corvanta.HLP",
       {"Sales Entry Form", "Add to Order", "Print Reciept", "Print Invoice", "Search/Edit Order",
        "Enter Payment Status/ Date Recieved", "Enter Shipping information", "Print Packaging Slip",
        "Set SalesTax", "Print Sales Report"}},
      {"Inventory.HLP",
       {"Add Item", "Save Entry", "Add Inventory", "Remove Inventory", "Minimum Quantity",
        "Print Preview", "Print List of Items to Re-Order", "Search by Description",
        "Order by Part Number"}},
      {"CLIENT32.HLP",
       {"Add New Customer", "Save Record", "Delete Customer", "Billing Address", "Shipping Address",
        "Print Labels", "clientlbs5160"}},
  };
  for (const auto& [file, phrases] : expected) {
    const std::string text = read(help / file);
    EXPECT_NE(text.find("<a name=\"contents\">"), std::string::npos) << file;
    // Every link on the contents page leads somewhere in the file.
    for (size_t at = text.find("href=\"#"); at != std::string::npos;
         at = text.find("href=\"#", at + 1)) {
      const std::string anchor = text.substr(at + 7, text.find('"', at + 7) - at - 7);
      EXPECT_NE(text.find("<a name=\"" + anchor + "\">"), std::string::npos)
          << file << " #" << anchor;
    }
    for (const auto& p : phrases) EXPECT_NE(text.find(p), std::string::npos) << file << ": " << p;
  }
}

}  // namespace
}  // namespace corvanta::reports
