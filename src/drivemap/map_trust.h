#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vorlix::drivemap {

// An account beyond those an elevated run may trust that could have written a drive map.
struct Untrusted {
  platform::Account account;
  bool owner = false;  // it owns the map, rather than being let change it by the access list
};

// The map is trusted when its owner is the account the program runs as, the Administrators,
// SYSTEM or `mapOwner` (a security identifier), and its access list lets nobody else write it,
// change its access list or take ownership. Otherwise the first account that breaks the rule:
// its owner first.
std::optional<Untrusted> WhoElseMayChange(const platform::FileAccessList& access,
                                          const std::optional<std::string>& mapOwner);

// Why the map is not used: names the file, the account and how to make the map again.
std::string RefusalText(const std::string& fileName, const Untrusted& untrusted, bool dryRun);

}  // namespace vorlix::drivemap
