#pragma once
// Small text helpers shared by every layer: blanks cut off, ASCII case folded.
#include <string>
#include <string_view>

namespace corvanta {

// The text without the blanks (space, tab, CR, LF, vertical tab, form feed) at either end.
std::string trim(std::string_view text);

// The text with ASCII letters in lower case; other bytes (UTF-8 included) kept as they are.
std::string toLower(std::string text);

}  // namespace corvanta
