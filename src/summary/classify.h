#pragma once

#include <string>
#include <vector>

#include "summary/report_reader.h"

// Which check each line of a report belongs to, from the texts the driver writes.
namespace vorlix::summary {

// The heading every report opens with: an empty line, the banner, the rule, "Program : ".
// Returns the reason when the lines are no diagnostic report, empty when they are one.
std::string HeadingProblem(const std::vector<std::string>& lines);

// The program and the banner's time as written, from the heading.
void TakeHeading(Report& report);

// Finds every line's check from the text, for reports whose writer did not name them, and
// then the state of every check.
void ClassifyLines(Report& report);

// The state of every check and the count of failed lines, from the lines' checks and verdicts;
// the level from the Full-only checks when the report does not name it.
void FoldStates(Report& report);

}  // namespace vorlix::summary
