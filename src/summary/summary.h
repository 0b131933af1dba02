#pragma once

#include <cstddef>
#include <functional>
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

// A report with the findings its lines show. Its lines are kept only where the page shows its
// text (a failing latest report); the findings keep their line numbers.
struct SummaryEntry {
  Report report;
  std::vector<Finding> findings;
};

// Where a workstation, user and program stand, by their latest report.
enum class RowState { Failing, Mended, Silent, Passing };

struct Row {
  SummaryEntry latest;
  RowState state = RowState::Passing;
  // Failing: the first report of the current run of failures. Mended and silent: the latest.
  ReportTime since;
  int failedChecks = 0;
};

// One day of the share: the workstations whose latest report that day failed, of all that
// reported that day.
struct DayCount {
  std::string day;  // "yyyymmdd"
  int failing = 0;
  int reported = 0;
};

// The days the trend shows, up to the newest: a year of history is more than a chart can show,
// and more than the summary needs to read.
inline constexpr int kTrendDays = 90;

struct Summary {
  std::vector<Row> rows;  // in the order they are shown
  std::vector<SkippedFile> skipped;
  std::vector<DayCount> trend;  // oldest day first, at most kTrendDays
  bool trendCut = false;        // the share holds days before the trend's first
  std::size_t files = 0;        // the files found
  std::size_t reports = 0;      // the reports among them, twins once
  std::size_t read = 0;         // the files read to make the rows and the trend
  bool allReports = false;      // a row per report instead of one per workstation
  int silentDays = 7;

  bool AnyFailed() const;
  bool AnyUnreadable() const;
};

struct SummaryOptions {
  bool recurse = false;
  bool allReports = false;
  int silentDays = 7;
  // Files left out (compared without case), such as the page being written.
  std::vector<std::string> excluded;
  // Told after each file read, with the count read and the count of files found.
  std::function<void(std::size_t, std::size_t)> progress;
};

// How often one check failed, among the rows that have it.
struct CheckCount {
  Check check;
  int failed = 0;
  int present = 0;
};
// The checks that failed at least once, the most frequent first.
std::vector<CheckCount> MostFailedChecks(const Summary& summary);

// The findings of the rows' reports, each rule once: the rule that affects the most
// workstations (or reports, with a row per report) first, then in the order of Rules().
struct FindingItem {
  std::size_t row;
  const Finding* finding;
};
struct FindingGroup {
  const Rule* rule;
  std::vector<FindingItem> items;
  std::size_t affected = 0;  // computers told apart without case, or reports
};
std::vector<FindingGroup> GroupFindings(const Summary& summary);
// "1 workstation", "12 workstations", or "12 reports" with a row per report.
std::string AffectedShown(const Summary& summary, std::size_t count);
// The rows with a failed check: the count the page and the text open with.
std::size_t FailingRows(const Summary& summary);

// "passed", "FAILED", "absent": a check's state in words.
std::string_view CheckStateWord(CheckState state);

// The name a report is shown by: its computer, or its file name when that is unknown.
std::string ComputerShown(const Report& report);
std::string UserShown(const Report& report);
// "failing since 2026-12-09 13:26:48", "mended ...", "silent since ...", "passing".
std::string StateShown(const Summary& summary, const Row& row);

// True when the path's last part holds a wildcard ("*" or "?").
bool IsPattern(std::string_view path);

// Reads the files and folders given (or the files a wildcard pattern matches; a folder's
// subfolders only when recursing, never through a junction or link) through the file system,
// each folder listed once. By default a row per computer, user and program from its latest
// report, reading only the reports that the rows and the trend need; a file that is no report is
// kept as skipped, with the reason, and so is a path, folder or pattern that cannot be listed or
// read.
Summary Summarise(platform::FileSystem& files, const std::vector<std::string>& paths,
                  const SummaryOptions& options);

// The table of rows, the skipped files, the findings grouped by cause and the checks that fail
// most often.
void WriteSummaryText(const Summary& summary, std::ostream& out);

}  // namespace vorlix::summary
