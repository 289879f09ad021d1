#include "gui/MenuViews.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <map>

#include "gui/ActionRunner.h"
#include "gui/ControlViews.h"
#include "ui/Form.h"

namespace corvanta {

class MenuViews::ItemView : public ControlObserver {
 public:
  ItemView(MenuItem& item, QAction* action) : item_(item), action_(action) {
    action_->setObjectName(toQ(item.name()));
    item_.addObserver(this);
    sync();
  }
  ~ItemView() override { item_.removeObserver(this); }
  void controlChanged(Control&) override { sync(); }

 private:
  void sync() {
    const bool separator = item_.text() == "-";
    action_->setSeparator(separator);
    if (!separator) action_->setText(toQ(item_.text()));
    action_->setEnabled(item_.enabled());
    action_->setVisible(item_.visible());
  }
  MenuItem& item_;
  QAction* action_;
};

MenuViews::MenuViews(Form& form, QWidget* window, ActionRunner& runner) {
  std::vector<MenuItem*> items;
  std::map<const MenuItem*, bool> hasChildren;
  for (Control* c : form.controls())
    if (auto* m = dynamic_cast<MenuItem*>(c)) {
      items.push_back(m);
      if (m->parentItem()) hasChildren[m->parentItem()] = true;
    }
  if (items.empty()) return;

  bar_ = new QMenuBar(window);
  bar_->setObjectName("MainMenu");
  std::map<const MenuItem*, QMenu*> menus;
  for (MenuItem* m : items) {
    QAction* action = nullptr;
    QMenu* under =
        m->parentItem() && menus.count(m->parentItem()) ? menus[m->parentItem()] : nullptr;
    if (hasChildren[m]) {
      QMenu* menu = under ? under->addMenu(toQ(m->text())) : bar_->addMenu(toQ(m->text()));
      menus[m] = menu;
      action = menu->menuAction();
    } else if (m->text() == "-") {
      // A separator from the start: an action made with the text "-" would draw it.
      action = under ? under->addSeparator() : bar_->addSeparator();
    } else {
      action = under ? under->addAction(toQ(m->text())) : bar_->addAction(toQ(m->text()));
      QObject::connect(action, &QAction::triggered, action,
                       [m, &runner] { runner.run([m] { m->click(); }); });
    }
    items_.push_back(std::make_unique<ItemView>(*m, action));
  }
}

MenuViews::~MenuViews() = default;

}  // namespace corvanta
