#pragma once
// The modal boxes a command may put before a person.  The GUI implements them with Qt; the
// scenario runner and tests with queued answers.
#include <optional>
#include <string>

namespace corvanta {

struct OpenFileRequest {
  std::string title;             // empty: the toolkit's "Open"
  std::string initialDirectory;  // Windows-style, resolved by the implementation
  std::string fileName;          // the preset name
  std::string filter;            // e.g. "Report files (*.rpt)|*.rpt|All files (*.*)|*.*"
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Information box with one "OK"; its caption is the application's title.
  virtual void showMessage(const std::string& text) = 0;
  // The standard error box.
  virtual void showError(const std::string& text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool confirm(const std::string& caption, const std::string& text) = 0;
  // One-line input box: the text as entered with OK; Cancel gives the empty text.
  virtual std::string inputBox(const std::string& caption, const std::string& prompt,
                               const std::string& defaultText) = 0;
  // Input query: edit of at most 255 characters; false when Cancel was pressed (value kept).
  virtual bool inputQuery(const std::string& caption, const std::string& prompt,
                          std::string& value) = 0;
  // Open-file dialog: the chosen file's path, or nothing on Cancel.
  virtual std::optional<std::string> openFile(const OpenFileRequest& request) = 0;
};

}  // namespace corvanta
