#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace vorlix::fakes {

// Answers dialogs from a script and records every one shown.
class FakeDialogs final : public platform::Dialogs {
 public:
  struct Shown {
    std::string kind;  // "confirm", "inform", "warn", "error", "save"
    std::string text;
  };
  std::vector<Shown> shown;
  std::deque<bool> confirmAnswers;                     // empty: answer No
  std::deque<std::optional<std::string>> saveAnswers;  // empty: cancel

  bool Confirm(const std::string& text) override {
    shown.push_back({"confirm", text});
    if (confirmAnswers.empty()) return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
  void Inform(const std::string& text) override { shown.push_back({"inform", text}); }
  void Warn(const std::string& text) override { shown.push_back({"warn", text}); }
  void Error(const std::string& text) override { shown.push_back({"error", text}); }
  std::optional<std::string> SaveFileName(const std::string& suggested) override {
    shown.push_back({"save", suggested});
    if (saveAnswers.empty()) return std::nullopt;
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }
};

}  // namespace vorlix::fakes
