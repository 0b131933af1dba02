#pragma once

#include <optional>
#include <string>

namespace vorlix::platform {

// Modal message boxes and the file-save dialog.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual bool Confirm(const std::string& text) = 0;  // Yes/No; true for Yes
  virtual void Inform(const std::string& text) = 0;   // information, OK
  virtual void Warn(const std::string& text) = 0;     // warning, OK
  virtual void Error(const std::string& text) = 0;    // error, OK
  // The file-save dialog with the suggested name; nullopt when cancelled.
  virtual std::optional<std::string> SaveFileName(const std::string& suggested) = 0;
};

}  // namespace vorlix::platform
