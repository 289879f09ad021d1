#pragma once
// The one error type whose text is shown to a person in the error box.
// Commands never catch it; the command dispatcher does.
#include <exception>
#include <stdexcept>
#include <string>

namespace corvanta {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& text) : std::runtime_error(text), text_(text) {}
  // The whole text, NUL characters included (what() stops at the first one: a name or a
  // typed value quoted in the text may carry one).
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// A post refused because a unique index already holds the key.  Callers that must tell this
// apart (tests, the import tool) catch it; everyone else sees an Error.
class KeyViolation : public Error {
 public:
  explicit KeyViolation(const std::string& text) : Error(text) {}
};

// A post of an edit refused because another workstation changed one of the edited fields
// since the record was read.  The cursor remembers it, so that a Refresh shows the other
// change without posting the edit again.
class ChangedElsewhere : public Error {
 public:
  explicit ChangedElsewhere(const std::string& text) : Error(text) {}
};

// The text to show for any exception: an Error's whole text, else what() says.
inline std::string errorText(const std::exception& e) {
  if (auto* error = dynamic_cast<const Error*>(&e)) return error->text();
  return e.what();
}

}  // namespace corvanta
