#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/network_names.h"

namespace vorlix {

// The drive map does not change while one command runs, and each question to the network
// provider is slow: every local name is asked once per command. The names come back held to
// the length the system holds.
class RememberedConnections final : public platform::NetworkNames {
 public:
  explicit RememberedConnections(platform::NetworkNames& system) : system_(system) {}

  // A new command asks again.
  void Forget();
  std::optional<std::string> Connection(const std::string& localName) override;

 private:
  platform::NetworkNames& system_;
  std::mutex mutex_;
  std::map<std::string, std::optional<std::string>> known_;  // by upper-case local name
};

}  // namespace vorlix
