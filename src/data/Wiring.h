#pragma once
// A check of how the windows are wired, for tests to run after start-up: every handler a
// control names exists in its window, every data-aware control found its data source and
// field, and no window has two controls of one name.  A misspelt name anywhere shows up here
// instead of leaving a button that does nothing or an edit bound to nothing.
#include <string>
#include <vector>

namespace corvanta {

class Application;

// One line per fault, "Window.Control: what is wrong"; empty when every window is sound.
std::vector<std::string> wiringFaults(const Application& app);

}  // namespace corvanta
