#pragma once
// A window's main menu: its menu items as a QMenuBar.  Top-level items with items under them
// are menus, every other item is an action; a caption "-" is a separator.  Each action
// mirrors its item (caption, enabled, visible) and its trigger goes to MenuItem::click.
#include <memory>
#include <vector>

class QMenuBar;
class QWidget;

namespace corvanta {

class ActionRunner;
class Form;

class MenuViews {
 public:
  MenuViews(Form& form, QWidget* window, ActionRunner& runner);
  ~MenuViews();
  MenuViews(const MenuViews&) = delete;
  MenuViews& operator=(const MenuViews&) = delete;

  // The menu bar, owned by the window; nullptr when the form has no menu items.
  QMenuBar* menuBar() const { return bar_; }

 private:
  class ItemView;
  QMenuBar* bar_ = nullptr;
  std::vector<std::unique_ptr<ItemView>> items_;
};

}  // namespace corvanta
