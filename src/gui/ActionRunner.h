#pragma once
// The one door through which a person's actions on the real windows reach the window models.
//
// Model calls already run through Application::dispatch, which shows an error box; this is
// the guard behind it, so that no exception ever crosses the Qt event loop.  After each
// outermost action the runner looks whether the application was asked to end (E&xit, the
// main window's close box) and, the first time it was, runs the terminated hook.
#include <functional>

namespace corvanta {

class Application;

class ActionRunner {
 public:
  explicit ActionRunner(Application& app) : app_(app) {}
  ActionRunner(const ActionRunner&) = delete;
  ActionRunner& operator=(const ActionRunner&) = delete;

  // Runs one action.  False when an exception escaped it (its text was shown in the error
  // box, or dropped if even that failed).
  bool run(const std::function<void()>& action);

  // Called once, after the action during which the application was asked to end.
  void setTerminatedHook(std::function<void()> hook) { terminated_ = std::move(hook); }

 private:
  Application& app_;
  std::function<void()> terminated_;
  int depth_ = 0;
  bool terminationSeen_ = false;
};

}  // namespace corvanta
