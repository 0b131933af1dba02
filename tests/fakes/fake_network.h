#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/network_names.h"

namespace vorlix::fakes {

// Network connections by local device name ("X:").
class FakeNetworkNames final : public platform::NetworkNames {
 public:
  std::map<std::string, std::string> connections;
  int calls = 0;
  std::vector<std::string> asked;  // local names in the order they were asked for

  std::optional<std::string> Connection(const std::string& localName) override {
    ++calls;
    asked.push_back(localName);
    const auto found = connections.find(localName);
    if (found == connections.end()) return std::nullopt;
    return found->second;
  }
};

}  // namespace vorlix::fakes
