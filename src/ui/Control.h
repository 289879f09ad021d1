#pragma once
// Controls of window models: what a person sees and uses in a window, under the names the
// shop's code uses for them.  The model is the truth; a presentation (the Qt GUI) mirrors it
// through ControlObserver and sends a person's actions back through the methods below.
#include <functional>
#include <string>
#include <vector>

namespace corvanta {

class Form;
class Application;

enum class ControlKind {
  Label,
  Edit,
  Button,
  OptionButton,
  GroupBox,
  Panel,
  MenuItem,
  DBEdit,
  DBText,
  DBGrid,
  Navigator,
  Image
};

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

class Control;
class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void controlChanged(Control& control) = 0;  // text, state, enabled, checked...
};

class Control {
 public:
  // Registers itself with its form under its name; parent is the panel or group box holding it.
  Control(Form& form, std::string name, ControlKind kind, Control* parent = nullptr);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  Form& form() const { return form_; }
  Control* parent() const { return parent_; }

  // Caption or content as shown.
  virtual std::string text() const { return text_; }
  // The program sets the text (captions, program writes into edits).
  virtual void setText(const std::string& text);

  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  bool visible() const { return visible_; }
  void setVisible(bool on);
  const std::string& hint() const { return hint_; }
  void setHint(std::string h) { hint_ = std::move(h); }

  const Bounds& bounds() const { return bounds_; }
  Control& setBounds(int left, int top, int width, int height);

  // Called when the data modules appear, so that data-aware controls can find their source.
  virtual void bindDataSources(Application&) {}

  void addObserver(ControlObserver* o);
  void removeObserver(ControlObserver* o);

 protected:
  void changed();
  std::string text_;

 private:
  Form& form_;
  std::string name_;
  ControlKind kind_;
  Control* parent_;
  bool enabled_ = true, visible_ = true;
  std::string hint_;
  Bounds bounds_;
  std::vector<ControlObserver*> observers_;
};

class Label : public Control {
 public:
  Label(Form& form, std::string name, std::string caption, Control* parent = nullptr);
  // Presentation hints for the few labels that must look a certain way.
  int fontSize = 0;  // points; 0: the window's font
  bool bold = false;
  std::string color;  // "navy", "black"...
};

class Panel : public Control {
 public:
  Panel(Form& form, std::string name, std::string caption = "", Control* parent = nullptr);
  std::string color;  // "yellow"...
};

class GroupBox : public Control {
 public:
  GroupBox(Form& form, std::string name, std::string caption, Control* parent = nullptr);
};

// A plain text edit, not bound to a table.
class Edit : public Control {
 public:
  Edit(Form& form, std::string name, Control* parent = nullptr,
       ControlKind kind = ControlKind::Edit);
  int maxLength = 0;  // 0: no limit
  bool readOnly = false;
  std::string exitHandler;  // handler run when a person leaves the edit

  // The program's setText is not limited by maxLength; a person's typing is.
  // A person types: replaces the whole text; false when the edit refuses typing.
  virtual bool typeText(const std::string& text);
  // A person leaves the edit (the exit handler runs through the dispatcher).  False when an
  // error was shown: the focus stays in the edit.
  virtual bool leave();
};

class Button : public Control {
 public:
  enum class Glyph { None, Ok, Cancel, Help, Close };
  Button(Form& form, std::string name, std::string caption, std::string handler,
         Control* parent = nullptr);
  std::string handler;
  bool isDefault = false;  // Enter presses it
  bool isCancel = false;   // Esc presses it
  Glyph glyph = Glyph::None;
  // A button of a standard kind, with its glyph: OK is the default button (Enter presses it),
  // Cancel and Close the cancel button (Esc presses it).
  void setKind(Glyph kind);
  // A person clicks (through the dispatcher); nothing when disabled.
  void click();
};

class OptionButton : public Control {
 public:
  OptionButton(Form& form, std::string name, std::string caption, std::string handler,
               Control* parent = nullptr);
  std::string handler;  // may be empty
  bool checked() const { return checked_; }
  // Selects this one and unselects the others of its group (same parent); no handler runs.
  void setChecked(bool on);
  // A person selects it: checked, then its click handler through the dispatcher.
  void choose();

 private:
  bool checked_ = false;
};

class MenuItem : public Control {
 public:
  // A top-level item of the form's main menu (parentItem null) or an item under another.
  MenuItem(Form& form, std::string name, std::string caption, std::string handler,
           MenuItem* parentItem = nullptr);
  std::string handler;  // empty for items that only open a sub-menu
  MenuItem* parentItem() const { return parentItem_; }
  void click();

 private:
  MenuItem* parentItem_;
};

// A picture; the presentation chooses what to draw from its name.
class Image : public Control {
 public:
  Image(Form& form, std::string name, std::string picture, Control* parent = nullptr);
};

// Strips the accelerator marks of a caption: "E&xit" -> "Exit", "&&" -> "&".
std::string stripAccelerator(const std::string& caption);

}  // namespace corvanta
