#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "summary/report_time.h"

namespace vorlix::summary {

// The checks of a diagnostic report, in the order the report makes them.
enum class Check {
  MakerFolder,
  MakerFolderSearch,
  ProgramFolder,
  ProgramFiles,
  IniValues,
  LicenceSetting,
  LicenceFolder,
  LicenceFolderUnc,
  VirtualisedIni,
  LicenceDrive,
  LicenceDriveUnc,
  LicenceWriteTest,
  ProjectSetting,
  ProjectFolder,
  ProjectWriteTest,
  FileFormatSettings,
};
inline constexpr std::size_t kCheckCount = 16;

struct CheckInfo {
  Check check;
  std::string_view name;
  bool fullOnly;
};
// Every check with its name, in report order.
extern const std::array<CheckInfo, kCheckCount> kChecks;

// A check is absent when the report has no line of it (a Normal report has no Full-only checks).
enum class CheckState { Absent, Passed, Failed };

struct ReportLine {
  std::string text;                         // UTF-8
  CheckState verdict = CheckState::Absent;  // Absent: a plain line
  std::optional<Check> check;               // the check this line belongs to
};

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

// A report from its lines (UTF-8), or the reason they are none.
ReadResult ReportFromLines(std::string_view path, std::vector<std::string> lines);

// What the name of a collected report adds: who ran it, and when, where the content does not
// tell.
void TakeFromFileName(Report& report);

}  // namespace vorlix::summary
