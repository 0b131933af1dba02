#pragma once

#include "platform/network_names.h"

namespace vorlix::platform::win32 {

class Win32NetworkNames final : public NetworkNames {
 public:
  std::optional<std::string> Connection(const std::string& localName) override;
};

}  // namespace vorlix::platform::win32
