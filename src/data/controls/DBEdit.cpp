#include "data/controls/DBEdit.h"

#include "data/engine/Table.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace corvanta {

DBEdit::DBEdit(Form& form, std::string name, std::string dataSource, std::string fieldName,
               Control* parent)
    : Edit(form, std::move(name), parent, ControlKind::DBEdit),
      link_(*this, std::move(dataSource), std::move(fieldName)) {}

void DBEdit::bindDataSources(Application& app) {
  if (!link_.bind(app)) return;
  if (Field* f = link_.field(); f && f->type() == FieldType::Text && maxLength == 0)
    maxLength = f->def().size;
  takeFieldValue();
}

void DBEdit::takeFieldValue() {
  std::string t;
  if (link_.active() && link_.field()) t = link_.field()->displayText();
  modified_ = false;
  Control::setText(t);
}

void DBEdit::setText(const std::string& text) {
  if (text == text_) return;
  modified_ = true;
  Control::setText(text);
}

void DBEdit::enterText(const std::string& text) {
  modified_ = true;
  Control::setText(text);
}

bool DBEdit::typeText(const std::string& text) {
  if (readOnly || !enabled() || !link_.active() || !link_.field()) return false;
  if (link_.field()->def().readOnly) return false;
  Table& table = *link_.table();
  if (table.state() == TableState::Browse) {
    if (!link_.source()->autoEdit()) return false;
    table.edit();  // takes the record's values into every bound control first
  }
  std::string t = text;
  if (maxLength > 0) t = cutToChars(t, maxLength);
  modified_ = true;
  Control::setText(t);
  return true;
}

bool DBEdit::leave() {
  if (modified_ && link_.active() && link_.field()) {
    Table& table = *link_.table();
    if (table.state() == TableState::Edit || table.state() == TableState::Insert) {
      Field* f = link_.field();
      const std::string t = text_;
      if (!form().app().dispatch([f, &t] { f->setText(t); })) return false;
    }
  }
  return Edit::leave();
}

void DBEdit::dataEvent(DataEvent event, const Field* field) {
  switch (event) {
    case DataEvent::UpdateRecord:
      if (modified_ && link_.field()) link_.field()->setText(text_);
      return;
    case DataEvent::FieldChanged:
      if (field == link_.field()) takeFieldValue();
      return;
    case DataEvent::Scrolled:
    case DataEvent::RecordChanged:
    case DataEvent::StateChanged:
      takeFieldValue();
      return;
  }
}

DBText::DBText(Form& form, std::string name, std::string dataSource, std::string fieldName,
               Control* parent)
    : Control(form, std::move(name), ControlKind::DBText, parent),
      link_(*this, std::move(dataSource), std::move(fieldName)) {}

void DBText::bindDataSources(Application& app) {
  if (link_.bind(app)) dataEvent(DataEvent::RecordChanged, nullptr);
}

void DBText::dataEvent(DataEvent event, const Field* field) {
  if (event == DataEvent::UpdateRecord) return;
  if (event == DataEvent::FieldChanged && field != link_.field()) return;
  Control::setText(link_.active() && link_.field() ? link_.field()->displayText() : "");
}

}  // namespace corvanta
