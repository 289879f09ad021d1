#include "ui/Form.h"

#include <algorithm>

#include "ui/Control.h"
#include "ui/Error.h"

namespace corvanta {

Form::Form(Application& app, std::string name, std::string caption)
    : app_(app), name_(std::move(name)), caption_(std::move(caption)) {}

Form::~Form() {
  // Members (the controls) are destroyed after this body; let them unregister harmlessly.
  controls_.clear();
}

void Form::setCaption(std::string caption) {
  caption_ = std::move(caption);
  const auto snapshot = observers_;
  for (auto* o : snapshot) o->formCaptionChanged(*this);
}

void Form::show() {
  if (neverShown) return;
  visible_ = true;
  ++showCount_;
  onShow();
  const auto snapshot = observers_;
  for (auto* o : snapshot) o->formShown(*this);
}

void Form::close() {
  if (!visible_) return;
  if (!closeQuery()) return;
  onClose();
  visible_ = false;
  const auto snapshot = observers_;
  for (auto* o : snapshot) o->formHidden(*this);
}

Control* Form::control(std::string_view name) const {
  for (Control* c : controls_)
    if (c->name() == name) return c;
  return nullptr;
}

void Form::addHandler(const std::string& name, std::function<void()> fn) {
  handlers_[name] = std::move(fn);
}

bool Form::hasHandler(const std::string& name) const {
  return handlers_.count(name) != 0;
}

void Form::runHandler(const std::string& name) {
  auto it = handlers_.find(name);
  if (it == handlers_.end()) throw Error(name_ + ": no handler '" + name + "'");
  it->second();
}

void Form::addObserver(FormObserver* o) {
  observers_.push_back(o);
}
void Form::removeObserver(FormObserver* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void Form::registerControl(Control* c) {
  controls_.push_back(c);
}
void Form::unregisterControl(Control* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

}  // namespace corvanta
