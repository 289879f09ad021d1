#include "ui/Application.h"

#include <exception>

#include "ui/Control.h"
#include "ui/Error.h"
#include "ui/Form.h"

namespace corvanta {

Application::Application(Dialogs& dialogs, HelpViewer& help) : dialogs_(dialogs), help_(help) {}

Application::~Application() {
  shutdown();
  // Windows go first: their data-aware controls detach from the data modules' sources.
  formOrder_.clear();
  forms_.clear();
  modules_.clear();
}

void Application::adoptForm(std::unique_ptr<Form> form) {
  creationOrder_.push_back(form->name());
  formOrder_.push_back(form.get());
  forms_.push_back(std::move(form));
  Form& f = *forms_.back();
  for (Control* c : f.controls()) c->bindDataSources(*this);
}

void Application::adoptDataModule(std::unique_ptr<DataModuleBase> module) {
  creationOrder_.push_back(module->name());
  modules_.push_back(std::move(module));
  for (Form* f : formOrder_)
    for (Control* c : f->controls()) c->bindDataSources(*this);
}

Form* Application::mainForm() const {
  if (mainForm_) return mainForm_;
  return formOrder_.empty() ? nullptr : formOrder_.front();
}

Form* Application::form(std::string_view name) const {
  for (Form* f : formOrder_)
    if (f->name() == name) return f;
  return nullptr;
}

DataModuleBase* Application::dataModule(std::string_view name) const {
  for (const auto& m : modules_)
    if (m->name() == name) return m.get();
  return nullptr;
}

void Application::helpCommand(int command, int data) {
  dispatch([&] { help_.showHelp(helpFile_, command, data); });
}

bool Application::dispatch(const std::function<void()>& action) {
  // Only the outermost action catches: an error inside a nested action (a control left while
  // a button is pressed) must stop the whole command, not just the inner step.
  if (dispatchDepth_ > 0) {
    action();
    return true;
  }
  ++dispatchDepth_;
  std::string error;
  try {
    action();
  } catch (const std::exception& e) {
    error = errorText(e);
    if (error.empty()) error = "Unexpected error";
  } catch (...) {
    error = "Unexpected error";
  }
  --dispatchDepth_;
  if (error.empty()) return true;
  dialogs_.showError(error);
  return false;
}

void Application::shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  terminated_ = true;
  for (auto& m : modules_) m->shutdown();
}

}  // namespace corvanta
