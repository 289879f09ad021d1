#include "data/controls/DBGrid.h"

#include <algorithm>

#include "data/engine/Table.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace corvanta {

DBGrid::DBGrid(Form& form, std::string name, std::string dataSource, Control* parent)
    : Control(form, std::move(name), ControlKind::DBGrid, parent),
      link_(*this, std::move(dataSource), "") {}

void DBGrid::bindDataSources(Application& app) {
  if (!link_.bind(app)) return;
  computeColumns();
  ++generation_;
  changed();
}

void DBGrid::computeColumns() {
  effective_.clear();
  columnFields_.clear();
  const TableDef& def = link_.table()->def();
  if (columns.empty()) {
    for (const auto& f : def.fields) {
      int w = f.width ? f.width : (f.size ? std::min(f.size, 30) : 12);
      effective_.push_back({f.name, f.name, w});
    }
  } else {
    effective_ = columns;
  }
  for (auto& c : effective_) {
    int i = def.fieldIndex(c.fieldName);
    if (c.title.empty()) c.title = c.fieldName;
    if (c.width == 0 && i >= 0) c.width = def.fields[i].width ? def.fields[i].width : 12;
    columnFields_.push_back(i);
  }
}

std::int64_t DBGrid::rowCount() const {
  return link_.active() ? link_.table()->recordCount() : 0;
}

std::vector<Row> DBGrid::rows(std::int64_t offset, int limit, std::int64_t total) const {
  if (!link_.active()) return {};
  Table& t = *link_.table();
  return t.file().page(t.index(), offset, limit, total);
}

std::vector<std::string> DBGrid::cells(const Row& row) const {
  std::vector<std::string> out;
  const TableDef& def = link_.table()->def();
  for (int i : columnFields_)
    out.push_back(i >= 0 ? displayTextOf(def.fields[i], row.values[i]) : "");
  return out;
}

std::int64_t DBGrid::currentPosition() const {
  return link_.active() ? link_.table()->currentPosition() : -1;
}

std::int64_t DBGrid::currentRowid() const {
  return link_.active() ? link_.table()->currentRowid() : 0;
}

bool DBGrid::clickRow(std::int64_t n) {
  if (!link_.active() || n < 1) return false;
  auto r = rows(n - 1, 1);
  if (r.empty()) return false;
  const std::int64_t rowid = r.front().rowid;
  bool moved = false;
  form().app().dispatch([&] { moved = link_.table()->moveToRowid(rowid); });
  return moved;
}

void DBGrid::dataEvent(DataEvent event, const Field*) {
  switch (event) {
    case DataEvent::UpdateRecord:
    case DataEvent::FieldChanged:
      return;  // the grid shows stored records; an edit in progress is not one yet
    case DataEvent::Scrolled:
      ++moves_;
      break;
    case DataEvent::RecordChanged:
    case DataEvent::StateChanged:
      ++generation_;
      break;
  }
  changed();
}

const char* navButtonName(NavButton b) {
  switch (b) {
    case NavButton::First:
      return "First";
    case NavButton::Prior:
      return "Prior";
    case NavButton::Next:
      return "Next";
    case NavButton::Last:
      return "Last";
    case NavButton::Insert:
      return "Insert";
    case NavButton::Delete:
      return "Delete";
    case NavButton::Edit:
      return "Edit";
    case NavButton::Post:
      return "Post";
    case NavButton::Cancel:
      return "Cancel";
    case NavButton::Refresh:
      return "Refresh";
  }
  return "";
}

DBNavigator::DBNavigator(Form& form, std::string name, std::string dataSource,
                         std::vector<NavButton> visibleButtons, Control* parent)
    : Control(form, std::move(name), ControlKind::Navigator, parent),
      link_(*this, std::move(dataSource), ""),
      buttons_(std::move(visibleButtons)) {}

bool DBNavigator::isVisible(NavButton b) const {
  return std::find(buttons_.begin(), buttons_.end(), b) != buttons_.end();
}

bool DBNavigator::isEnabled(NavButton b) const {
  if (!enabled() || !link_.active()) return false;
  const Table& t = *link_.table();
  const bool editing = t.state() == TableState::Edit || t.state() == TableState::Insert;
  switch (b) {
    case NavButton::First:
    case NavButton::Prior:
      return !t.bof() && !t.isEmpty();
    case NavButton::Next:
    case NavButton::Last:
      return !t.eof() && !t.isEmpty();
    case NavButton::Insert:
      return true;
    case NavButton::Delete:
      return !t.isEmpty();
    case NavButton::Edit:
      return !editing;
    case NavButton::Post:
    case NavButton::Cancel:
      return editing;
    case NavButton::Refresh:
      return true;
  }
  return false;
}

std::string DBNavigator::buttonHint(NavButton b) const {
  switch (b) {
    case NavButton::First:
      return "First record";
    case NavButton::Prior:
      return "Prior record";
    case NavButton::Next:
      return "Next record";
    case NavButton::Last:
      return "Last record";
    case NavButton::Insert:
      return "Insert record";
    case NavButton::Delete:
      return "Delete record";
    case NavButton::Edit:
      return "Edit record";
    case NavButton::Post:
      return "Post edit";
    case NavButton::Cancel:
      return "Cancel edit";
    case NavButton::Refresh:
      return "Refresh data";
  }
  return "";
}

void DBNavigator::click(NavButton b) {
  if (!isVisible(b) || !isEnabled(b)) return;
  form().app().dispatch([this, b] {
    Table& t = *link_.table();
    switch (b) {
      case NavButton::First:
        t.first();
        break;
      case NavButton::Prior:
        t.prior();
        break;
      case NavButton::Next:
        t.next();
        break;
      case NavButton::Last:
        t.last();
        break;
      case NavButton::Insert:
        t.insert();
        break;
      case NavButton::Delete:
        if (form().app().dialogs().confirm("Confirm", "Delete record?")) t.remove();
        break;
      case NavButton::Edit:
        t.edit();
        break;
      case NavButton::Post:
        t.post();
        break;
      case NavButton::Cancel:
        t.cancel();
        break;
      case NavButton::Refresh:
        t.refresh();
        break;
    }
  });
}

void DBNavigator::bindDataSources(Application& app) {
  if (link_.bind(app)) changed();
}

void DBNavigator::dataEvent(DataEvent event, const Field*) {
  if (event != DataEvent::UpdateRecord && event != DataEvent::FieldChanged) changed();
}

}  // namespace corvanta
