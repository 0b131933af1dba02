#pragma once

#include <optional>
#include <string>

namespace vorlix::platform {

class NetworkNames {
 public:
  virtual ~NetworkNames() = default;
  // The network name a local device such as "X:" is connected to; nullopt for any failure.
  virtual std::optional<std::string> Connection(const std::string& localName) = 0;
};

}  // namespace vorlix::platform
