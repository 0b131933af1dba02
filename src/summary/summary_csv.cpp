#include "summary/summary_csv.h"

#include <string_view>
#include <vector>

namespace vorlix::summary {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRowEnd = "\r\n";

// A spreadsheet runs a cell that opens with one of these as a formula (a tab or carriage
// return may stand before one); a quote mark in front keeps it text.
bool ReadsAsFormula(std::string_view field) {
  return !field.empty() &&
         std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos;
}

void AddField(std::string& csv, std::string_view field) {
  std::string text;
  if (ReadsAsFormula(field)) text += '\'';
  text += field;
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    csv += text;
    return;
  }
  csv += '"';
  for (const char c : text) {
    if (c == '"') csv += '"';
    csv += c;
  }
  csv += '"';
}

void AddRow(std::string& csv, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) csv += ',';
    AddField(csv, fields[i]);
  }
  csv += kRowEnd;
}

}  // namespace

std::string SummaryCsv(const Summary& summary) {
  std::string csv(kByteOrderMark);
  std::vector<std::string> fields = {"Computer", "User", "Program", "State",
                                     "Level",    "Time", "FAILED"};
  for (const CheckInfo& info : kChecks) fields.emplace_back(info.name);
  fields.emplace_back("Likely causes");
  fields.emplace_back("File");
  AddRow(csv, fields);
  for (const Row& row : summary.rows) {
    const Report& r = row.latest.report;
    fields = {ComputerShown(r),
              r.user,
              r.program,
              StateShown(summary, row),
              r.level,
              r.time.shown,
              std::to_string(r.failedLines)};
    for (const CheckInfo& info : kChecks) fields.emplace_back(CheckStateWord(r.State(info.check)));
    std::string causes;
    for (const Finding& finding : row.latest.findings) {
      if (!causes.empty()) causes += "; ";
      causes += finding.rule->title;
    }
    fields.push_back(std::move(causes));
    fields.push_back(r.fileName);
    AddRow(csv, fields);
  }
  return csv;
}

}  // namespace vorlix::summary
