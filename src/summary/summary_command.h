#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorlix::summary {

inline constexpr int kExitClean = 0;
inline constexpr int kExitFailedChecks = 1;
inline constexpr int kExitBadUsage = 2;
inline constexpr int kExitNotRead = 3;  // a path that cannot be listed or read, or the page
inline constexpr int kExitPageNotWritten = 3;

inline constexpr const char* kSummaryUsage =
    "usage: vorlixc summary PATH... [--recurse] [--html FILE]";

// `vorlixc summary`, with the arguments that follow the command's name: reads the reports among
// the files and folders given, prints the table, the findings and the checks that fail most
// often, and with --html writes the page. Returns 0 when no report has a failed check, 1 when
// one has, 2 for bad usage, 3 when a path given or found cannot be listed or read (each is
// named) or the page cannot be written. Messages go to `err`.
int RunSummary(const std::vector<std::string>& args, platform::FileSystem& files, std::ostream& out,
               std::ostream& err);

}  // namespace vorlix::summary
