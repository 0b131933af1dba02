#pragma once

#include <windows.h>

#include <commdlg.h>

#include "platform/dialogs.h"
#include "platform/win32/system_library.h"

namespace vorlix::app {

// The standard Windows message boxes and file-save dialog, owned by a window. The dialog's DLL
// is loaded from the system folder once the program has said where DLLs may come from: loaded
// with the program, it would bring the DLLs it needs from beside the program.
class Win32Dialogs final : public platform::Dialogs {
 public:
  explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  bool Confirm(const std::string& text) override;
  void Inform(const std::string& text) override;
  void Warn(const std::string& text) override;
  void Error(const std::string& text) override;
  // Throws OsError when the system's dialog DLL cannot be had.
  std::optional<std::string> SaveFileName(const std::string& suggested) override;

 private:
  using GetSaveFileName = BOOL WINAPI(LPOPENFILENAMEA);
  HWND owner_;
  platform::win32::SystemLibrary comdlg32_{L"comdlg32.dll"};
  GetSaveFileName* getSaveFileName_ = comdlg32_.Find<GetSaveFileName>("GetSaveFileNameA");
};

}  // namespace vorlix::app
