#pragma once

#include <windows.h>

#include "platform/network_names.h"
#include "platform/win32/system_library.h"

namespace vorlix::platform::win32 {

// The networking DLL is no KnownDLL: it is loaded from the system folder by name, so that a
// copy planted beside the program never runs.
class Win32NetworkNames final : public NetworkNames {
 public:
  Win32NetworkNames();
  // Throws OsError when the system's networking DLL cannot be had.
  std::optional<std::string> Connection(const std::string& localName) override;

 private:
  using GetConnection = DWORD WINAPI(LPCSTR, LPSTR, LPDWORD);
  SystemLibrary mpr_;
  GetConnection* getConnection_;
};

}  // namespace vorlix::platform::win32
