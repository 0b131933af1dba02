#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "findings/findings.h"
#include "report/checks.h"
#include "summary/report_time.h"

namespace vorlix::summary {

// The checks, their states and the lines as the rules read them.
using report::Check;
using report::CheckInfo;
using report::CheckState;
using report::kCheckCount;
using report::kChecks;
using ReportLine = findings::CheckedLine;

// One diagnostic report as read from a file.
struct Report {
  std::string path;      // as found
  std::string fileName;  // without its folder
  std::string computer;  // empty when neither the report nor its file name gives it
  std::string user;
  std::string program;
  std::string level;  // "Normal" or "Full"
  ReportTime time;
  std::vector<ReportLine> lines;
  std::array<CheckState, kCheckCount> states{};
  int failedLines = 0;

  CheckState State(Check check) const { return states[static_cast<std::size_t>(check)]; }
  bool AnyFailed() const { return failedLines > 0; }
};

// A file read as a report, or the reason it is none.
struct ReadResult {
  std::optional<Report> report;
  std::string skipReason;
};

// Larger files are taken for no report (one that lists 100,000 folder entries is about 7 MB);
// they are skipped unread.
inline constexpr std::size_t kMaxReportBytes = 32 * 1024 * 1024;
inline constexpr std::string_view kTooLarge = "too large for a report";

// Reads a text report (see TextReportToUtf8) or a JSON report (UTF-8). A report is recognised by
// its banner, rule and "Program : " lines. `twinCodePage` is the code page the JSON twin of a
// text report names.
ReadResult ReadReport(std::string_view path, std::string_view content,
                      std::optional<int> twinCodePage = std::nullopt);

// A report from its lines (UTF-8), or the reason they are none; the lines are classified unless
// the caller knows their checks.
ReadResult ReportFromLines(std::string_view path, std::vector<std::string> lines,
                           bool classify = true);

// What the name of a collected report adds: who ran it, and when, where the content does not
// tell.
void TakeFromFileName(Report& report);

}  // namespace vorlix::summary
