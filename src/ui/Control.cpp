#include "ui/Control.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/Form.h"

namespace corvanta {

Control::Control(Form& form, std::string name, ControlKind kind, Control* parent)
    : form_(form), name_(std::move(name)), kind_(kind), parent_(parent) {
  form_.registerControl(this);
}

Control::~Control() {
  form_.unregisterControl(this);
}

void Control::setText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  changed();
}

void Control::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  changed();
}

void Control::setVisible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  changed();
}

Control& Control::setBounds(int left, int top, int width, int height) {
  bounds_ = {left, top, width, height};
  return *this;
}

void Control::addObserver(ControlObserver* o) {
  observers_.push_back(o);
}
void Control::removeObserver(ControlObserver* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void Control::changed() {
  const auto snapshot = observers_;
  for (auto* o : snapshot) o->controlChanged(*this);
}

Label::Label(Form& form, std::string name, std::string caption, Control* parent)
    : Control(form, std::move(name), ControlKind::Label, parent) {
  text_ = std::move(caption);
}

Panel::Panel(Form& form, std::string name, std::string caption, Control* parent)
    : Control(form, std::move(name), ControlKind::Panel, parent) {
  text_ = std::move(caption);
}

GroupBox::GroupBox(Form& form, std::string name, std::string caption, Control* parent)
    : Control(form, std::move(name), ControlKind::GroupBox, parent) {
  text_ = std::move(caption);
}

Edit::Edit(Form& form, std::string name, Control* parent, ControlKind kind)
    : Control(form, std::move(name), kind, parent) {}

namespace {
// The first n characters of a UTF-8 text (a character is never split).
std::string firstChars(const std::string& text, int n) {
  size_t pos = 0;
  for (int chars = 0; pos < text.size() && chars < n; ++chars) {
    ++pos;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
  }
  return text.substr(0, pos);
}
}  // namespace

bool Edit::typeText(const std::string& text) {
  if (readOnly || !enabled()) return false;
  Control::setText(maxLength > 0 ? firstChars(text, maxLength) : text);
  return true;
}

bool Edit::leave() {
  if (exitHandler.empty()) return true;
  return form().app().dispatch([this] { form().runHandler(exitHandler); });
}

Button::Button(Form& form, std::string name, std::string caption, std::string handler_,
               Control* parent)
    : Control(form, std::move(name), ControlKind::Button, parent), handler(std::move(handler_)) {
  text_ = std::move(caption);
}

void Button::setKind(Glyph kind) {
  glyph = kind;
  if (kind == Glyph::Ok) isDefault = true;
  if (kind == Glyph::Cancel || kind == Glyph::Close) isCancel = true;
  changed();
}

void Button::click() {
  if (!enabled() || handler.empty()) return;
  form().app().dispatch([this] { form().runHandler(handler); });
}

OptionButton::OptionButton(Form& form, std::string name, std::string caption, std::string handler_,
                           Control* parent)
    : Control(form, std::move(name), ControlKind::OptionButton, parent),
      handler(std::move(handler_)) {
  text_ = std::move(caption);
}

void OptionButton::setChecked(bool on) {
  if (on) {
    for (Control* c : form().controls())
      if (auto* o = dynamic_cast<OptionButton*>(c);
          o && o != this && o->parent() == parent() && o->checked_) {
        o->checked_ = false;
        o->changed();
      }
  }
  if (checked_ == on) return;
  checked_ = on;
  changed();
}

void OptionButton::choose() {
  if (!enabled()) return;
  setChecked(true);
  if (!handler.empty()) form().app().dispatch([this] { form().runHandler(handler); });
}

MenuItem::MenuItem(Form& form, std::string name, std::string caption, std::string handler_,
                   MenuItem* parentItem)
    : Control(form, std::move(name), ControlKind::MenuItem, parentItem),
      handler(std::move(handler_)),
      parentItem_(parentItem) {
  text_ = std::move(caption);
}

void MenuItem::click() {
  if (!enabled() || handler.empty()) return;
  form().app().dispatch([this] { form().runHandler(handler); });
}

Image::Image(Form& form, std::string name, std::string picture, Control* parent)
    : Control(form, std::move(name), ControlKind::Image, parent) {
  text_ = std::move(picture);
}

std::string stripAccelerator(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

}  // namespace corvanta
