#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "common/command_session.h"

namespace vorlix::console::win32 {

// While a command runs, shows on standard error, when that is a console, the call that has been
// waiting for more than a second ("Checking licence folder...  \\dead\share\Licence  (12 s)"),
// and takes the line away again when the call ends. Does nothing when standard error is a file
// or a pipe, so that scripts read only what the command wrote.
class ProgressLine {
 public:
  explicit ProgressLine(const CommandSession& session);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

 private:
  void Watch();
  void Show(const std::string& text);

  const CommandSession& session_;
  void* console_ = nullptr;  // the console's handle; null when standard error is none
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::size_t shown_ = 0;  // characters on the line now
  std::thread watcher_;
};

}  // namespace vorlix::console::win32
