#include "common/remembered_connections.h"

#include "common/short_string.h"
#include "common/text.h"

namespace vorlix {

void RememberedConnections::Forget() {
  const std::lock_guard lock(mutex_);
  known_.clear();
}

std::optional<std::string> RememberedConnections::Connection(const std::string& localName) {
  const std::string key = AsciiUpper(localName);
  {
    const std::lock_guard lock(mutex_);
    const auto known = known_.find(key);
    if (known != known_.end()) return known->second;
  }
  std::optional<std::string> connection = system_.Connection(localName);
  if (connection) connection = Short(*connection);
  const std::lock_guard lock(mutex_);
  return known_.emplace(key, std::move(connection)).first->second;
}

}  // namespace vorlix
