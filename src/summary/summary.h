#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "summary/findings.h"
#include "summary/report_reader.h"

namespace vorlix::summary {

struct SkippedFile {
  std::string path;
  std::string reason;
  bool unreadable = false;  // could not be listed or read, rather than no report
};

// A report with the findings its lines show.
struct SummaryEntry {
  Report report;
  std::vector<Finding> findings;
};

struct Summary {
  std::vector<SummaryEntry> entries;
  std::vector<SkippedFile> skipped;

  bool AnyFailed() const;
  bool AnyUnreadable() const;
};

// How often one check failed, among the reports that have it.
struct CheckCount {
  Check check;
  int failed = 0;
  int present = 0;
};
// The checks that failed at least once, the most frequent first.
std::vector<CheckCount> MostFailedChecks(const Summary& summary);

// The name a report is shown by: its computer, or its file name when that is unknown.
std::string ComputerShown(const Report& report);
std::string UserShown(const Report& report);

// True when the path's last part holds a wildcard ("*" or "?").
bool IsPattern(std::string_view path);

// Reads the files and folders given (or the files a wildcard pattern matches) (a folder's files in
// name order, its subfolders only when recursing, never through a junction or link) through the
// file system; a file that is no report is kept as skipped, with the reason, and so is a path,
// folder or pattern that cannot be listed or read. Files named in `excluded` (compared without
// case) are left out.
Summary Summarise(platform::FileSystem& files, const std::vector<std::string>& paths, bool recurse,
                  const std::vector<std::string>& excluded);

// The table of reports, the findings grouped by cause and the checks that fail most often.
void WriteSummaryText(const Summary& summary, std::ostream& out);

}  // namespace vorlix::summary
