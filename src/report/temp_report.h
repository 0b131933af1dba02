#pragma once

#include <functional>
#include <string>

#include "common/files.h"
#include "platform/file_system.h"
#include "report/report_file.h"

namespace vorlix::report {

// Writes a report through a new temporary file and returns the text the file holds. The file is
// closed and deleted in every case, also when the body throws.
std::string WriteThroughTempFile(platform::FileSystem& files,
                                 const std::function<void(ReportFile&)>& body);

}  // namespace vorlix::report
