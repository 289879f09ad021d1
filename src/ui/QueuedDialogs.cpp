#include "ui/QueuedDialogs.h"

namespace corvanta {

void QueuedDialogs::queueAnswer(std::optional<std::string> text) {
  answers_.push_back({std::move(text), actions_});
}

void QueuedDialogs::queueConfirmation(bool yes) {
  confirmations_.push_back({yes ? std::optional<std::string>("yes") : std::nullopt, actions_});
}

void QueuedDialogs::queueFile(std::optional<std::string> path) {
  files_.push_back({std::move(path), actions_});
}

namespace {

std::string takeOldest(std::deque<std::string>& queue, const char* what) {
  if (queue.empty()) throw std::logic_error(std::string("no ") + what + " box was shown");
  std::string text = std::move(queue.front());
  queue.pop_front();
  return text;
}

std::vector<std::string> takeAll(std::deque<std::string>& queue) {
  std::vector<std::string> all(std::make_move_iterator(queue.begin()),
                               std::make_move_iterator(queue.end()));
  queue.clear();
  return all;
}

}  // namespace

std::string QueuedDialogs::takeMessage() {
  return takeOldest(messages_, "message");
}

std::string QueuedDialogs::takeError() {
  return takeOldest(errors_, "error");
}

std::vector<std::string> QueuedDialogs::takeMessages() {
  return takeAll(messages_);
}

std::vector<std::string> QueuedDialogs::takeErrors() {
  return takeAll(errors_);
}

std::optional<QueuedDialogs::Prompt> QueuedDialogs::takePrompt() {
  if (prompts_.empty()) return std::nullopt;
  Prompt p = std::move(prompts_.front());
  prompts_.pop_front();
  return p;
}

std::string QueuedDialogs::takeUnexpected() {
  std::string what = std::move(unexpected_);
  unexpected_.clear();
  return what;
}

std::string QueuedDialogs::describe(const char* kind, const Reply& r) {
  return std::string("unused ") + kind + " " + (r.text ? "\"" + *r.text + "\"" : "(Cancel)");
}

std::string QueuedDialogs::staleReply() const {
  if (!answers_.empty() && answers_.front().queuedAt < actions_)
    return describe("reply", answers_.front());
  if (!files_.empty() && files_.front().queuedAt < actions_)
    return describe("reply", files_.front());
  if (!confirmations_.empty() && confirmations_.front().queuedAt < actions_)
    return describe("reply", confirmations_.front());
  return {};
}

std::string QueuedDialogs::leftOver() const {
  if (!unexpected_.empty()) return unexpected_;
  if (!answers_.empty()) return describe("reply", answers_.front());
  if (!files_.empty()) return describe("file", files_.front());
  if (!confirmations_.empty())
    return std::string("unused confirmation ") + (confirmations_.front().text ? "Yes" : "No");
  if (!messages_.empty()) return "unexpected message: " + messages_.front();
  if (!errors_.empty()) return "unexpected error: " + errors_.front();
  return {};
}

void QueuedDialogs::clear() {
  answers_.clear();
  confirmations_.clear();
  files_.clear();
  messages_.clear();
  errors_.clear();
  prompts_.clear();
  asked_.clear();
  unexpected_.clear();
}

void QueuedDialogs::showMessage(const std::string& text) {
  messages_.push_back(text);
}

void QueuedDialogs::showError(const std::string& text) {
  // The dispatcher shows the UnexpectedBox that stopped the command; it is reported once, as
  // the box that found no reply, not again as an error box nobody read.
  if (!unexpected_.empty() && text == unexpected_) return;
  errors_.push_back(text);
}

std::optional<std::string> QueuedDialogs::take(std::deque<Reply>& queue, const std::string& what) {
  if (queue.empty()) {
    if (unexpected_.empty()) unexpected_ = what;
    throw UnexpectedBox(what);
  }
  std::optional<std::string> text = std::move(queue.front().text);
  queue.pop_front();
  return text;
}

bool QueuedDialogs::confirm(const std::string& caption, const std::string& text) {
  asked_.push_back(caption + " | " + text);
  return take(confirmations_, "unexpected confirmation box \"" + caption + "\": " + text)
      .has_value();
}

std::string QueuedDialogs::inputBox(const std::string& caption, const std::string& prompt,
                                    const std::string&) {
  asked_.push_back(caption + " | " + prompt);
  prompts_.push_back({caption, prompt});
  return take(answers_, "unexpected input box \"" + caption + "\": " + prompt).value_or("");
}

bool QueuedDialogs::inputQuery(const std::string& caption, const std::string& prompt,
                               std::string& value) {
  asked_.push_back(caption + " | " + prompt);
  prompts_.push_back({caption, prompt});
  auto a = take(answers_, "unexpected input query \"" + caption + "\": " + prompt);
  if (!a) return false;
  value = a->substr(0, 255);  // the query's edit takes no more
  return true;
}

std::optional<std::string> QueuedDialogs::openFile(const OpenFileRequest& request) {
  const std::string title = request.title.empty() ? "Open" : request.title;
  asked_.push_back(title + " | " + request.fileName);
  return take(files_, "unexpected file dialog \"" + title + "\": " + request.fileName);
}

}  // namespace corvanta
