#pragma once

#include "common/short_string.h"
#include "drivemap/network_drive_list.h"
#include "fuzz_support.h"

namespace vorlix::fuzz {

// What every drive table holds, however it was filled: parallel lists, two-character drive
// names ("X:", never empty, which would match an empty path) and network names that fit.
inline void CheckDriveTable(const drivemap::TNetworkDriveList& list) {
  const auto& local = list.LocalNames();
  const auto& remote = list.RemoteNames();
  FUZZ_CHECK(local.size() == remote.size());
  for (std::size_t i = 0; i < local.size(); ++i) {
    FUZZ_CHECK(!local[i].empty());
    FUZZ_CHECK(local[i].size() == 2 && local[i][1] == ':');
    FUZZ_CHECK(FitsShort(local[i]));
    FUZZ_CHECK(FitsShort(remote[i]));
  }
}

}  // namespace vorlix::fuzz
