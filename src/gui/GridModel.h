#pragma once
// A Qt table model over a DBGrid: the table read by pages, never whole.
//
// Rows are fetched kPageRows at a time through DBGrid::rows(offset, limit) and kept in a
// small page cache; the row count, the columns and the current record's row are taken once
// per grid generation (DBGrid::generation() moves whenever what the grid shows may have
// changed).  Reading a page costs O(offset) in the engine, so a page read is never repeated
// while the generation stands.  The current record is looked for first on the first or last
// page (when the table says it is at an end) and in the pages the view shows, which are read
// for painting anyway; only when it is elsewhere is its position counted.
// Engine errors while reading show as empty cells: painting never puts up an error box.
#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <list>
#include <map>
#include <vector>

namespace corvanta {

class DBGrid;

class GridModel : public QAbstractTableModel {
 public:
  static constexpr int kPageRows = 200;
  static constexpr size_t kMaxPages = 64;

  explicit GridModel(DBGrid& grid, QObject* parent = nullptr);

  // Takes the grid's state anew if its generation moved since the last call (row count,
  // columns, current row; the cache is dropped).  Rows firstShown..lastShown are what the
  // view shows (-1: nothing yet).  True when it moved.
  bool refresh(int firstShown = -1, int lastShown = -1);
  // Only the current record moved (DBGrid::moves()): the cached rows stay, the current row is
  // found again.  Returns whether it changed.
  bool followMove(int firstShown = -1, int lastShown = -1);
  // The current record's row (-1 when none), as of the last refresh.
  int currentRow() const { return current_; }
  // Columns' widths in characters, as the grid asks for them.
  int columnChars(int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // How many pages were read from the engine so far (for tests and measurements).
  int pageReads() const { return pageReads_; }

 private:
  struct Page {
    std::vector<std::int64_t> rowids;
    std::vector<std::vector<QString>> cells;
  };
  const Page& page(std::int64_t number) const;
  // The row of the record with this row id if it lies in rows firstRow..lastRow, else -1.
  int findIn(int firstRow, int lastRow, std::int64_t rowid) const;

  DBGrid& grid_;
  std::uint64_t generation_ = 0;
  bool fresh_ = false;
  int rows_ = 0;
  int current_ = -1;
  std::uint64_t moves_ = 0;
  std::int64_t total_ = -1;  // the record count the cached pages were read against
  int locateCurrent(int rows, int firstShown, int lastShown) const;
  QStringList titles_;
  std::vector<int> widths_;
  std::vector<bool> numeric_;  // columns of number fields, right-aligned
  mutable std::map<std::int64_t, Page> pages_;
  mutable std::list<std::int64_t> recent_;  // page numbers, most recently used first
  mutable int pageReads_ = 0;
};

}  // namespace corvanta
