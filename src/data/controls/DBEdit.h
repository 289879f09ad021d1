#pragma once
// Data-aware edit and text.
//
// A DBEdit shows the display text of its field for the table's current record and keeps a
// modified mark.  It takes the field's value (mark cleared) whenever its table moves, enters
// a state, is refreshed, posts or cancels, and whenever its field changes -- at once, during
// the table operation.  When the table posts, a marked edit stores its text into its field
// first.  A program's write (setText) only sets the text and the mark; a person's typing
// (typeText) also follows the data source's AutoEdit rule; a text the person entered in a
// command's own box (enterText) is always marked.
#include "data/controls/DataLink.h"
#include "ui/Control.h"

namespace corvanta {

class DBEdit : public Edit, public DataObserver {
 public:
  DBEdit(Form& form, std::string name, std::string dataSource, std::string fieldName,
         Control* parent = nullptr);

  DataLink& link() { return link_; }
  const DataLink& link() const { return link_; }
  bool modified() const { return modified_; }

  // Program write: a different text sets the modified mark; the same text changes nothing.
  void setText(const std::string& text) override;
  // A text the person entered in a box of the command (an input box, a dialog's edit) and the
  // command stores here: marked even where it equals the text shown, so that the post stores
  // what was entered (7.13 over a stored 7.126 shown as 7.13), which setText would leave.
  // Requires the table in edit or insert state (the command puts it there; entering the
  // state reloads the edits, so this comes after).
  void enterText(const std::string& text);
  // A person types.  Refused (false) when read-only, unbound, the field is read-only, or the
  // table is in browse state and the data source has AutoEdit off; with AutoEdit on, the
  // table is put into edit state first.
  bool typeText(const std::string& text) override;
  // A person leaves: a typed text goes into the field now (a conversion error is shown and
  // false returned: the focus stays), then the exit handler runs.
  bool leave() override;

  void bindDataSources(Application& app) override;
  void dataEvent(DataEvent event, const Field* field) override;

 private:
  void takeFieldValue();
  DataLink link_;
  bool modified_ = false;
};

// A data-aware label: always the field's display text.
class DBText : public Control, public DataObserver {
 public:
  DBText(Form& form, std::string name, std::string dataSource, std::string fieldName,
         Control* parent = nullptr);
  const DataLink& link() const { return link_; }
  void bindDataSources(Application& app) override;
  void dataEvent(DataEvent event, const Field* field) override;

 private:
  DataLink link_;
};

}  // namespace corvanta
