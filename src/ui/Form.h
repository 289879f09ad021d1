#pragma once
// A window model: a named window with a caption, its controls found by name and its handlers
// found by name.  Every window is one instance for the whole run: show() makes it visible and
// brings it to the front (never modal), close() hides it and its controls keep their state.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace corvanta {

class Application;
class Control;

enum class BorderStyle { Sizeable, Dialog, None };

class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void formShown(class Form& form) = 0;  // made visible or brought to front
  virtual void formHidden(class Form& form) = 0;
  virtual void formCaptionChanged(class Form&) {}
};

class Form {
 public:
  Form(Application& app, std::string name, std::string caption);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Application& app() const { return app_; }
  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

  bool visible() const { return visible_; }
  // Visible and in front; counts how often it was brought forward (a presentation may use it).
  // A neverShown window stays hidden.  What the onShow hook throws goes to the caller (the
  // dispatcher shows it); the window then counts as visible but its presentation was not told.
  void show();
  // Hidden; the controls keep their state.  The window may refuse first (closeQuery false:
  // it stays visible and nothing else happens); then the onClose hook runs.  What either hook
  // throws goes to the caller and the window stays visible.  Closing a hidden window does
  // nothing.
  void close();
  int showCount() const { return showCount_; }

  // Layout of the real window (client size in pixels) and its frame.
  int clientWidth = 400, clientHeight = 300;
  BorderStyle border = BorderStyle::Sizeable;
  bool minimizeBox = false;  // a fixed frame that may still be minimized
  bool centred = true;
  bool neverShown = false;  // the hidden processing forms

  // Controls in creation order, which is also their tab order.
  const std::vector<Control*>& controls() const { return controls_; }
  // The control of that name (the first, should a window have two: data/Wiring.h finds
  // those); nullptr when there is none.  Never throws.
  Control* control(std::string_view name) const;
  template <class T>
  T* controlAs(std::string_view name) const {
    return dynamic_cast<T*>(control(name));
  }

  // Handlers by name ("cmdAddtoOrderClick"); a button and its menu item share one.  Adding a
  // name again replaces the handler.
  void addHandler(const std::string& name, std::function<void()> fn);
  bool hasHandler(const std::string& name) const;
  // Runs a handler directly (callers go through the dispatcher, which shows what it throws).
  // Throws Error "<Form>: no handler '<name>'" for a name never added; whatever the handler
  // throws passes through unchanged.
  void runHandler(const std::string& name);

  void addObserver(FormObserver* o);
  void removeObserver(FormObserver* o);

  // For controls: a control registers itself in its constructor and leaves in its destructor.
  void registerControl(Control* c);
  void unregisterControl(Control* c);

 protected:
  // Hooks a window may fill: when it is shown, whether it may close now, when it is closed.
  virtual void onShow() {}
  virtual bool closeQuery() { return true; }
  virtual void onClose() {}

 private:
  Application& app_;
  std::string name_, caption_;
  bool visible_ = false;
  int showCount_ = 0;
  std::vector<Control*> controls_;
  std::map<std::string, std::function<void()>, std::less<>> handlers_;
  std::vector<FormObserver*> observers_;
};

}  // namespace corvanta
