#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/files.h"
#include "platform/file_system.h"
#include "report/report_file.h"

namespace vorlix::report {

// A report as written: the text the file took, byte for byte, and the record of each line.
struct WrittenReport {
  std::string text;
  std::vector<LineRecord> lines;
};

// Writes a report through a new temporary file. The file is closed and deleted in every case,
// also when the body throws.
WrittenReport WriteReportThroughTempFile(platform::FileSystem& files,
                                         const std::function<void(ReportFile&)>& body);
// The same, for callers that need the text only.
std::string WriteThroughTempFile(platform::FileSystem& files,
                                 const std::function<void(ReportFile&)>& body);

}  // namespace vorlix::report
