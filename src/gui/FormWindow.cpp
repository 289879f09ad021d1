#include "gui/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "data/controls/DBEdit.h"
#include "data/engine/Table.h"
#include "gui/ActionRunner.h"
#include "gui/ControlViews.h"
#include "gui/MenuViews.h"
#include "ui/Application.h"

namespace corvanta {

namespace {

constexpr int kAutoMargin = 8;
constexpr int kAutoGap = 6;

bool isUnplaced(const Bounds& b) {
  return b.left == 0 && b.top == 0 && b.width == 0 && b.height == 0;
}

Qt::WindowFlags flagsFor(const Form& form) {
  switch (form.border) {
    case BorderStyle::None:
      return Qt::Window | Qt::FramelessWindowHint;
    case BorderStyle::Dialog: {
      Qt::WindowFlags f = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (form.minimizeBox) f |= Qt::WindowMinimizeButtonHint;
      return f;
    }
    case BorderStyle::Sizeable:
      break;
  }
  return Qt::Window;
}

// An edit showing the key of a stored record being changed (the order number of the order
// whose payment or shipping is entered): the record is found by it, nobody means to retype it.
bool showsKeyOfChangedRecord(const Control& control) {
  auto* db = dynamic_cast<const DBEdit*>(&control);
  const Table* t = db && db->link().active() ? db->link().table() : nullptr;
  if (!t || t->state() != TableState::Edit || t->def().indexes.empty()) return false;
  const std::string& key = t->def().indexes[0].field;
  return !key.empty() && key == db->link().fieldName();
}

}  // namespace

FormWindow::FormWindow(Form& form, ActionRunner& runner)
    : QWidget(nullptr, flagsFor(form)), form_(form), runner_(runner) {
  setObjectName(toQ(form.name()));
  setWindowTitle(toQ(form.caption()));
  build();
  form_.addObserver(this);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { pressHelp(); });
}

FormWindow::~FormWindow() {
  form_.removeObserver(this);
  // The views unsubscribe from their controls while their widgets still exist.
  views_.clear();
  menus_.reset();
}

void FormWindow::build() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menus_ = std::make_unique<MenuViews>(form_, this, runner_);
  if (menus_->menuBar()) layout->setMenuBar(menus_->menuBar());

  client_ = new QWidget(this);
  client_->setObjectName("client");
  layout->addWidget(client_);

  for (Control* c : form_.controls()) {
    if (c->kind() == ControlKind::MenuItem) continue;
    QWidget* parent = containerOf(c->parent());
    auto view = makeControlView(*c, parent, runner_);
    if (!view) continue;
    view->sync();
    place(*view, parent);
    if (c->kind() == ControlKind::Button) watchButton(*view);
    byControl_[c] = view.get();
    views_.push_back(std::move(view));
  }
  fitContainers();
  // Menu items that start an edit or an insert move the focus as their buttons do.
  if (QMenuBar* bar = menus_->menuBar()) {
    for (QMenu* menu : bar->findChildren<QMenu*>())
      connect(menu, &QMenu::aboutToShow, this, [this] { noteTableStates(); });
    connect(bar, &QMenuBar::triggered, this, [this] { focusAfterButton(); });
  }

  // The client area: the form's size, or more when a control reaches further.
  QSize size(form_.clientWidth, form_.clientHeight);
  for (QWidget* w : client_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    size = size.expandedTo(QSize(w->geometry().right() + 1, w->geometry().bottom() + 1));
  if (form_.border == BorderStyle::Sizeable) {
    client_->setMinimumSize(size);
    resize(layout->sizeHint().expandedTo(size));
  } else {
    client_->setFixedSize(size);
    layout->setSizeConstraint(QLayout::SetFixedSize);
  }
}

QWidget* FormWindow::containerOf(const Control* control) const {
  if (control) {
    auto it = byControl_.find(control);
    if (it != byControl_.end() && it->second->container()) return it->second->container();
  }
  return client_;
}

void FormWindow::place(ControlView& view, QWidget* parent) {
  const Bounds& b = view.control().bounds();
  QWidget* w = view.widget();
  QSize hint = w->sizeHint();
  if (view.control().kind() == ControlKind::DBGrid) hint = hint.expandedTo(QSize(360, 160));
  const int width = b.width > 0 ? b.width : hint.width();
  const int height = b.height > 0 ? b.height : hint.height();
  int left = b.left, top = b.top;
  if (isUnplaced(b)) {
    auto [it, fresh] = nextAutoTop_.try_emplace(parent, kAutoMargin);
    left = kAutoMargin;
    top = it->second;
    // A group box's title takes the top of its area.
    if (fresh && parent->inherits("QGroupBox"))
      top = it->second = kAutoMargin + parent->fontMetrics().height();
    it->second = top + height + kAutoGap;
  }
  w->setGeometry(left, top, width, height);
  if (view.autoSizes()) {
    // The client area is sized only after every control is placed; until then the form's
    // own width is the limit.
    const int room = (parent == client_ ? form_.clientWidth : parent->width()) - left - 2;
    view.fitWithin(std::max(room, width));
  }
}

void FormWindow::fitContainers() {
  // Panels and group boxes without a size of their own wrap what was put in them; inner ones
  // first, so that outer ones see their final size.
  for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
    ControlView& v = **it;
    if (!v.container() || v.control().bounds().width > 0) continue;
    QRect extent;
    for (QWidget* child :
         v.container()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
      if (!child->isHidden()) extent = extent.united(child->geometry());
    if (extent.isEmpty()) continue;
    v.widget()->resize(std::max(v.widget()->width(), extent.right() + 1 + kAutoMargin),
                       std::max(v.widget()->height(), extent.bottom() + 1 + kAutoMargin));
    // The siblings stacked below it move down by what it grew.
    QWidget* parent = v.widget()->parentWidget();
    if (isUnplaced(v.control().bounds()))
      nextAutoTop_[parent] =
          std::max(nextAutoTop_[parent], v.widget()->geometry().bottom() + 1 + kAutoGap);
  }
}

QWidget* FormWindow::controlWidget(std::string_view name) const {
  for (const auto& v : views_)
    if (v->control().name() == name) return v->widget();
  return nullptr;
}

ControlView* FormWindow::viewOf(const QWidget* widget) const {
  for (const auto& v : views_)
    if (v->widget() == widget) return v.get();
  return nullptr;
}

void FormWindow::syncAll() {
  for (auto& v : views_) v->sync();
}

void FormWindow::watchButton(ControlView& view) {
  auto* push = qobject_cast<QPushButton*>(view.widget());
  if (!push) return;
  // pressed comes before the view's click reaches the model, clicked after it (the view
  // connected first), with the mouse and with the keyboard alike.
  connect(push, &QPushButton::pressed, this, [this] { noteTableStates(); });
  connect(push, &QPushButton::clicked, this, [this] { focusAfterButton(); });
}

void FormWindow::noteTableStates() {
  statesBefore_.clear();
  for (auto& v : views_)
    if (const Table* t = v->table()) statesBefore_[t] = static_cast<int>(t->state());
}

void FormWindow::focusAfterButton() {
  const auto before = std::move(statesBefore_);
  statesBefore_.clear();
  if (!isVisible() || !form_.visible()) return;
  syncAll();
  // A button that started an edit or an insert (Add Item, Edit Entry, Add New Customer): the
  // person types the record next, from its first field.
  for (auto& v : views_) {
    const Table* t = v->table();
    if (!t || !v->takesTyping()) continue;
    auto it = before.find(t);
    if (it == before.end() || it->second != static_cast<int>(TableState::Browse)) continue;
    if (t->state() != TableState::Edit && t->state() != TableState::Insert) continue;
    v->widget()->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(v->widget())) edit->selectAll();
    return;
  }
}

void FormWindow::focusOnOpen() {
  // The chosen option first (Enter then runs it), else the first edit that takes typing for
  // something being entered: a plain edit, or a record in edit or insert state (past the key
  // of a stored record being changed).  An edit over a stored record in browse state is passed
  // over: typing there would start changing that record, which is never what a person opening
  // a window means.  Without such an edit, the window's first command has the focus (Search,
  // Add Item), not whatever edit comes first.
  for (auto& v : views_) {
    auto* radio = qobject_cast<QRadioButton*>(v->widget());
    if (radio && radio->isChecked() && radio->isEnabled() && !radio->isHidden()) {
      radio->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  for (auto& v : views_) {
    if (!v->takesTyping() || !v->widget()->isEnabled()) continue;
    if (const Table* t = v->table(); t && t->state() == TableState::Browse) continue;
    if (showsKeyOfChangedRecord(v->control())) continue;
    v->widget()->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(v->widget())) edit->selectAll();
    return;
  }
  for (auto& v : views_) {
    auto* push = qobject_cast<QPushButton*>(v->widget());
    if (push && push->isEnabled() && !push->isHidden()) {
      push->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

FormWindow* FormWindow::openerFor() const {
  auto* opener = dynamic_cast<FormWindow*>(QApplication::activeWindow());
  if (!opener || opener == this || !opener->isVisible()) return nullptr;
  if (&opener->form() == form_.app().mainForm() || form_.border == BorderStyle::None)
    return nullptr;
  const QSize mine = sizeHint().expandedTo(QSize(form_.clientWidth, form_.clientHeight));
  const QSize theirs = opener->size();
  return mine.width() < theirs.width() && mine.height() < theirs.height() ? opener : nullptr;
}

void FormWindow::setOpener(FormWindow* opener) {
  Qt::WindowFlags flags = flagsFor(form_);
  // A dialog-type window is the one a window manager keeps above its transient parent.
  opener_ = opener;
  if (opener) flags = (flags & ~Qt::WindowType_Mask) | Qt::Dialog;
  if (windowFlags() != flags) setWindowFlags(flags);
  winId();  // the native window, to give it its parent
  if (QWindow* handle = windowHandle())
    handle->setTransientParent(opener ? opener->windowHandle() : nullptr);
}

void FormWindow::pressHelp() {
  for (auto& v : views_) {
    auto* b = dynamic_cast<Button*>(&v->control());
    if (!b || (b->glyph != Button::Glyph::Help && stripAccelerator(b->text()) != "Help" &&
               b->handler != "cmdHelpClick"))
      continue;
    auto* push = qobject_cast<QPushButton*>(v->widget());
    if (push && push->isVisible() && push->isEnabled()) {
      push->click();
      return;
    }
  }
  for (Control* c : form_.controls()) {
    auto* m = dynamic_cast<MenuItem*>(c);
    if (m && m->enabled() && m->visible() && m->handler.find("Help") != std::string::npos) {
      runner_.run([m] { m->click(); });
      return;
    }
  }
}

void FormWindow::formShown(Form&) {
  // Properties the model sets without telling (read-only, length limits) are taken now.
  syncAll();
  const bool opening = !isVisible() || isMinimized();
  if (!isVisible()) setOpener(openerFor());
  if (!positioned_) {
    positioned_ = true;
    if (form_.centred) {
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        ensurePolished();
        adjustSize();
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
      }
    }
  }
  if (isMinimized())
    showNormal();
  else
    show();
  raise();
  activateWindow();
  if (opening) focusOnOpen();
}

void FormWindow::formHidden(Form&) {
  const bool wasActive = isActiveWindow();
  hide();
  if (!wasActive) return;
  // The person goes on where they came from: the window this one was a dialog of, else the
  // main window (not whatever the window manager happens to pick, or nothing at all).
  QWidget* next = opener_ && opener_->isVisible() ? opener_.data() : nullptr;
  if (!next)
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = dynamic_cast<FormWindow*>(w);
          f && &f->form() == form_.app().mainForm() && f->isVisible())
        next = f;
  if (next && next != this) next->activateWindow();
}

void FormWindow::formCaptionChanged(Form&) {
  setWindowTitle(toQ(form_.caption()));
}

void FormWindow::closeEvent(QCloseEvent* event) {
  if (!form_.visible()) {
    event->accept();
    return;
  }
  // The model decides: closing the form hides this window through formHidden.
  event->ignore();
  runner_.run([this] { form_.close(); });
}

bool FormWindow::pressButton(bool (*which)(const Button&)) {
  for (auto& v : views_) {
    auto* b = dynamic_cast<Button*>(&v->control());
    if (!b || !which(*b)) continue;
    auto* push = qobject_cast<QPushButton*>(v->widget());
    if (!push || !push->isVisible() || !push->isEnabled()) continue;
    push->click();
    return true;
  }
  return false;
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  const auto mods = event->modifiers() & ~Qt::KeypadModifier;
  if (mods == Qt::NoModifier) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      // The edit with the focus is left first, as when a button is clicked with the mouse;
      // without a default button, Enter only takes what was typed.
      if (ControlView* focused = viewOf(focusWidget()); focused && !focused->leaveByKey()) return;
      if (pressButton([](const Button& b) { return b.isDefault; })) return;
    } else if (event->key() == Qt::Key_Escape) {
      if (pressButton([](const Button& b) { return b.isCancel; })) return;
    }
  }
  QWidget::keyPressEvent(event);
}

}  // namespace corvanta
