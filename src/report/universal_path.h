#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/network_names.h"

namespace vorlix::report {

// The path made absolute; on a drive the system knows as a network connection, the drive letter
// and colon are replaced by the share's network name.
std::string UniversalPath(platform::FileSystem& files, platform::NetworkNames& network,
                          std::string_view path);

}  // namespace vorlix::report
