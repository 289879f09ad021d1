#pragma once
// The real widget of one control, kept in step with its model.
//
// A view subscribes to its control and mirrors every change at once (text, enabled, visible,
// checked...); what a person does with the widget goes back to the model through the
// ActionRunner (typing -> Edit::typeText, leaving -> Edit::leave, clicks -> click/choose).
// The model is the truth: after a person's action the widget shows what the model holds.
#include <QString>
#include <memory>
#include <string>

#include "ui/Control.h"

class QWidget;

namespace corvanta {

class ActionRunner;

class ControlView : public ControlObserver {
 public:
  ControlView(Control& control, QWidget* widget);
  ~ControlView() override;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  Control& control() const { return control_; }
  QWidget* widget() const { return widget_; }

  // Takes every mirrored property from the model again.
  virtual void sync();
  // Where children of this control go (panels and group boxes); nullptr for the others.
  virtual QWidget* container() const { return nullptr; }
  // A person leaves this control with Enter; false when the model kept the focus here.
  virtual bool leaveByKey() { return true; }
  // Whether typing into it now would reach the model (an edit that is not read-only, whose
  // table, if any, is in edit or insert state or edits itself when typed into).
  virtual bool takesTyping() const { return false; }
  // The data-aware edit's table (nullptr for every other control).
  virtual const class Table* table() const { return nullptr; }
  // Whether the widget takes the size its text needs (labels): then fitWithin sizes it, at
  // least as large as its bounds and at most maxWidth wide (a smaller font before cut text).
  virtual bool autoSizes() const { return false; }
  virtual void fitWithin(int /*maxWidth*/) {}

  void controlChanged(Control&) override { sync(); }

 private:
  Control& control_;
  QWidget* widget_;
};

// Builds the widget for a control as a child of parent (geometry is set by the caller).
// Menu items have no widget of their own: nullptr.
std::unique_ptr<ControlView> makeControlView(Control& control, QWidget* parent,
                                             ActionRunner& runner);

QString toQ(const std::string& s);

}  // namespace corvanta
