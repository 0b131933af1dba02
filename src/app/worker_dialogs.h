#pragma once

#include <windows.h>

#include <functional>

#include "platform/dialogs.h"
#include "platform/win32/handles.h"

namespace vorlix::app {

// The dialogs of the window, shown by the window's own thread whichever thread asks: a command's
// worker sends each one to the thread that made this object and waits for the answer, so that
// every message box is owned by the main window and its thread, and no two threads' input is
// joined. Once the command is to stop, nothing is shown and a question is answered No.
class WorkerDialogs final : public platform::Dialogs {
 public:
  // Made on the window's thread. `stopping` is asked on that thread before each dialog.
  WorkerDialogs(platform::Dialogs& shown, std::function<bool()> stopping);
  WorkerDialogs(const WorkerDialogs&) = delete;
  WorkerDialogs& operator=(const WorkerDialogs&) = delete;

  bool Confirm(const std::string& text) override;
  void Inform(const std::string& text) override;
  void Warn(const std::string& text) override;
  void Error(const std::string& text) override;
  std::optional<std::string> SaveFileName(const std::string& suggested) override;

 private:
  // Runs `show` on the window's thread unless the command is to stop.
  void OnOwnThread(const std::function<void()>& show);

  platform::Dialogs& shown_;
  std::function<bool()> stopping_;
  DWORD thread_;
  platform::win32::UniqueWindow messages_;  // message-only, of the window's thread
};

}  // namespace vorlix::app
