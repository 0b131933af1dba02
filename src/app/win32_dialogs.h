#pragma once

#include <windows.h>

#include "platform/dialogs.h"

namespace vorlix::app {

// The standard Windows message boxes and file-save dialog, owned by a window.
class Win32Dialogs final : public platform::Dialogs {
 public:
  explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  bool Confirm(const std::string& text) override;
  void Inform(const std::string& text) override;
  void Warn(const std::string& text) override;
  void Error(const std::string& text) override;
  std::optional<std::string> SaveFileName(const std::string& suggested) override;

 private:
  HWND owner_;
};

}  // namespace vorlix::app
