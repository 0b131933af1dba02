#include "console/output.h"

#include "common/text_lines.h"
#include "console/texts.h"
#include "drivemap/drive_map_texts.h"
#include "report/collected_name.h"
#include "report/report_file.h"

namespace vorlix::console {

namespace {

int Weight(int status) {
  switch (status) {
    case kDone:
      return 0;
    case kDoneWithFailures:
      return 1;
    default:
      return 2;
  }
}

report::json::LineCheck CheckOf(std::string_view line) {
  if (line.starts_with(report::kPassedPrefix)) return report::json::LineCheck::Passed;
  if (line.starts_with(report::kFailedPrefix)) return report::json::LineCheck::Failed;
  return report::json::LineCheck::None;
}

}  // namespace

int Worse(int a, int b) { return Weight(b) > Weight(a) ? b : a; }

bool IsFailureLine(std::string_view line) {
  constexpr std::string_view kFailurePrefixes[] = {
      report::kFailedPrefix, "FAILED: ", drivemap::texts::kErrorWriting,
      drivemap::texts::kTooLongNotWritten, drivemap::texts::kNotTextLeftAlone};
  for (const std::string_view prefix : kFailurePrefixes) {
    if (line.starts_with(prefix)) return true;
  }
  return false;
}

int CountFailureLines(std::string_view text) {
  TextLines lines{std::string(text)};
  int count = 0;
  while (const auto line = lines.ReadLine()) {
    if (IsFailureLine(*line)) ++count;
  }
  return count;
}

report::json::Document JsonDocument(std::string_view reportText, const ReportFacts& facts,
                                    Session& session) {
  report::json::Document document;
  document.tool = kToolName;
  document.release = kRelease;
  document.computer = session.AnsiToUtf8(facts.computer);
  document.user = session.AnsiToUtf8(facts.user);
  document.program = session.AnsiToUtf8(facts.program);
  document.level = facts.level == 2 ? "Full" : "Normal";
  document.time = report::IsoLocalTime(facts.time, facts.utcOffsetMinutes);
  document.codePage = facts.codePage;
  document.failed = CountFailureLines(reportText);
  TextLines lines{std::string(reportText)};
  while (const auto line = lines.ReadLine()) {
    document.lines.push_back({session.AnsiToUtf8(*line), CheckOf(*line)});
  }
  return document;
}

}  // namespace vorlix::console
