#pragma once

#include "platform/registry.h"

namespace vorlix::platform::win32 {

// The registry through the ANSI functions. Keys are opened with KEY_READ or KEY_ALL_ACCESS; values
// come back raw with their type. A LocalMachine key is the 64-bit view's when it exists there,
// else the 32-bit view's; one missing from both is created only when asked for.
class Win32Registry final : public Registry {
 public:
  KeyOpening OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                     bool create) override;
};

}  // namespace vorlix::platform::win32
