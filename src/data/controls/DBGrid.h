#pragma once
// A read-only grid over a shared table, in the order of its selected index.  It never reads
// the table whole: rows are fetched by page from the table file, without moving the cursor.
// Clicking a row makes that record the table's current record.
#include <cstdint>
#include <vector>

#include "data/controls/DataLink.h"
#include "data/engine/Value.h"
#include "ui/Control.h"

namespace corvanta {

struct GridColumn {
  std::string fieldName;
  std::string title;  // the field name unless set
  int width = 0;      // characters
};

class DBGrid : public Control, public DataObserver {
 public:
  DBGrid(Form& form, std::string name, std::string dataSource, Control* parent = nullptr);

  // Columns: every field of the table, titled by field name, as wide as the field's declared
  // width (else its size), unless a window sets its own list.
  std::vector<GridColumn> columns;
  const std::vector<GridColumn>& effectiveColumns() const { return effective_; }
  const DataLink& link() const { return link_; }

  std::int64_t rowCount() const;
  // Rows [offset, offset + limit) in the current index order.  With rowCount() passed as
  // total, pages near the end are read from the end.
  std::vector<Row> rows(std::int64_t offset, int limit, std::int64_t total = -1) const;
  // Display texts of a row, one per column.
  std::vector<std::string> cells(const Row& row) const;
  // 0-based position of the current record in the grid's order (-1 when none).
  std::int64_t currentPosition() const;
  std::int64_t currentRowid() const;
  // A person clicks row n (1-based): that record becomes current.  False when there is none.
  bool clickRow(std::int64_t n);
  // Increments whenever the rows the grid shows may have changed (presentations poll it).
  std::uint64_t generation() const { return generation_; }
  // Increments whenever only the current record moved: the rows are as they were.
  std::uint64_t moves() const { return moves_; }

  void bindDataSources(Application& app) override;
  void dataEvent(DataEvent event, const Field* field) override;

 private:
  void computeColumns();
  DataLink link_;
  std::vector<GridColumn> effective_;
  std::vector<int> columnFields_;
  std::uint64_t generation_ = 0;
  std::uint64_t moves_ = 0;
};

enum class NavButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
const char* navButtonName(NavButton b);  // "First", "Prior", ...

// The record navigator: buttons that move and edit the bound table, enabled as a person
// expects (First and Prior off at the first record, Next and Last off at the last one,
// Post and Cancel only while editing).
class DBNavigator : public Control, public DataObserver {
 public:
  DBNavigator(Form& form, std::string name, std::string dataSource,
              std::vector<NavButton> visibleButtons, Control* parent = nullptr);

  const std::vector<NavButton>& visibleButtons() const { return buttons_; }
  bool isVisible(NavButton b) const;
  bool isEnabled(NavButton b) const;
  std::string buttonHint(NavButton b) const;  // "First record", "Prior record", ...
  // A person clicks a button (through the dispatcher).  Disabled or hidden: nothing.
  void click(NavButton b);
  const DataLink& link() const { return link_; }

  void bindDataSources(Application& app) override;
  void dataEvent(DataEvent event, const Field* field) override;

 private:
  DataLink link_;
  std::vector<NavButton> buttons_;
};

}  // namespace corvanta
