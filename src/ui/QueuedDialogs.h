#pragma once
// The modal boxes answered without a person: replies are queued before the command that asks
// for them, and every box shown is kept until it is read.  The tests, the scenario runner and
// the benchmarks all use this one class, so they hold the windows to the same rules:
//   - a box that asks for a reply (input box, input query, confirmation, file dialog) when
//     none is queued throws UnexpectedBox: the command stops there instead of going on with a
//     made-up answer, and unexpected() names the box;
//   - a queued reply that no box took, and a message or error box that nobody read, are left
//     over; leftOver() names the first of them, and the owner fails its test or line with it.
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace corvanta {

// Thrown by a box that found no reply queued for it.
class UnexpectedBox : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class QueuedDialogs : public Dialogs {
 public:
  struct Prompt {
    std::string caption, prompt;
    bool operator==(const Prompt&) const = default;
  };

  // Replies, taken oldest first by the boxes of their kind.
  void queueAnswer(std::optional<std::string> text);  // input box or query; nullopt: Cancel
  void queueConfirmation(bool yes);
  void queueFile(std::optional<std::string> path);  // nullopt: Cancel

  // The oldest message (error) box not yet read, taken; throws std::logic_error when none is
  // left, naming what was asked for.
  std::string takeMessage();
  std::string takeError();
  // Every message (error) box not yet read, oldest first, taken.
  std::vector<std::string> takeMessages();
  std::vector<std::string> takeErrors();
  // The oldest input box or query not yet read, taken (nullopt when none).
  std::optional<Prompt> takePrompt();

  bool hasUnread() const { return !messages_.empty() || !errors_.empty(); }
  const std::deque<std::string>& unreadMessages() const { return messages_; }
  const std::deque<std::string>& unreadErrors() const { return errors_; }

  // Every box that asked for a reply, as "caption | text", oldest first, answered or not.
  // A log for tests to look back at; nothing requires it to be read.
  const std::vector<std::string>& asked() const { return asked_; }

  // The first box that found no reply since the last takeUnexpected(); empty when none.
  const std::string& unexpected() const { return unexpected_; }
  std::string takeUnexpected();

  // Counts the actions of a script: a reply queued before an action that has run since is
  // stale (the runner fails the next action with it).
  void actionRan() { ++actions_; }
  // The first reply queued before the last action ran and still not taken; empty when none.
  std::string staleReply() const;
  // The first thing left over: an unexpected box, a reply not taken, a message or error box
  // not read; empty when nothing is.
  std::string leftOver() const;
  // Forgets every reply and every box shown and asked (after a failure was reported).
  void clear();

  void showMessage(const std::string& text) override;
  void showError(const std::string& text) override;
  bool confirm(const std::string& caption, const std::string& text) override;
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override;
  bool inputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  std::optional<std::string> openFile(const OpenFileRequest& request) override;

 private:
  struct Reply {
    std::optional<std::string> text;
    int queuedAt = 0;  // actions run when it was queued
  };
  std::optional<std::string> take(std::deque<Reply>& queue, const std::string& what);
  static std::string describe(const char* kind, const Reply& r);

  std::deque<Reply> answers_, confirmations_, files_;
  std::deque<std::string> messages_, errors_;
  std::deque<Prompt> prompts_;
  std::vector<std::string> asked_;
  std::string unexpected_;
  int actions_ = 0;
};

}  // namespace corvanta
