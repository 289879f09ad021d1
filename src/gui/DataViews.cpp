#include "gui/DataViews.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "data/controls/DBGrid.h"
#include "gui/ActionRunner.h"
#include "gui/GridModel.h"

namespace corvanta {

namespace {

class ModelTableView : public QTableView {
 public:
  using QTableView::QTableView;
  std::function<void()> onShow;

 protected:
  void showEvent(QShowEvent* e) override {
    QTableView::showEvent(e);
    if (onShow) onShow();
  }
};

class GridView : public ControlView {
  static constexpr int kRowsAtMost = 100;  // rows a grid shows at once, at the most

 public:
  GridView(DBGrid& grid, QWidget* parent, ActionRunner& runner)
      : ControlView(grid, new ModelTableView(parent)), grid_(grid), runner_(runner) {
    view_ = static_cast<ModelTableView*>(widget());
    model_ = new GridModel(grid, view_);
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::NoSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setWordWrap(false);
    view_->setCornerButtonEnabled(false);
    // Tab and Shift+Tab go on to the next control: the arrow keys move within the grid.
    view_->setTabKeyNavigation(false);
    QHeaderView* rowsHeader = view_->verticalHeader();
    // Fixed, uniform rows: the view never asks two million rows for their height.
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    rowsHeader->setFixedWidth(16);
    rowsHeader->setDefaultAlignment(Qt::AlignCenter);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->onShow = [this] {
      if (stale_) refreshNow();
    };
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, view_,
                     [this](const QModelIndex& now, const QModelIndex&) { personMoved(now); });
  }

  void sync() override {
    ControlView::sync();
    if (!seen_ || grid_.generation() != seenGeneration_ || grid_.moves() != seenMoves_) schedule();
  }

 private:
  // A command may move the table many times; the grid follows once, when it is done.
  void schedule() {
    seen_ = true;
    seenGeneration_ = grid_.generation();
    seenMoves_ = grid_.moves();
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, view_, [this] {
      pending_ = false;
      refreshNow();
    });
  }

  void refreshNow() {
    if (!view_->isVisible()) {
      stale_ = true;  // a hidden grid does not read its table
      return;
    }
    stale_ = false;
    const int before = model_->currentRow();
    const int columnsBefore = model_->columnCount();
    const int firstShown = view_->rowAt(0);
    int lastShown = view_->rowAt(view_->viewport()->height() - 1);
    if (firstShown >= 0 && lastShown < 0) lastShown = firstShown + kRowsAtMost;
    if (!model_->refresh(firstShown, lastShown)) {
      // Only the cursor moved: the rows read stay; the highlight follows.
      if (model_->followMove(firstShown, lastShown)) {
        followCurrent(true);
        view_->viewport()->update();
        view_->verticalHeader()->viewport()->update();
      }
      return;
    }
    if (model_->columnCount() != columnsBefore) applyWidths();
    followCurrent(model_->currentRow() != before);
    view_->viewport()->update();
    view_->verticalHeader()->viewport()->update();
  }

  void applyWidths() {
    const QFontMetrics fm = view_->fontMetrics();
    // Headings are measured in the header's own font, with room for its margins, so that no
    // heading is cut.
    const QFontMetrics heading = view_->horizontalHeader()->fontMetrics();
    for (int c = 0; c < model_->columnCount(); ++c) {
      const int byChars = model_->columnChars(c) * fm.averageCharWidth() + 10;
      const int byTitle = heading.horizontalAdvance(
                              model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) +
                          24;
      view_->setColumnWidth(c, std::max(byChars, byTitle));
    }
  }

  void followCurrent(bool scroll) {
    const int row = model_->currentRow();
    syncing_ = true;
    if (row >= 0) {
      const int column = std::max(0, view_->currentIndex().column());
      const QModelIndex at = model_->index(row, column);
      view_->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
      if (scroll) view_->scrollTo(at, QAbstractItemView::EnsureVisible);
    } else {
      view_->selectionModel()->clearCurrentIndex();
    }
    syncing_ = false;
  }

  void personMoved(const QModelIndex& now) {
    if (syncing_ || !now.isValid() || now.row() == model_->currentRow()) return;
    bool moved = false;
    runner_.run([&] { moved = grid_.clickRow(now.row() + 1); });
    // The record may be gone: the view goes back to the record the table is on.
    if (!moved) followCurrent(false);
  }

  DBGrid& grid_;
  ActionRunner& runner_;
  ModelTableView* view_;
  GridModel* model_;
  bool seen_ = false, pending_ = false, stale_ = false, syncing_ = false;
  std::uint64_t seenGeneration_ = 0, seenMoves_ = 0;
};

QString navGlyph(NavButton b) {
  switch (b) {
    case NavButton::First:
      return QStringLiteral("|\u25C0");
    case NavButton::Prior:
      return QStringLiteral("\u25C0");
    case NavButton::Next:
      return QStringLiteral("\u25B6");
    case NavButton::Last:
      return QStringLiteral("\u25B6|");
    case NavButton::Insert:
      return QStringLiteral("+");
    case NavButton::Delete:
      return QStringLiteral("\u2212");
    case NavButton::Edit:
      return QStringLiteral("\u25B2");
    case NavButton::Post:
      return QStringLiteral("\u2714");
    case NavButton::Cancel:
      return QStringLiteral("\u2716");
    case NavButton::Refresh:
      return QStringLiteral("\u21BB");
  }
  return {};
}

class NavigatorView : public ControlView {
 public:
  NavigatorView(DBNavigator& nav, QWidget* parent, ActionRunner& runner)
      : ControlView(nav, new QWidget(parent)), nav_(nav) {
    auto* row = new QHBoxLayout(widget());
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (NavButton b : nav.visibleButtons()) {
      auto* button = new QToolButton(widget());
      button->setObjectName(QString::fromLatin1(navButtonName(b)));
      button->setText(navGlyph(b));
      button->setToolTip(toQ(nav.buttonHint(b)));
      button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
      button->setMinimumSize(22, 20);
      QObject::connect(button, &QToolButton::clicked, button,
                       [this, b, &runner] { runner.run([this, b] { nav_.click(b); }); });
      row->addWidget(button);
      buttons_.push_back({b, button});
    }
  }

  void sync() override {
    ControlView::sync();
    for (auto& [b, button] : buttons_) {
      bool on = false;
      try {
        on = nav_.isEnabled(b);
      } catch (...) {
      }
      button->setEnabled(on);
    }
  }

 private:
  DBNavigator& nav_;
  std::vector<std::pair<NavButton, QToolButton*>> buttons_;
};

}  // namespace

std::unique_ptr<ControlView> makeGridView(Control& control, QWidget* parent, ActionRunner& runner) {
  return std::make_unique<GridView>(dynamic_cast<DBGrid&>(control), parent, runner);
}

std::unique_ptr<ControlView> makeNavigatorView(Control& control, QWidget* parent,
                                               ActionRunner& runner) {
  return std::make_unique<NavigatorView>(dynamic_cast<DBNavigator&>(control), parent, runner);
}

}  // namespace corvanta
