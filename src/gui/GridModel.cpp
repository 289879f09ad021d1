#include "gui/GridModel.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <exception>
#include <limits>

#include "data/controls/DBGrid.h"
#include "data/engine/Table.h"

namespace corvanta {

GridModel::GridModel(DBGrid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}

bool GridModel::refresh(int firstShown, int lastShown) {
  if (fresh_ && generation_ == grid_.generation()) return false;
  fresh_ = true;
  generation_ = grid_.generation();

  QStringList titles;
  std::vector<int> widths;
  std::vector<bool> numeric;
  const Table* table = grid_.link().table();
  for (const auto& c : grid_.effectiveColumns()) {
    titles << QString::fromStdString(c.title);
    widths.push_back(c.width);
    const Field* f = table ? table->findField(c.fieldName) : nullptr;
    numeric.push_back(f && f->type() != FieldType::Text);
  }
  numeric_ = std::move(numeric);
  pages_.clear();
  recent_.clear();
  std::int64_t count = 0, current;
  try {
    count = grid_.rowCount();
  } catch (const std::exception& e) {
    qWarning("corvanta: grid %s: %s", grid_.name().c_str(), e.what());
  }
  const int rows = static_cast<int>(std::min<std::int64_t>(count, std::numeric_limits<int>::max()));
  moves_ = grid_.moves();
  total_ = count;  // pages read from here on are of this count
  current = locateCurrent(rows, firstShown, lastShown);
  current_ = current >= 0 && current < rows ? static_cast<int>(current) : -1;
  if (rows != rows_ || titles != titles_) {
    beginResetModel();
    rows_ = rows;
    titles_ = titles;
    widths_ = widths;
    endResetModel();
  } else if (rows_ > 0 && !titles_.isEmpty()) {
    emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
  }
  return true;
}

int GridModel::locateCurrent(int rows, int firstShown, int lastShown) const {
  std::int64_t current = -1;
  if (const std::int64_t rowid = grid_.currentRowid(); rowid != 0 && rows > 0) {
    // Where the table says it is (first or last record) and what the view shows are looked
    // at before the position is counted: those pages are read for painting anyway.
    const Table* table = grid_.link().table();
    if (table && table->bof()) current = findIn(0, 0, rowid);
    if (current < 0 && table && table->eof()) current = findIn(rows - 1, rows - 1, rowid);
    if (current < 0 && firstShown >= 0)
      current = findIn(std::min(firstShown, rows - 1), std::min(lastShown, rows - 1), rowid);
    if (current < 0) {
      try {
        current = grid_.currentPosition();
      } catch (const std::exception& e) {
        qWarning("corvanta: grid %s: %s", grid_.name().c_str(), e.what());
      }
    }
  }
  return current >= 0 && current < rows ? static_cast<int>(current) : -1;
}

bool GridModel::followMove(int firstShown, int lastShown) {
  if (!fresh_ || moves_ == grid_.moves()) return false;
  moves_ = grid_.moves();
  const int before = current_;
  current_ = locateCurrent(rows_, firstShown, lastShown);
  return current_ != before;
}

int GridModel::findIn(int firstRow, int lastRow, std::int64_t rowid) const {
  if (firstRow < 0 || lastRow < firstRow) return -1;
  for (std::int64_t n = firstRow / kPageRows; n <= lastRow / kPageRows; ++n) {
    const Page& p = page(n);
    for (size_t i = 0; i < p.rowids.size(); ++i)
      if (p.rowids[i] == rowid) return static_cast<int>(n * kPageRows + static_cast<int>(i));
  }
  return -1;
}

int GridModel::columnChars(int column) const {
  return column >= 0 && column < static_cast<int>(widths_.size()) ? widths_[column] : 12;
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

const GridModel::Page& GridModel::page(std::int64_t number) const {
  auto it = pages_.find(number);
  if (it != pages_.end()) {
    if (recent_.front() != number) {
      recent_.remove(number);
      recent_.push_front(number);
    }
    return it->second;
  }
  Page p;
  try {
    ++pageReads_;
    for (const Row& r : grid_.rows(number * kPageRows, kPageRows, total_)) {
      std::vector<QString> line;
      for (const std::string& s : grid_.cells(r)) line.push_back(QString::fromStdString(s));
      p.rowids.push_back(r.rowid);
      p.cells.push_back(std::move(line));
    }
  } catch (const std::exception& e) {
    qWarning("corvanta: grid %s: %s", grid_.name().c_str(), e.what());
  }
  if (pages_.size() >= kMaxPages) {
    pages_.erase(recent_.back());
    recent_.pop_back();
  }
  recent_.push_front(number);
  return pages_.emplace(number, std::move(p)).first->second;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  const bool current = index.row() == current_;
  switch (role) {
    case Qt::DisplayRole: {
      const Page& p = page(index.row() / kPageRows);
      const size_t at = static_cast<size_t>(index.row() % kPageRows);
      if (at >= p.cells.size() || index.column() >= static_cast<int>(p.cells[at].size())) return {};
      return p.cells[at][index.column()];
    }
    case Qt::TextAlignmentRole: {
      // Numbers line up on their last digit.
      const bool number = index.column() < static_cast<int>(numeric_.size()) &&
                          numeric_[static_cast<size_t>(index.column())];
      return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    case Qt::BackgroundRole:
      if (current) return QGuiApplication::palette().brush(QPalette::Highlight);
      return {};
    case Qt::ForegroundRole:
      if (current) return QGuiApplication::palette().brush(QPalette::HighlightedText);
      return {};
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal)
    return section >= 0 && section < titles_.size() ? titles_[section] : QVariant();
  return section == current_ ? QVariant(QStringLiteral("\u25B8")) : QVariant();
}

}  // namespace corvanta
