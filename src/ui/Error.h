#pragma once
// The one error type whose text is shown to a person in the error box.
// Commands never catch it; the command dispatcher does.
#include <stdexcept>
#include <string>

namespace corvanta {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// A post refused because a unique index already holds the key.  Callers that must tell this
// apart (tests, the import tool) catch it; everyone else sees an Error.
class KeyViolation : public Error {
 public:
  explicit KeyViolation(const std::string& text) : Error(text) {}
};

}  // namespace corvanta
