#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/errors.h"

namespace vorlix {

// The file call in progress, for a front end that shows what a slow command waits for.
struct CallInProgress {
  std::string section;  // the last heading the report wrote
  std::string path;     // the path the call is about
  std::chrono::steady_clock::time_point since;
};

// What a front end shows while a call waits: "Checking licence folder...  \\dead\share\Licence
// (12 s)", once the call has lasted a second; empty before.
std::string WaitingText(const CallInProgress& call, std::chrono::steady_clock::time_point now);

// One command as the system sees it: whether it is to stop, the call it is in and the section
// its report is at. Every call of the command goes through Call() or CleanUp(), so that a cancel
// is seen by the very next call. A cancel that lands while a call has just begun is the front
// end's to repeat (CancelSynchronousIo) until the command has ended.
class CommandSession {
 public:
  CommandSession() = default;
  CommandSession(const CommandSession&) = delete;
  CommandSession& operator=(const CommandSession&) = delete;

  // A new command: not cancelled, at no section yet.
  void Start();
  // Every later call but a clean-up throws Cancelled.
  void Cancel();
  bool IsCancelled() const;
  // The heading the report has just written.
  void EnterSection(std::string_view heading);
  std::optional<CallInProgress> Current() const;

  // One call of the command about `path`.
  template <typename Calling>
  auto Call(const std::string& path, Calling calling) {
    const Mark mark(*this, path, false);
    return calling();
  }
  // A call that removes what the command made: it still goes through once cancelled.
  template <typename Calling>
  auto CleanUp(const std::string& path, Calling calling) {
    const Mark mark(*this, path, true);
    return calling();
  }

 private:
  // The call in progress, from its start to its end.
  class Mark {
   public:
    Mark(CommandSession& session, const std::string& path, bool cleanUp);
    ~Mark();
    Mark(const Mark&) = delete;
    Mark& operator=(const Mark&) = delete;

   private:
    CommandSession& session_;
  };

  mutable std::mutex mutex_;
  bool cancelled_ = false;
  std::string section_;
  std::optional<CallInProgress> current_;
};

}  // namespace vorlix
