#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <stdexcept>

namespace corvanta::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (int i = 0; i < 100; ++i) {
    fs::path p = fs::temp_directory_path() /
                 ("corvanta-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      path_ = p;
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

FakeDialogs::~FakeDialogs() {
  if (!unexpected.empty()) ADD_FAILURE() << "every box answered, got " << unexpected;
  if (!answers.empty())
    ADD_FAILURE() << "every queued reply taken, got an unused answer \""
                  << answers.front().value_or("(Cancel)") << "\"";
  if (!confirmations.empty())
    ADD_FAILURE() << "every queued reply taken, got an unused confirmation";
  if (!files.empty())
    ADD_FAILURE() << "every queued reply taken, got an unused file \""
                  << files.front().value_or("(Cancel)") << "\"";
}

namespace {
[[noreturn]] void noReply(std::string& unexpected, const std::string& what) {
  if (unexpected.empty()) unexpected = what;
  throw std::logic_error(what);
}
}  // namespace

bool FakeDialogs::confirm(const std::string& caption, const std::string& text) {
  prompts.push_back(caption + " | " + text);
  if (confirmations.empty()) noReply(unexpected, "unexpected confirmation: " + text);
  bool yes = confirmations.front();
  confirmations.pop_front();
  return yes;
}

std::string FakeDialogs::inputBox(const std::string& caption, const std::string& prompt,
                                  const std::string&) {
  prompts.push_back(caption + " | " + prompt);
  if (answers.empty()) noReply(unexpected, "unexpected input box: " + caption + " | " + prompt);
  auto a = answers.front();
  answers.pop_front();
  return a.value_or("");
}

bool FakeDialogs::inputQuery(const std::string& caption, const std::string& prompt,
                             std::string& value) {
  prompts.push_back(caption + " | " + prompt);
  if (answers.empty()) noReply(unexpected, "unexpected input query: " + caption + " | " + prompt);
  auto a = answers.front();
  answers.pop_front();
  if (!a) return false;
  value = *a;
  return true;
}

std::optional<std::string> FakeDialogs::openFile(const OpenFileRequest& request) {
  prompts.push_back("open file | " + request.fileName);
  if (files.empty()) noReply(unexpected, "unexpected open-file dialog: " + request.fileName);
  auto f = files.front();
  files.pop_front();
  return f;
}

TestShop::TestShop()
    : engine(EngineConfig::forDataDirectory(dir.path())),
      app(std::make_unique<CorvantaApp>(engine, Platform{dialogs, help, reports, {}, calendar})) {
  if (!app->start())
    throw std::runtime_error("start-up failed: " +
                             (dialogs.errors.empty() ? std::string("?") : dialogs.errors.back()));
}

TestShop::~TestShop() {
  if (app) app->shutdown();
  app.reset();
}

}  // namespace corvanta::test
