#include "ScriptPlatform.h"

namespace corvanta::scenario {

void ScriptDialogs::noReply(const std::string& what) {
  if (unexpected.empty()) unexpected = what;
}

bool ScriptDialogs::confirm(const std::string& caption, const std::string& text) {
  if (confirmations.empty()) {
    noReply("unexpected confirmation box \"" + caption + "\": " + text);
    return false;
  }
  bool yes = confirmations.front().text.has_value();
  confirmations.pop_front();
  return yes;
}

std::string ScriptDialogs::inputBox(const std::string& caption, const std::string& prompt,
                                    const std::string&) {
  prompts.emplace_back(caption, prompt);
  if (answers.empty()) {
    noReply("unexpected input box \"" + caption + "\": " + prompt);
    return "";
  }
  auto a = answers.front().text;
  answers.pop_front();
  return a.value_or("");
}

bool ScriptDialogs::inputQuery(const std::string& caption, const std::string& prompt,
                               std::string& value) {
  prompts.emplace_back(caption, prompt);
  if (answers.empty()) {
    noReply("unexpected input query \"" + caption + "\": " + prompt);
    return false;
  }
  auto a = answers.front().text;
  answers.pop_front();
  if (!a) return false;
  value = a->substr(0, 255);
  return true;
}

std::optional<std::string> ScriptDialogs::openFile(const OpenFileRequest& request) {
  if (files.empty()) {
    noReply("unexpected file dialog \"" + (request.title.empty() ? "Open" : request.title) +
            "\": " + request.fileName);
    return std::nullopt;
  }
  auto f = files.front().text;
  files.pop_front();
  return f;
}

}  // namespace corvanta::scenario
