#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "report/checks.h"

// The report's JSON form, read by scripts, log pipelines and the summary. Every field is named
// here and nowhere else; docs/report.schema.json publishes the same form.
namespace vorlix::report::json {

inline constexpr std::string_view kTool = "tool";
inline constexpr std::string_view kRelease = "release";
inline constexpr std::string_view kComputer = "computer";
inline constexpr std::string_view kUser = "user";
inline constexpr std::string_view kProgram = "program";
inline constexpr std::string_view kLevel = "level";
inline constexpr std::string_view kTime = "time";
inline constexpr std::string_view kCodePage = "codepage";
inline constexpr std::string_view kFailed = "failed";
inline constexpr std::string_view kLines = "lines";
inline constexpr std::string_view kText = "text";
inline constexpr std::string_view kCheck = "check";
inline constexpr std::string_view kPassed = "passed";
inline constexpr std::string_view kFailedCheck = "failed";
inline constexpr std::string_view kCheckId = "checkid";
inline constexpr std::string_view kLetterHere = "letterhere";
inline constexpr std::string_view kServerAnswered = "serveranswered";
inline constexpr std::string_view kFindings = "findings";
inline constexpr std::string_view kRule = "rule";
inline constexpr std::string_view kTitle = "title";
inline constexpr std::string_view kCause = "cause";
inline constexpr std::string_view kRepair = "repair";
inline constexpr std::string_view kFindingLines = "lines";

// A report holds lists of objects, a finding a list of line numbers: nothing deeper.
inline constexpr int kMaxDepth = 4;

enum class LineCheck { None, Passed, Failed };

struct Line {
  std::string text;  // UTF-8
  LineCheck check = LineCheck::None;
  std::optional<Check> checkId;  // the check the line belongs to
  PlaceFacts facts;
};

// A likely cause, with the numbers (from 1) of the lines it rests on.
struct Finding {
  std::string rule;
  std::string title;
  std::string cause;
  std::string repair;
  std::vector<int> lines;
};

// One report as its JSON file holds it. Texts are UTF-8.
struct Document {
  std::string tool;
  std::string release;
  std::string computer;
  std::string user;
  std::string program;
  std::string level;            // "Normal" or "Full"
  std::string time;             // "2026-12-08T14:05:09+01:00"
  std::optional<int> codePage;  // the ANSI code page the texts came from; older files lack it
  int failed = 0;
  std::vector<Line> lines;
  // Whether every line names its check; older files name none, and their lines are classified
  // from the text.
  bool checkIds = true;
  std::vector<Finding> findings;
};

// A text that is no report's JSON; what() is the reason, fit for a list of skipped files.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The document as UTF-8 JSON, one field a line and one report line a line.
std::string Write(const Document& document);

// Reads a whole file's text (a UTF-8 byte order mark allowed). Throws FormatError for anything
// but a report's JSON: invalid JSON or UTF-8, a cut end, nesting deeper than kMaxDepth, a field
// of the wrong type or a number out of range.
Document Read(std::string_view text);

}  // namespace vorlix::report::json
