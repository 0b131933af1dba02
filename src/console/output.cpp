#include "console/output.h"

#include "console/texts.h"
#include "drivemap/drive_map_texts.h"
#include "platform/text_lines.h"
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

report::json::LineCheck VerdictOf(report::CheckState verdict) {
  switch (verdict) {
    case report::CheckState::Passed:
      return report::json::LineCheck::Passed;
    case report::CheckState::Failed:
      return report::json::LineCheck::Failed;
    case report::CheckState::Absent:
      break;
  }
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
  platform::TextLines lines{std::string(text)};
  int count = 0;
  while (const auto line = lines.ReadLine()) {
    if (IsFailureLine(*line)) ++count;
  }
  return count;
}

report::json::Document JsonDocument(const report::WrittenReport& written,
                                    std::span<const findings::Finding> found,
                                    const ReportFacts& facts, Session& session) {
  report::json::Document document;
  document.tool = kToolName;
  document.release = kRelease;
  document.computer = session.AnsiToUtf8(facts.computer);
  document.user = session.AnsiToUtf8(facts.user);
  document.program = session.AnsiToUtf8(facts.program);
  document.level = facts.level == 2 ? "Full" : "Normal";
  document.time = report::IsoLocalTime(facts.time, facts.utcOffsetMinutes);
  document.codePage = facts.codePage;
  platform::TextLines lines{written.text};
  for (const report::LineRecord& record : written.lines) {
    const std::string line = lines.ReadLine().value_or(std::string());
    document.lines.push_back(
        {session.AnsiToUtf8(line), VerdictOf(record.verdict), record.check, record.facts});
    if (record.verdict == report::CheckState::Failed) ++document.failed;
  }
  document.findings = findings::JsonFindings(found);
  return document;
}

}  // namespace vorlix::console
