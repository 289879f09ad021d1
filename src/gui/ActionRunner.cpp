#include "gui/ActionRunner.h"

#include <QtGlobal>
#include <exception>
#include <string>

#include "ui/Application.h"
#include "ui/Error.h"

namespace corvanta {

namespace {

void showSafely(Application& app, const std::string& text) {
  try {
    app.dialogs().showError(text);
  } catch (...) {
    qWarning("corvanta: could not show an error: %s", text.c_str());
  }
}

}  // namespace

bool ActionRunner::run(const std::function<void()>& action) {
  ++depth_;
  bool ok = true;
  try {
    action();
  } catch (const std::exception& e) {
    ok = false;
    showSafely(app_, errorText(e));
  } catch (...) {
    ok = false;
    showSafely(app_, "Unexpected error");
  }
  --depth_;
  if (depth_ == 0 && app_.terminated() && !terminationSeen_) {
    terminationSeen_ = true;
    if (terminated_) {
      try {
        terminated_();
      } catch (...) {
      }
    }
  }
  return ok;
}

}  // namespace corvanta
