#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "report/report_file.h"

namespace vorlix::report {

// The verdict when a file the report reads cannot be opened or read.
inline constexpr std::string_view kReadingFileFailed = "Reading file failed";

// Proves that a file can be created, read back and deleted at the path, reporting every step.
// Only input/output errors of the tested file are turned into lines; anything else leaves.
void TestFileAccess(ReportFile& file, platform::FileSystem& files, const std::string& path);

}  // namespace vorlix::report
