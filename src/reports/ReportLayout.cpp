#include "reports/ReportLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/Error.h"

namespace corvanta::reports {

namespace {

constexpr double kCellPadX = 3, kCellPadY = 1.5;  // points

std::string decodeEntities(std::string s) {
  static const std::pair<const char*, const char*> entities[] = {{"&nbsp;", " "}, {"&lt;", "<"},
                                                                 {"&gt;", ">"},   {"&quot;", "\""},
                                                                 {"&#39;", "'"},  {"&amp;", "&"}};
  for (const auto& [from, to] : entities)
    for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + std::strlen(to)))
      s.replace(p, std::strlen(from), to);
  return s;
}

QString attribute(const QString& attrs, const char* name) {
  QRegularExpression re(
      QStringLiteral("\\b%1\\s*=\\s*(\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(QLatin1String(name)),
      QRegularExpression::CaseInsensitiveOption);
  auto m = re.match(attrs);
  if (!m.hasMatch()) return {};
  for (int i = 2; i <= 4; ++i)
    if (m.capturedLength(i) > 0) return m.captured(i);
  return {};
}

class HtmlBlock : public Block {
 public:
  explicit HtmlBlock(std::shared_ptr<QTextDocument> doc) : doc_(std::move(doc)) {}
  double height() const override { return doc_->size().height(); }
  void paint(QPainter& p, QPointF at) const override {
    p.save();
    p.translate(at);
    doc_->drawContents(&p);
    p.restore();
  }

 private:
  std::shared_ptr<QTextDocument> doc_;
};

struct LaidCell {
  QString text;
  QRectF rect;  // relative to the row's top left, padding included
  Qt::Alignment align;
  bool bold = false;
};

class RowBlock : public Block {
 public:
  double height() const override { return height_; }
  void paint(QPainter& p, QPointF at) const override {
    p.save();
    p.translate(at);
    if (shade_) p.fillRect(QRectF(0, 0, width_, height_), QColor(236, 236, 236));
    p.setPen(Qt::black);
    for (const auto& c : cells_) {
      p.setFont(c.bold ? bold_ : font_);
      p.drawText(c.rect.adjusted(padX_, padY_, -padX_, -padY_), int(c.align) | Qt::TextWordWrap,
                 c.text);
    }
    QPen pen(Qt::black);
    pen.setWidthF(lineWidth_);
    p.setPen(pen);
    if (lineAbove_) p.drawLine(QPointF(0, spaceAbove_), QPointF(width_, spaceAbove_));
    if (lineBelow_) p.drawLine(QPointF(0, height_), QPointF(width_, height_));
    p.restore();
  }

  std::vector<LaidCell> cells_;
  QFont font_, bold_;
  double width_ = 0, height_ = 0, padX_ = 0, padY_ = 0, lineWidth_ = 1, spaceAbove_ = 0;
  bool shade_ = false, lineAbove_ = false, lineBelow_ = false;
};

}  // namespace

struct SectionLayout::Cell {
  Template text;
  double percent = 0, points = 0;  // width; both 0: a share of what is left
  Qt::Alignment align = Qt::AlignLeft;
  bool bold = false;
};

SectionLayout::SectionLayout(const Section& section, const std::string& fileName,
                             const NameScope& names, AggregateList& aggregates) {
  const QString text = QString::fromStdString(section.text).trimmed();
  try {
    static const QRegularExpression rowRe(
        QStringLiteral("^<tr(\\s[^>]*)?>(.*)</tr>$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto row = rowRe.match(text);
    if (!row.hasMatch() || row.captured(2).contains(QLatin1String("<tr"), Qt::CaseInsensitive)) {
      html_ = Template::parse(section.text, names, aggregates);
      return;
    }
    for (const auto& c : attribute(row.captured(1), "class").split(' ', Qt::SkipEmptyParts))
      rowClasses_.push_back(c.toLower().toStdString());
    static const QRegularExpression cellRe(
        QStringLiteral("<(td|th)(\\s[^>]*)?>(.*?)</\\1>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    for (auto it = cellRe.globalMatch(row.captured(2)); it.hasNext();) {
      const auto m = it.next();
      Cell cell;
      const QString attrs = m.captured(2);
      QString content = m.captured(3);
      cell.bold = m.captured(1).toLower() == "th" ||
                  content.contains(QLatin1String("<b>"), Qt::CaseInsensitive);
      // Line breaks survive the squeezing of blanks; every other tag goes.
      static const QRegularExpression br(QStringLiteral("\\s*<br\\s*/?>\\s*"),
                                         QRegularExpression::CaseInsensitiveOption);
      content.replace(br, QStringLiteral("\x01"));
      content.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
      content = content.simplified().replace(QChar(1), QChar('\n'));
      const QString align = attribute(attrs, "align").toLower();
      cell.align = align == "right"    ? Qt::AlignRight
                   : align == "center" ? Qt::AlignHCenter
                                       : Qt::AlignLeft;
      const QString width = attribute(attrs, "width").trimmed();
      if (width.endsWith('%')) {
        cell.percent = width.chopped(1).toDouble();
      } else if (!width.isEmpty()) {
        auto pts = parseLength(width.toStdString());
        if (!pts)
          throw Error("\"" + width.toStdString() + "\" is no cell width (write e.g. 20% or 1.5in)");
        cell.points = *pts;
      }
      cell.text = Template::parse(decodeEntities(content.toStdString()), names, aggregates);
      cells_.push_back(std::move(cell));
    }
    if (cells_.empty()) throw Error("a <tr> section without <td> cells");
  } catch (const Error& e) {
    throw Error(definitionError(fileName, section.line, e.what()));
  }
}

SectionLayout::~SectionLayout() = default;

struct SectionLayout::Fonts {
  QFont plain, bold;
};

SectionLayout::Fonts SectionLayout::fonts(const Paper& paper) const {
  auto has = [&](const char* c) {
    return std::find(rowClasses_.begin(), rowClasses_.end(), c) != rowClasses_.end();
  };
  Fonts f{paper.font, {}};
  if (has("small")) f.plain.setPointSizeF(paper.font.pointSizeF() * 0.85);
  if (has("large")) f.plain.setPointSizeF(paper.font.pointSizeF() * 1.25);
  f.bold = f.plain;
  f.bold.setBold(true);
  if (has("bold")) f.plain = f.bold;
  return f;
}

std::vector<const Expression*> SectionLayout::expressions() const {
  std::vector<const Expression*> out = html_.expressions();
  for (const auto& c : cells_)
    for (auto* e : c.text.expressions()) out.push_back(e);
  return out;
}

std::unique_ptr<Block> SectionLayout::make(const EvalContext& ctx, const Paper& paper, double width,
                                           bool shaded) const {
  if (cells_.empty()) {
    std::string html = html_.render(ctx, /*html*/ true);
    // A preview repaints on another device: a layout is only reused on the device it was made for.
    if (!lastDoc_ || html != lastHtml_ || width != lastWidth_ || paper.device != lastDevice_) {
      auto doc = std::make_shared<QTextDocument>();
      doc->documentLayout()->setPaintDevice(paper.device);
      doc->setDocumentMargin(0);
      doc->setDefaultFont(paper.font);
      doc->setDefaultStyleSheet(paper.styleSheet);
      doc->setHtml(QString::fromStdString(html));
      doc->setTextWidth(width);
      lastDoc_ = std::move(doc);
      lastHtml_ = std::move(html);
      lastWidth_ = width;
      lastDevice_ = paper.device;
    }
    return std::make_unique<HtmlBlock>(lastDoc_);
  }

  auto has = [&](const char* c) {
    return std::find(rowClasses_.begin(), rowClasses_.end(), c) != rowClasses_.end();
  };
  auto block = std::make_unique<RowBlock>();
  const Fonts f = fonts(paper);
  block->font_ = f.plain;
  block->bold_ = f.bold;
  block->width_ = width;
  block->padX_ = paper.px(kCellPadX);
  block->padY_ = paper.px(kCellPadY);
  block->lineWidth_ = paper.px(0.75);
  block->shade_ = shaded || has("shade");
  block->lineAbove_ = has("line-above");
  block->lineBelow_ = has("line-below");
  block->spaceAbove_ = has("space-above") ? paper.px(6) : 0;

  const std::vector<double> widths = cellWidths(paper, width);
  const bool fitted = paper.columns && std::abs(paper.columns->width() - width) < 0.5;
  const QFontMetricsF plainMetrics(block->font_, paper.device), boldMetrics(f.bold, paper.device);
  double x = 0, tallest = 0;
  for (size_t i = 0; i < cells_.size(); ++i) {
    const Cell& c = cells_[i];
    const double left = fitted ? paper.columns->map(x) : x;
    x += widths[i];
    const double w = (fitted ? paper.columns->map(x) : x) - left;
    QString text = QString::fromStdString(c.text.render(ctx, /*html*/ false));
    while (text.endsWith('\n')) text.chop(1);  // an empty last line takes no room
    LaidCell laid{text, {}, c.align, c.bold};
    const QFontMetricsF& fm = c.bold ? boldMetrics : plainMetrics;
    const double inner = std::max(1.0, w - 2 * block->padX_);
    const double h =
        laid.text.isEmpty()
            ? fm.height()
            : fm.boundingRect(QRectF(0, 0, inner, 1e7), int(c.align) | Qt::TextWordWrap, laid.text)
                  .height();
    tallest = std::max(tallest, h);
    laid.rect = QRectF(left, block->spaceAbove_, w, 0);
    block->cells_.push_back(std::move(laid));
  }
  block->height_ = block->spaceAbove_ + tallest + 2 * block->padY_;
  for (auto& c : block->cells_) c.rect.setHeight(block->height_ - block->spaceAbove_);
  return block;
}

struct SectionLayout::Metrics {
  const QPaintDevice* device;
  QFont font;
  QFontMetricsF plain, bold;
};

const SectionLayout::Metrics& SectionLayout::metrics(const Paper& paper) const {
  if (!metrics_ || metrics_->device != paper.device || metrics_->font != paper.font) {
    const Fonts f = fonts(paper);
    metrics_ = std::make_shared<Metrics>(Metrics{paper.device, paper.font,
                                                 QFontMetricsF(f.plain, paper.device),
                                                 QFontMetricsF(f.bold, paper.device)});
  }
  return *metrics_;
}

std::vector<double> SectionLayout::cellWidths(const Paper& paper, double width) const {
  double fixed = 0;
  int shares = 0;
  for (const auto& c : cells_) {
    fixed += c.points > 0 ? paper.px(c.points) : width * c.percent / 100.0;
    shares += (c.points <= 0 && c.percent <= 0) ? 1 : 0;
  }
  const double share = shares ? std::max(0.0, width - fixed) / shares : 0;
  std::vector<double> widths;
  widths.reserve(cells_.size());
  for (const auto& c : cells_)
    widths.push_back(c.points > 0    ? paper.px(c.points)
                     : c.percent > 0 ? width * c.percent / 100.0
                                     : share);
  return widths;
}

void SectionLayout::measure(const EvalContext& ctx, const Paper& paper, bool fixedOnly,
                            std::vector<double>& needs) const {
  // Up to this many characters a value is short: a quantity, a price, a unit, a part number.
  // It is kept on one line; a longer text may break between its words.
  constexpr qsizetype kShortValue = 12;
  if (needs.size() < cells_.size()) needs.resize(cells_.size(), 0.0);
  const Metrics& m = metrics(paper);
  // Metrics round each advance to the device's pixels; a hair more keeps a text that fits
  // exactly from being wrapped by the painter's own rounding.
  const double slack = paper.px(0.5) + 2 * paper.px(kCellPadX);
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  for (size_t i = 0; i < cells_.size(); ++i) {
    const Cell& c = cells_[i];
    const bool fixed = c.text.constant();
    if (fixedOnly && !fixed) continue;
    const QFontMetricsF& fm = c.bold ? m.bold : m.plain;
    const QString text = QString::fromStdString(c.text.render(ctx, /*html*/ false));
    double need = 0;
    for (const QString& line : text.split('\n')) {
      if (fixed || line.size() <= kShortValue) {
        need = std::max(need, fm.horizontalAdvance(line));
      } else {
        for (const QString& word : line.split(blanks, Qt::SkipEmptyParts))
          need = std::max(need, fm.horizontalAdvance(word));
      }
    }
    if (need > 0) needs[i] = std::max(needs[i], need + slack);
  }
}

// ---- Pager ----------------------------------------------------------------------------------

Pager::Pager(QPagedPaintDevice& device, QPainter& painter, QRectF body, int firstPage, int lastPage)
    : device_(device), painter_(painter), body_(body), firstPage_(firstPage), lastPage_(lastPage) {}

void Pager::begin() {
  if (open_ || done_) return;
  ++page_;
  if (page_ > lastPage_) {
    done_ = true;
    return;
  }
  // Pages before the first asked for are laid out but not drawn: they still decide where
  // later pages break.  The device only turns a page once something was drawn on one.
  if (page_ > firstPage_) device_.newPage();
  open_ = true;
  y_ = top_ = body_.top();
  if (onPageStart) onPageStart();
}

void Pager::placeHere(const Block& block) {
  if (visible() && !done_) block.paint(painter_, QPointF(body_.left(), y_));
  y_ += block.height();
}

void Pager::keep(double height) {
  begin();
  if (!done_ && y_ + height > body_.bottom() && !pageIsEmpty()) newPage();
}

void Pager::place(const Block& block) {
  keep(block.height());
  if (done_) return;
  placeHere(block);
}

void Pager::newPage() {
  if (open_ && onPageEnd) onPageEnd();
  open_ = false;
  begin();
}

void Pager::finish() {
  begin();  // a report with nothing in it still gets its page
  if (open_ && onPageEnd) onPageEnd();
  open_ = false;
}

}  // namespace corvanta::reports
