#include "reports/ReportJob.h"

#include <QPainter>
#include <cmath>
#include <fstream>
#include <sstream>

#include "base/Text.h"
#include "data/numbers/Numbers.h"
#include "reports/ColumnFit.h"
#include "reports/ReportData.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportLayout.h"
#include "reports/ReportText.h"
#include "ui/Error.h"

namespace corvanta::reports {

namespace fs = std::filesystem;

namespace {

// shop.ini beside the definitions: "Name = Harbor Lane Hardware" lines, read by {{shop.Name}}.
std::map<std::string, std::string> readShopInfo(const fs::path& dir) {
  std::map<std::string, std::string> info;
  std::ifstream in(dir / "shop.ini");
  std::string line;
  while (std::getline(in, line)) {
    line = trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') continue;
    const auto eq = line.find('=');
    if (eq != std::string::npos)
      info[toLower(trim(line.substr(0, eq)))] = trim(line.substr(eq + 1));
  }
  return info;
}

int findField(const TableDef& def, std::string_view name) {
  int i = def.fieldIndex(name);
  if (i >= 0) return i;
  for (size_t k = 0; k < def.fields.size(); ++k)
    if (equalsNoCase(def.fields[k].name, name)) return static_cast<int>(k);
  return -1;
}

QPageSize::PageSizeId pageId(const std::string& name) {
  if (name == "legal") return QPageSize::Legal;
  if (name == "a4") return QPageSize::A4;
  if (name == "a5") return QPageSize::A5;
  return QPageSize::Letter;
}

}  // namespace

struct ReportJob::Impl : NameScope, EvalContext {
  struct LookupSource {
    std::string name;
    std::unique_ptr<Lookup> lookup;
    std::shared_ptr<const Expression> key;  // null for `first`
  };

  ReportDefinition def;
  std::string displayName;
  Parameters parameters;  // keys in lower case
  std::map<std::string, std::string> shop;
  std::string title;
  Calendar calendar;

  const TableDef* rowsDef = nullptr;
  std::unique_ptr<TableStore> rows;
  const IndexDef* index = nullptr;
  std::shared_ptr<const Expression> rangeCondition;  // `Field = value` read as an index range
  std::vector<std::shared_ptr<const Expression>> conditions;
  std::vector<LookupSource> lookups;
  size_t visibleLookups = 0;  // while checking: a lookup key sees only the lookups before it
  std::shared_ptr<const Expression> group;
  std::map<std::string, std::unique_ptr<SectionLayout>> sections;
  AggregateList aggregates;

  // While painting.
  const Row* row = nullptr;
  Pager* pager = nullptr;
  int labelPage = 0;
  bool groupScope = false;
  bool cut = false;                    // the last page asked for came before the end of the report
  std::vector<std::string> cutLabels;  // "page 1, label 4", labels whose text did not fit
  int groups = 0;
  std::vector<long double> reportSums, groupSums;

  [[noreturn]] void fail(int line, const std::string& what) const {
    throw Error(definitionError(displayName, line, what));
  }

  // ---- NameScope
  std::optional<FieldRef> field(std::string_view qualifier, std::string_view name) const override {
    if (qualifier.empty()) {
      const int f = findField(*rowsDef, name);
      if (f < 0) return std::nullopt;
      return FieldRef{0, f, &rowsDef->fields[static_cast<size_t>(f)]};
    }
    for (size_t i = 0; i < visibleLookups; ++i)
      if (equalsNoCase(lookups[i].name, qualifier)) {
        const TableDef& t = lookups[i].lookup->def();
        const int f = findField(t, name);
        if (f < 0)
          throw Error("unknown field \"" + std::string(name) + "\" in table " + t.tableName);
        return FieldRef{static_cast<int>(i) + 1, f, &t.fields[static_cast<size_t>(f)]};
      }
    throw Error("unknown lookup \"" + std::string(qualifier) + "\"");
  }

  // ---- EvalContext
  RValue field(const FieldRef& ref) const override {
    const Row* r = row;
    if (ref.source > 0) {
      const LookupSource& l = lookups[static_cast<size_t>(ref.source - 1)];
      r = l.lookup->find(l.key ? l.key->eval(*this) : RValue());
    }
    if (!r) return {};
    RValue v = fromStored(r->values[static_cast<size_t>(ref.field)]);
    if (isCardNumberField(ref.def->name)) return maskCardNumber(toText(v));
    return v;
  }
  std::optional<std::string> parameter(const std::string& name) const override {
    auto it = parameters.find(toLower(name));
    if (it == parameters.end()) return std::nullopt;
    return it->second;
  }
  RValue special(const std::string& name) const override {
    if (name == "page") return static_cast<double>(pager ? pager->page() : labelPage);
    if (name == "today") return calendar.writeDate();
    if (name == "title") return title;
    if (name == "groups") return static_cast<double>(groups);
    auto it = shop.find(toLower(name.substr(5)));  // "shop.X"
    return it == shop.end() ? RValue() : RValue(it->second);
  }
  std::string shortDateFormat() const override {
    return calendar.shortDateFormat.empty() ? Calendar::kDefaultShortDateFormat
                                            : calendar.shortDateFormat;
  }
  RValue aggregate(int id) const override {
    const auto& sums = groupScope ? groupSums : reportSums;
    return static_cast<double>(sums[static_cast<size_t>(id)]);
  }

  // ---- checking
  std::shared_ptr<const Expression> parse(int line, const std::string& text) {
    try {
      return Expression::parse(text, *this, aggregates);
    } catch (const Error& e) {
      fail(line, e.what());
    }
  }

  // Whether every parameter the expression needs is given; a missing optional one drops it.
  bool parametersPresent(const Expression& e, int line) const {
    for (const auto& [name, optional] : e.parameters())
      if (!parameter(name)) {
        if (optional) return false;
        throw Error("The report \"" + displayName + "\" needs the parameter " + name +
                    ", which this run does not give (line " + std::to_string(line) + ")");
      }
    return true;
  }

  void check(const Engine& engine) {
    rowsDef = findTableDef(def.rowsTable.text);
    if (!rowsDef) fail(def.rowsTable.line, "unknown table \"" + def.rowsTable.text + "\"");

    for (const auto& l : def.lookups) {
      const TableDef* t = findTableDef(l.table);
      if (!t) fail(l.line, "unknown table \"" + l.table + "\"");
      for (const auto& other : lookups)
        if (equalsNoCase(other.name, l.name))
          fail(l.line, "lookup \"" + l.name + "\" is named twice");
      const IndexDef* ix = nullptr;
      int keyField = -1;
      std::shared_ptr<const Expression> key;
      if (!l.field.empty()) {
        keyField = findField(*t, l.field);
        if (keyField < 0)
          fail(l.line, "unknown field \"" + l.field + "\" in table " + t->tableName);
        for (const auto& candidate : t->indexes)
          if (equalsNoCase(candidate.field, t->fields[static_cast<size_t>(keyField)].name))
            ix = &candidate;
        if (!ix)
          fail(l.line,
               "table " + t->tableName + " has no index on \"" + l.field + "\" to look it up by");
        key = parse(l.line, l.key);
        parametersPresent(*key, l.line);
      }
      lookups.push_back(
          {l.name, std::make_unique<Lookup>(openForReading(engine, *t), ix, keyField), key});
      ++visibleLookups;
    }

    // Conditions: `where` always, `filter NAME` when the run's filter is NAME.
    std::vector<std::pair<int, std::string>> texts;
    for (const auto& w : def.where) texts.emplace_back(w.line, w.text);
    title = def.title;
    if (auto f = parameter("filter"); f && !f->empty()) {
      auto it = def.filters.find(toLower(*f));
      if (it == def.filters.end())
        throw Error("The report definition \"" + displayName + "\" has no \"" + *f + "\" filter");
      for (const auto& w : it->second) texts.emplace_back(w.line, w.text);
      if (auto t = def.filterTitles.find(toLower(*f)); t != def.filterTitles.end())
        title = t->second;
    }
    for (const auto& [line, text] : texts) {
      auto e = parse(line, text);
      if (parametersPresent(*e, line)) conditions.push_back(e);
    }

    chooseIndex();
    if (def.group) group = parse(def.group->line, def.group->text);
    for (const auto& [name, section] : def.sections) {
      if (name == "style") continue;
      sections[name] = std::make_unique<SectionLayout>(section, displayName, *this, aggregates);
    }
    rows = openForReading(engine, *rowsDef);
  }

  void chooseIndex() {
    if (def.rowsIndex.line > 0) {
      index = rowsDef->findIndex(def.rowsIndex.text);
      if (!index)
        fail(def.rowsIndex.line,
             "table " + rowsDef->tableName + " has no index \"" + def.rowsIndex.text + "\"");
    }
    for (const auto& c : conditions) {
      auto eq = c->rowEquality();
      if (!eq) continue;
      const std::string& f = eq->first.def->name;
      if (index) {
        if (equalsNoCase(index->field, f)) rangeCondition = c;
      } else {
        for (const auto& candidate : rowsDef->indexes)
          if (!rangeCondition && equalsNoCase(candidate.field, f))
            index = &candidate, rangeCondition = c;
      }
      if (rangeCondition) break;
    }
    if (!index) index = &rowsDef->indexes[0];
  }

  // ---- painting
  std::unique_ptr<RowStream> stream() {
    std::optional<Value> key;
    if (rangeCondition) {
      auto eq = rangeCondition->rowEquality();
      row = nullptr;
      key = keyFor(*eq->first.def, rangeCondition->evalNode(eq->second, *this));
    }
    return std::make_unique<RowStream>(*rows, *index, key);
  }

  std::optional<Row> nextMatching(RowStream& s) {
    while (auto r = s.next()) {
      row = &*r;
      bool ok = true;
      for (const auto& c : conditions)
        if (!isTrue(c->eval(*this))) {
          ok = false;
          break;
        }
      row = nullptr;
      if (ok) return r;
    }
    return std::nullopt;
  }

  void accumulate() {
    for (size_t i = 0; i < aggregates.size(); ++i) {
      const Aggregate& a = aggregates[i];
      const long double v =
          a.kind == Aggregate::Kind::Count ? 1.0L : toNumber(a.argument->eval(*this));
      reportSums[i] += v;
      groupSums[i] += v;
    }
  }

  const SectionLayout* section(const char* name) const {
    auto it = sections.find(name);
    return it == sections.end() ? nullptr : it->second.get();
  }

  // Rows measured for the list's column widths.  A shop's stock list or day of sales is
  // measured whole; a list longer than this is fitted to its first rows, which keeps the
  // cost of a long report to a page's worth of reading.
  static constexpr int kMeasuredRows = 5000;

  // The widths every row section of the list shares: the `row` section's cells, widened
  // where a heading (a fixed cell of another row section standing over exactly one of them)
  // or a value does not fit.
  ColumnFit fitColumns(const Paper& paper, double width) {
    const SectionLayout* grid = section("row");
    if (!grid || !grid->isRow()) return {};
    const std::vector<double> widths = grid->cellWidths(paper, width);
    std::vector<double> edges{0.0};
    for (double w : widths) edges.push_back(edges.back() + w);
    std::vector<double> needs(widths.size(), 0.0);
    for (const auto& [name, s] : sections) {
      if (s.get() == grid || !s->isRow()) continue;
      std::vector<double> own;
      s->measure(*this, paper, /*fixedOnly*/ true, own);
      const std::vector<double> ws = s->cellWidths(paper, width);
      double x = 0;
      for (size_t i = 0; i < ws.size(); ++i) {
        const double from = x;
        x += ws[i];
        if (i >= own.size() || own[i] <= 0) continue;
        for (size_t k = 0; k + 1 < edges.size(); ++k)
          if (std::abs(edges[k] - from) < 0.5 && std::abs(edges[k + 1] - x) < 0.5)
            needs[k] = std::max(needs[k], own[i]);
      }
    }
    auto s = stream();
    for (int n = 0; n < kMeasuredRows; ++n) {
      std::optional<Row> r = nextMatching(*s);
      if (!r) break;
      row = &*r;
      grid->measure(*this, paper, /*fixedOnly*/ false, needs);
    }
    row = nullptr;
    return ColumnFit(widths, needs);
  }

  int paintList(QPagedPaintDevice& device, QPainter& painter, const Paper& plainPaper, QRectF page,
                int firstPage, int lastPage) {
    const double width = page.width() - plainPaper.px(def.margins[1] + def.margins[3]);
    const ColumnFit fit = fitColumns(plainPaper, width);
    Paper paper = plainPaper;
    paper.columns = &fit;
    QRectF body(paper.px(def.margins[3]), paper.px(def.margins[0]), width,
                page.height() - paper.px(def.margins[0] + def.margins[2]));
    const SectionLayout* footer = section("page-footer");
    const SectionLayout* header = section("page-header");
    const SectionLayout* columns = section("columns");
    double footerHeight = 0;
    if (footer) {
      footerHeight = footer->make(*this, paper, width)->height();
      body.setBottom(body.bottom() - footerHeight - paper.px(6));
    }
    Pager p(device, painter, body, firstPage, lastPage);
    pager = &p;
    bool repeatColumns = false;
    bool midGroup = false;  // a page that starts inside a group repeats its heading
    const SectionLayout* groupHeader = section("group-header");
    p.onPageStart = [&] {
      if (header) {
        p.placeHere(*header->make(*this, paper, width));
        p.placeHere(*spacer(paper.px(6)));
      }
      if (columns && repeatColumns) p.placeHere(*columns->make(*this, paper, width));
      if (midGroup && groupHeader) {
        groupScope = true;
        p.placeHere(*groupHeader->make(*this, paper, width));
        groupScope = false;
      }
      p.setTop();
    };
    p.onPageEnd = [&] {
      if (!footer || !p.visible()) return;
      const Row* keep = row;
      row = nullptr;
      footer->make(*this, paper, width)
          ->paint(painter,
                  QPointF(body.left(), page.height() - paper.px(def.margins[2]) - footerHeight));
      row = keep;
    };

    auto s = stream();
    std::optional<Row> current = nextMatching(*s), last;
    row = current ? &*current : nullptr;
    if (auto h = section("report-header")) p.place(*h->make(*this, paper, width));
    if (columns) p.place(*columns->make(*this, paper, width));
    repeatColumns = true;
    if (!current)
      if (auto e = section("empty")) p.place(*e->make(*this, paper, width));

    const SectionLayout* rowSection = section("row");
    const SectionLayout* groupFooter = section("group-footer");
    RValue groupValue;
    int stripe = 0;
    while (current && !p.done()) {
      row = &*current;
      std::unique_ptr<Block> head;
      if (group) {
        RValue g = group->eval(*this);
        if (groups == 0 || compareValues(g, groupValue) != 0) {
          midGroup = false;
          if (groups > 0) closeGroup(p, groupFooter, paper, width, *last);
          std::fill(groupSums.begin(), groupSums.end(), 0.0L);
          groupValue = g;
          ++groups;
          stripe = 0;
          groupScope = true;
          if (groupHeader) head = groupHeader->make(*this, paper, width);
          groupScope = false;
        }
      }
      accumulate();
      auto block = rowSection->make(*this, paper, width, def.stripes && (stripe++ % 2 == 1));
      if (head) {
        p.keep(head->height() + block->height());  // a heading never ends a page alone
        p.place(*head);
      }
      p.place(*block);
      midGroup = group != nullptr;
      last = std::move(current);
      current = nextMatching(*s);
    }
    cut = p.done();
    midGroup = false;
    if (group && groups > 0 && !p.done()) closeGroup(p, groupFooter, paper, width, *last);
    row = last ? &*last : nullptr;
    if (auto f = section("report-footer"); f && !p.done()) p.place(*f->make(*this, paper, width));
    cut = cut || p.done();
    p.finish();
    pager = nullptr;
    return std::min(p.page(), lastPage);
  }

  void closeGroup(Pager& p, const SectionLayout* footer, const Paper& paper, double width,
                  const Row& lastRow) {
    if (!footer) return;
    const Row* current = row;
    row = &lastRow;
    groupScope = true;
    auto block = footer->make(*this, paper, width);
    groupScope = false;
    row = current;
    p.place(*block);
  }

  static std::unique_ptr<Block> spacer(double h) {
    struct Space : Block {
      double h;
      explicit Space(double height) : h(height) {}
      double height() const override { return h; }
      void paint(QPainter&, QPointF) const override {}
    };
    return std::make_unique<Space>(h);
  }

  static constexpr double kSmallestLabelPoints = 6.5;
  static constexpr double kSmallestLabelMargin = 2.5;  // points

  int paintLabels(QPagedPaintDevice& device, QPainter& painter, const Paper& paper, int firstPage,
                  int lastPage) {
    const LabelSheet& sheet = *def.labels;
    const SectionLayout* label = section("label");
    const int perPage = sheet.columns * sheet.rows;
    const double innerWidth = paper.px(sheet.width - 2 * sheet.padding);
    auto s = stream();
    int n = 0;
    labelPage = 1;
    while (auto r = nextMatching(*s)) {
      const int slot = n % perPage;
      labelPage = n / perPage + 1;
      if (labelPage > lastPage) {
        cut = true;
        break;
      }
      if (slot == 0 && labelPage > firstPage) device.newPage();
      row = &*r;
      accumulate();
      if (labelPage >= firstPage) {
        const int col = slot % sheet.columns, line = slot / sheet.columns;
        const QPointF corner(paper.px(sheet.left + col * sheet.pitchX),
                             paper.px(sheet.top + line * sheet.pitchY));
        const double innerHeight = paper.px(sheet.height - 2 * sheet.padding);
        // An address longer than the label is set smaller, down to a size still readable;
        // what does not fit even then is cut, and the person is told which labels.
        auto block = label->make(*this, paper, innerWidth);
        Paper smaller = paper;
        double points = paper.font.pointSizeF();
        while (block->height() > innerHeight && points > kSmallestLabelPoints) {
          points = std::max(kSmallestLabelPoints, points - 0.5);
          smaller.font.setPointSizeF(points);
          label->forgetLayout();
          block = label->make(*this, smaller, innerWidth);
        }
        if (points != paper.font.pointSizeF()) label->forgetLayout();
        // Then the label's top and bottom margins give way, to a sliver.
        const double labelHeight = paper.px(sheet.height);
        const double sliver = std::min(paper.px(sheet.padding), paper.px(kSmallestLabelMargin));
        if (block->height() > labelHeight - 2 * sliver + 0.5)
          cutLabels.push_back("page " + std::to_string(labelPage) + ", label " +
                              std::to_string(slot + 1));
        // The text sits in the middle of the label's height.
        const double top = std::max(sliver, (labelHeight - block->height()) / 2);
        painter.save();
        painter.setClipRect(QRectF(corner, QSizeF(paper.px(sheet.width), labelHeight)));
        block->paint(painter, corner + QPointF(paper.px(sheet.padding), top));
        painter.restore();
      }
      ++n;
    }
    row = nullptr;
    if (n == 0)
      if (auto e = section("empty"))
        e->make(*this, paper, paper.px(sheet.pitchX * sheet.columns))
            ->paint(painter, QPointF(paper.px(sheet.left), paper.px(sheet.top)));
    return std::max(1, (n + perPage - 1) / perPage);
  }
};

ReportJob::ReportJob(const Engine& engine, const fs::path& definition,
                     const std::string& displayName, Parameters parameters, Calendar calendar)
    : d_(std::make_unique<Impl>()) {
  d_->calendar = std::move(calendar);
  std::ifstream in(definition, std::ios::binary);
  if (!in) throw Error("Cannot read the report definition \"" + displayName + "\"");
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) throw Error("Cannot read the report definition \"" + displayName + "\"");
  d_->displayName = displayName;
  for (auto& [k, v] : parameters) d_->parameters[toLower(k)] = v;
  d_->def = parseDefinition(text.str(), displayName);
  d_->shop = readShopInfo(definition.parent_path());
  d_->check(engine);
}

ReportJob::~ReportJob() = default;

const std::string& ReportJob::title() const {
  return d_->title;
}

bool ReportJob::cutShort() const {
  return d_->cut;
}

const std::vector<std::string>& ReportJob::cutLabels() const {
  return d_->cutLabels;
}

QPageLayout ReportJob::pageLayout() const {
  return QPageLayout(QPageSize(pageId(d_->def.pageSize)),
                     d_->def.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
}

int ReportJob::paint(QPagedPaintDevice& device, int firstPage, int lastPage) {
  Impl& d = *d_;
  QPainter painter;
  if (!painter.begin(&device))
    throw Error("Cannot start printing the report \"" + d.displayName + "\"");
  Paper paper;
  paper.device = &device;
  paper.dpi = device.logicalDpiY();
  QFont font(d.def.fontFamily == "sans-serif" ? QStringLiteral("Sans Serif")
                                              : QString::fromStdString(d.def.fontFamily));
  font.setStyleHint(d.def.fontFamily == "serif" ? QFont::Serif : QFont::SansSerif);
  font.setPointSizeF(d.def.fontSize);
  // No ligatures: "fi" must stay two letters, or searching a PDF for "Springfield" fails.
  font.setStyleStrategy(QFont::PreferNoShaping);
  paper.font = font;
  if (auto s = d.def.section("style")) {
    QString css = QString::fromStdString(s->text);
    css.remove(QStringLiteral("<style>")).remove(QStringLiteral("</style>"));
    paper.styleSheet = css;
  }
  d.reportSums.assign(d.aggregates.size(), 0.0L);
  d.groupSums.assign(d.aggregates.size(), 0.0L);
  d.groups = 0;
  d.cut = false;
  d.cutLabels.clear();
  for (const auto& [name, section] : d.sections) section->forgetLayout();
  const QRectF page = device.pageLayout().fullRectPoints();
  const QRectF pagePx(0, 0, paper.px(page.width()), paper.px(page.height()));
  int pages = 0;
  if (d.def.labels) {
    pages = d.paintLabels(device, painter, paper, firstPage, lastPage);
  } else {
    pages = d.paintList(device, painter, paper, pagePx, firstPage, lastPage);
  }
  painter.end();
  return pages;
}

}  // namespace corvanta::reports
