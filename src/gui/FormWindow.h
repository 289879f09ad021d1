#pragma once
// The real window of one window model.
//
// Built once, from the form's controls in creation order: each control's widget goes into
// its parent panel or group box (or the window's client area) at its bounds; a control
// without bounds gets its natural size and is stacked below the previous such control of
// its parent.  The window mirrors the form: shown -> show, raise and activate; hidden ->
// hide; caption.  Its frame follows the form's border style (Dialog: fixed size, system
// menu and close box only; None: no frame; Sizeable: a normal window).  The close box asks
// the model to close the form; Enter leaves the edit that has the focus (its typed value
// goes to the model) and presses the default button, Esc presses the cancel button, F1 the
// window's Help button or menu item.
//
// Focus goes where the person will type: on opening, to the chosen option button, else the
// first edit that takes typing (its text selected, so typing replaces it); after a button
// put a table into edit or insert state, to the first edit of that table.
//
// A window opened from another window that is larger than it (a search, sort-order, price or
// payment dialog) is that window's dialog: it stays above it, without being modal.  Windows
// opened from the main window are windows of their own.
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/Form.h"

namespace corvanta {

class ActionRunner;
class ControlView;
class MenuViews;
class Table;

class FormWindow : public QWidget, public FormObserver {
 public:
  FormWindow(Form& form, ActionRunner& runner);
  ~FormWindow() override;

  Form& form() const { return form_; }
  // The widget of a control by the control's name (nullptr when none).
  QWidget* controlWidget(std::string_view name) const;

  void formShown(Form& form) override;
  void formHidden(Form& form) override;
  void formCaptionChanged(Form& form) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void build();
  void place(ControlView& view, QWidget* parent);
  void fitContainers();
  void syncAll();
  QWidget* containerOf(const Control* control) const;
  ControlView* viewOf(const QWidget* widget) const;
  bool pressButton(bool (*which)(const Button&));
  // Makes this window the dialog of opener (nullptr: a window of its own).  Only while hidden.
  void setOpener(FormWindow* opener);
  FormWindow* openerFor() const;
  void focusOnOpen();
  void watchButton(ControlView& view);
  void noteTableStates();
  void focusAfterButton();
  void pressHelp();

  // Tables of this window's data-aware edits with their state before a button's click.
  std::map<const Table*, int> statesBefore_;
  QPointer<FormWindow> opener_;  // the window this one is a dialog of
  Form& form_;
  ActionRunner& runner_;
  QWidget* client_ = nullptr;
  std::unique_ptr<MenuViews> menus_;
  std::vector<std::unique_ptr<ControlView>> views_;
  std::map<const Control*, ControlView*> byControl_;
  std::map<const QWidget*, int> nextAutoTop_;  // per container
  bool positioned_ = false;
};

}  // namespace corvanta
