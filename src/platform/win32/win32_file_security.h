#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vorlix::platform::win32 {

// The owner and access list of an open file, as read by the account the program runs as.
// Throws InOutError.
FileAccessList AccessOfOpenFile(HANDLE file, const std::string& path);

// Gives the file a protected access list: full control for the account the program runs as, the
// Administrators and SYSTEM, reading for Everyone. Throws InOutError.
void MakeFilePrivate(const std::string& path);

// The text form of the account's security identifier; nullopt when no account has that name.
std::optional<std::string> SidOfAccount(const std::string& name);

}  // namespace vorlix::platform::win32
