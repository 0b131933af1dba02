#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "summary/summary.h"

namespace vorlix::summary {

struct FoundFile {
  std::string path;
  std::uint64_t size = 0;
};

// "cannot be read (system error 5)".
std::string SystemError(std::string_view what, std::uint32_t code);

// The rows, the trend and the skipped files of the files found. Each file is read at most
// once; by default only those that a row or a day of the trend needs.
void BuildRows(platform::FileSystem& files, const std::vector<FoundFile>& found,
               const SummaryOptions& options, Summary& summary);

}  // namespace vorlix::summary
