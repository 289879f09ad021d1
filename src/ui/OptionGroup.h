#pragma once
// The building block of the small dialogs that are one group box of option buttons with OK
// and Cancel under it (search by this or that, order by this or that, which price...).
//
// The dialog keeps its controls as its own members, under the names the system gives them;
// an OptionGroup member declared after them lays them out, gives the dialog its fixed frame
// and size, makes OK the default button (Enter) and Cancel the cancel button (Esc), selects
// the first option, and tells which option is chosen.  One option is selected at a time
// (selecting one unselects the others of its group box).
//
//   class TOrderForm : public Form {
//    public:
//     explicit TOrderForm(Application& app);  // registers cmdOKClick and cmdCloseClick
//     GroupBox GroupBox1{*this, "GroupBox1", "Order"};
//     OptionButton optByNumber{*this, "optByNumber", "Order by Part Number", "", &GroupBox1};
//     OptionButton optByName{*this, "optByName", "Order by Description", "", &GroupBox1};
//     Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
//     Button cmdClose{*this, "cmdClose", "&Close", "cmdCloseClick"};
//     OptionGroup options{GroupBox1, {&optByNumber, &optByName}, cmdOK, cmdClose,
//                         {.cancelKind = Button::Glyph::Close}};
//   };
//   ...
//   void TOrderForm::cmdOKClick() {
//     if (options.chosenIndex() == 1) ...
//   }
#include <string>
#include <vector>

#include "ui/Control.h"

namespace corvanta {

// How an option-group dialog is laid out.
struct OptionGroupLayout {
  int width = 300;                                   // the dialog's client width
  Button::Glyph cancelKind = Button::Glyph::Cancel;  // or Close
};

class OptionGroup {
 public:
  // Requires at least one option, every option a child of `box`, and all controls in one form.
  // Throws std::logic_error when not: that is a fault in the dialog's wiring, found the first
  // time the dialog is created.
  OptionGroup(GroupBox& box, std::vector<OptionButton*> options, Button& ok, Button& cancel,
              OptionGroupLayout layout = {});

  const std::vector<OptionButton*>& options() const { return options_; }
  // The selected option's position in the list given, or -1 when the program has unselected
  // every option.
  int chosenIndex() const;
  // The selected option's control name; "" when none is selected.
  std::string chosenName() const;
  // The program selects an option (no click handler runs).  Requires 0 <= index < size.
  void choose(int index);

 private:
  std::vector<OptionButton*> options_;
};

}  // namespace corvanta
