#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "report/report_file.h"

namespace vorlix::report {

// Every entry of the folder, in the system's order, with its local MS-DOS time, size,
// attributes and name. A folder that cannot be read lists nothing.
void ListFolder(ReportFile& file, platform::FileSystem& files, std::string_view folder);

// The last-write time in local time as date << 16 | time, read as a signed number.
std::int32_t LocalDosDateTime(platform::FileSystem& files, platform::FileTime lastWrite);

}  // namespace vorlix::report
