#pragma once
// Putting sections on paper.  A section is either one table row (`<tr>` of `<td>`/`<th>`
// cells), drawn directly as aligned cells, which is fast enough for lists of a hundred
// thousand rows, or free HTML laid out by QTextDocument.  The pager stacks blocks down the
// page body and starts a new page when the next one does not fit.
//
// All geometry is in device pixels; `Paper` converts from points.
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QTextDocument>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/ColumnFit.h"
#include "reports/ReportDefinition.h"
#include "reports/Template.h"

namespace corvanta::reports {

// The paint device and the fonts and style every block of one run shares.
struct Paper {
  QPaintDevice* device = nullptr;
  double dpi = 72;
  QFont font;          // the definition's font, resolved for the device
  QString styleSheet;  // the definition's "style" section
  // The list's fitted columns: row sections laid out as wide as `columns->width()` put their
  // cell edges where it maps them.  Null: the widths as the definition gives them.
  const ColumnFit* columns = nullptr;
  double px(double points) const { return points * dpi / 72.0; }
};

class Block {
 public:
  virtual ~Block() = default;
  virtual double height() const = 0;
  virtual void paint(QPainter& painter, QPointF topLeft) const = 0;
};

// One section of a definition, checked against the tables, ready to make blocks.
class SectionLayout {
 public:
  // Throws Error naming the file and line for a placeholder it cannot read.
  SectionLayout(const Section& section, const std::string& fileName, const NameScope& names,
                AggregateList& aggregates);
  ~SectionLayout();

  bool isRow() const { return !cells_.empty(); }
  // A block for the current values, laid out `width` pixels wide.  `shaded`: a striped row.
  std::unique_ptr<Block> make(const EvalContext& ctx, const Paper& paper, double width,
                              bool shaded = false) const;
  std::vector<const Expression*> expressions() const;

  // The cells' widths as the definition gives them on a line `width` pixels wide (empty for
  // an HTML section): fixed ones, then percentages, then equal shares of what is left.
  std::vector<double> cellWidths(const Paper& paper, double width) const;
  // Raises `needs` (one entry per cell) to the width each cell's text needs for the current
  // values, padding included: a fixed text (a heading) or a short value as a whole line, a
  // longer value its widest word, as wrapping between words is what a long value expects.
  // `fixedOnly`: only the cells without placeholders.
  void measure(const EvalContext& ctx, const Paper& paper, bool fixedOnly,
               std::vector<double>& needs) const;
  // Drops the layout kept for reuse; every paint starts with this, as its device may be new.
  void forgetLayout() const {
    lastDoc_.reset();
    metrics_.reset();
  }

  struct Cell;

 private:
  struct Fonts;
  struct Metrics;
  Fonts fonts(const Paper& paper) const;
  const Metrics& metrics(const Paper& paper) const;

  Template html_;
  std::vector<Cell> cells_;
  std::vector<std::string> rowClasses_;
  mutable std::string lastHtml_;  // constant sections are laid out once
  mutable double lastWidth_ = -1;
  mutable const QPaintDevice* lastDevice_ = nullptr;
  mutable std::shared_ptr<QTextDocument> lastDoc_;
  mutable std::shared_ptr<Metrics> metrics_;  // measuring runs row after row on one device
};

class Pager {
 public:
  // `body`: where blocks go on every page (the page header and footer lie outside it).
  Pager(QPagedPaintDevice& device, QPainter& painter, QRectF body, int firstPage, int lastPage);

  // Called when a page begins (after the first block asks for room) and when it ends.
  std::function<void()> onPageStart, onPageEnd;

  int page() const { return page_; }
  bool visible() const { return page_ >= firstPage_; }
  // Past the last page asked for: nothing more is drawn.
  bool done() const { return done_; }
  double remaining() const { return body_.bottom() - y_; }
  bool pageIsEmpty() const { return y_ <= top_ + 0.01; }

  // Puts the block below the previous one, on a new page when it does not fit (a block
  // taller than a whole page is cut at the page's end).
  void place(const Block& block);
  // Puts the block at the current position whatever room is left (page headers).
  void placeHere(const Block& block);
  // Makes sure `height` fits on this page, starting a new one when not.
  void keep(double height);
  void newPage();
  void finish();
  QPainter& painter() { return painter_; }
  const QRectF& body() const { return body_; }
  // Marks where the body of this page really starts (below the page header).
  void setTop() { top_ = y_; }

 private:
  void begin();

  QPagedPaintDevice& device_;
  QPainter& painter_;
  QRectF body_;
  int firstPage_, lastPage_;
  int page_ = 0;
  double y_ = 0, top_ = 0;
  bool open_ = false, done_ = false;
};

}  // namespace corvanta::reports
