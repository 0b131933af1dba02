#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/checks.h"
#include "report/report_json.h"

// The likely causes of a report's failures, from the checks its lines belong to. One rule table
// for every front end: the window, the console and the summary.
namespace vorlix::findings {

using report::Check;
using report::CheckState;
using report::PlaceFacts;

// A report line with what is known of it: from its writer, or for a text from elsewhere from
// the classifier.
struct CheckedLine {
  std::string text;  // UTF-8
  CheckState verdict = CheckState::Absent;
  std::optional<Check> check;
  PlaceFacts facts;
};

// One pattern of check states and values, the cause it points to, and the repair.
struct Rule {
  std::string_view id;  // stable, for anchors, the JSON form and tests
  std::string_view title;
  std::string_view cause;
  std::string_view repair;
  // The indexes of the lines that show the pattern; empty when the report does not.
  std::vector<std::size_t> (*match)(std::span<const CheckedLine>);
};

// Every rule, in the order findings are listed.
std::span<const Rule> Rules();

struct Finding {
  const Rule* rule;
  std::vector<std::size_t> lines;  // indexes into the report's lines
};

// The rules that match a report, in the order of Rules().
std::vector<Finding> FindingsOf(std::span<const CheckedLine> lines);

// The lines of a report as its writer recorded them. The text is kept only for lines of a
// check or with a verdict: the rules read no other, and a listing may hold 100,000 lines.
std::vector<CheckedLine> CheckedLines(std::string_view text,
                                      std::span<const report::LineRecord> records);

// The findings as the report's JSON form holds them.
std::vector<report::json::Finding> JsonFindings(std::span<const Finding> findings);

// A text in lines of at most 100 characters, the first after the label, the others indented
// as far; each line ends with `newline`.
void AppendWrapped(std::string& out, std::string_view label, std::string_view text,
                   std::string_view newline);

// "Findings:" and each finding's title, cause, repair and line numbers (from 1), as the
// summary writes them; "  none" when there are none.
std::string FindingsBlock(std::span<const Finding> findings, std::string_view newline);

// The one-line verdict of a report for the person at the workstation.
std::string VerdictLine(std::span<const Finding> findings, std::span<const CheckedLine> lines);

}  // namespace vorlix::findings
