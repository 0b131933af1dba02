#include "common/command_session.h"

#include "common/short_string.h"

namespace vorlix {

std::string WaitingText(const CallInProgress& call, std::chrono::steady_clock::time_point now) {
  const auto waited = std::chrono::duration_cast<std::chrono::seconds>(now - call.since).count();
  if (waited < 1) return {};
  std::string text = call.section.empty() ? std::string() : call.section + "  ";
  return text + call.path + "  (" + std::to_string(waited) + " s)";
}

void CommandSession::Start() {
  const std::lock_guard lock(mutex_);
  cancelled_ = false;
  section_.clear();
}

void CommandSession::Cancel() {
  const std::lock_guard lock(mutex_);
  cancelled_ = true;
}

bool CommandSession::IsCancelled() const {
  const std::lock_guard lock(mutex_);
  return cancelled_;
}

void CommandSession::EnterSection(std::string_view heading) {
  const std::lock_guard lock(mutex_);
  section_ = Short(heading);
}

std::optional<CallInProgress> CommandSession::Current() const {
  const std::lock_guard lock(mutex_);
  return current_;
}

// The check and the mark are one step: a cancel comes either before it (the call is not made)
// or after it (the call is in progress and can be cancelled).
CommandSession::Mark::Mark(CommandSession& session, const std::string& path, bool cleanUp)
    : session_(session) {
  const std::lock_guard lock(session_.mutex_);
  if (session_.cancelled_ && !cleanUp) throw Cancelled();
  session_.current_ = CallInProgress{session_.section_, path, std::chrono::steady_clock::now()};
}

CommandSession::Mark::~Mark() {
  const std::lock_guard lock(session_.mutex_);
  session_.current_.reset();
}

}  // namespace vorlix
