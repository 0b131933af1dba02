#pragma once

#include <span>
#include <string>
#include <string_view>

#include "console/session.h"
#include "findings/findings.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "report/report_json.h"
#include "report/temp_report.h"

namespace vorlix::console {

// Exit statuses, the same for every command.
enum ExitStatus : int {
  kDone = 0,
  kDoneWithFailures = 1,  // a FAILED or "*** ... ***" line
  kBadUsage = 2,
  kFileError = 3,  // a file it needs could not be read or written
  kNotElevated = 4,
};

// The status that tells more: a file error outweighs failed lines, which outweigh success.
int Worse(int a, int b);

// A line that reports a failure: a failed check, a conversion line that starts with "FAILED: ",
// or a value that was not written.
bool IsFailureLine(std::string_view line);
int CountFailureLines(std::string_view text);

// What a JSON report says about itself besides its lines. Texts are ANSI.
struct ReportFacts {
  std::string computer;
  std::string user;
  std::string program;
  int level = 1;  // 1 "Normal", 2 "Full"
  platform::LocalTime time;
  int utcOffsetMinutes = 0;
  int codePage = 1252;  // the ANSI code page of the texts
};

// The report's JSON form: the facts, the count of failed lines, every line in order with its
// verdict, its check and what the check learnt, and the findings. Joined with CR LF, the line
// texts give the report back (in UTF-8).
report::json::Document JsonDocument(const report::WrittenReport& written,
                                    std::span<const findings::Finding> found,
                                    const ReportFacts& facts, Session& session);

}  // namespace vorlix::console
