#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "report/checks.h"

namespace vorlix::report {

// 1 "Normal", 2 "Full"; set at the start of every report, read by WriteCheckLine.
extern int ReportLevel;

inline constexpr std::string_view kBannerPrefix =
    "Vorlix  -  Tarnwick network diagnostic tool  -  ";
inline constexpr std::string_view kRuleLine =
    "-------------------------------------------------------------------";
inline constexpr std::string_view kPassedPrefix = "   Passed: ";
inline constexpr std::string_view kFailedPrefix = "   FAILED: ";

// The open report: lines only, each ended by CR LF. Write failures raise InOutError. Every line
// is recorded with the check the writer is at and its verdict, so that no reader has to work
// them out again from the text.
class ReportFile {
 public:
  explicit ReportFile(std::unique_ptr<platform::TextWriter> writer);
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // The lines written from now on belong to this check (none: to no check).
  void SetCheck(std::optional<Check> check) { check_ = check; }
  std::optional<Check> CurrentCheck() const { return check_; }

  // A line of the current check.
  void WriteLine(std::string_view text, CheckState verdict = CheckState::Absent);
  // A heading: a line of no check, whichever check is under way.
  void WriteTitle(std::string_view text);
  // A section's heading, and the check its lines belong to (none: a listing or a plain part).
  void BeginSection(std::string_view heading, std::optional<Check> check);
  // Each section's heading goes to `listener` as it begins, for a front end that shows where a
  // slow call waits.
  void TellHeadings(std::function<void(std::string_view heading)> listener) {
    headings_ = std::move(listener);
  }
  // What the report learnt about the place the last line checked.
  void NoteFacts(const PlaceFacts& facts);
  void Close();

  // One record per line written, in order.
  const std::vector<LineRecord>& Records() const { return records_; }
  std::vector<LineRecord> TakeRecords() { return std::move(records_); }

 private:
  void Write(std::string_view text, LineRecord record);

  std::unique_ptr<platform::TextWriter> writer_;
  std::string line_;
  std::optional<Check> check_;
  std::vector<LineRecord> records_;
  std::function<void(std::string_view)> headings_;
};

// Writes "   Passed: " or "   FAILED: " and the message, or nothing when level > ReportLevel.
void WriteCheckLine(ReportFile& file, int level, std::string_view message, bool passed);

// "C:" of a drive path; "\\SERVER" of a network path; otherwise empty.
std::string PathDrive(std::string_view path);

// The local date and time as the banner shows it: short date, and long time unless midnight.
std::string DateTimeText(platform::Clock& clock);
// "Vorlix  -  Tarnwick network diagnostic tool  -  " and the date and time.
std::string BannerLine(platform::Clock& clock);
// An empty line, the banner line and the rule line.
void WriteHeading(ReportFile& file, platform::Clock& clock);
// The heading, "Program : <program>" and an empty line: how every report of a program starts.
void WriteProgramHeading(ReportFile& file, platform::Clock& clock, std::string_view program);

std::string UnsignedText(std::uint32_t value);
std::string SignedText(std::int32_t value);
// Right-aligned in 8 characters; a longer number is not cut.
std::string SignedText8(std::int32_t value);

}  // namespace vorlix::report
