#include "app/win32_dialogs.h"

#include <vector>

#include "common/family.h"
#include "platform/errors.h"

namespace vorlix::app {

bool Win32Dialogs::Confirm(const std::string& text) {
  return ::MessageBoxA(owner_, text.c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Win32Dialogs::Inform(const std::string& text) {
  ::MessageBoxA(owner_, text.c_str(), "Information", MB_OK | MB_ICONINFORMATION);
}

void Win32Dialogs::Warn(const std::string& text) {
  ::MessageBoxA(owner_, text.c_str(), "Warning", MB_OK | MB_ICONWARNING);
}

void Win32Dialogs::Error(const std::string& text) {
  ::MessageBoxA(owner_, text.c_str(), family::kTitle, MB_OK | MB_ICONERROR);
}

std::optional<std::string> Win32Dialogs::SaveFileName(const std::string& suggested) {
  std::vector<char> name(32768, '\0');
  suggested.copy(name.data(), name.size() - 1);
  // The filter "Text files (*.txt)|*.TXT" in the form the dialog takes.
  static const char kFilter[] = "Text files (*.txt)\0*.TXT\0";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrDefExt = "txt";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING |
              OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!getSaveFileName_) {
    throw OsError("comdlg32.dll: GetSaveFileNameA cannot be loaded", comdlg32_.error());
  }
  if (!getSaveFileName_(&ofn)) return std::nullopt;
  return std::string(name.data());
}

}  // namespace vorlix::app
