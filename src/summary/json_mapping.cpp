#include "summary/json_mapping.h"

#include <string>
#include <vector>

#include "report/report_json.h"
#include "summary/classify.h"

namespace vorlix::summary {

ReadResult FromJson(std::string_view path, std::string_view content) {
  report::json::Document document;
  try {
    document = report::json::Read(content);
  } catch (const report::json::FormatError& error) {
    return {std::nullopt, std::string("not a report's JSON: ") + error.what()};
  }
  std::vector<std::string> texts;
  texts.reserve(document.lines.size());
  for (report::json::Line& line : document.lines) texts.push_back(std::move(line.text));
  ReadResult result = ReportFromLines(path, std::move(texts), !document.checkIds);
  if (!result.report) return result;
  Report& report = *result.report;
  if (document.checkIds) {
    // The writer named each line's check: taken as it is, not classified again.
    for (std::size_t i = 0; i < report.lines.size(); ++i) {
      ReportLine& line = report.lines[i];
      const report::json::Line& written = document.lines[i];
      line.check = written.checkId;
      line.verdict = written.check == report::json::LineCheck::Passed   ? CheckState::Passed
                     : written.check == report::json::LineCheck::Failed ? CheckState::Failed
                                                                        : CheckState::Absent;
      line.facts = written.facts;
    }
  }
  report.computer = std::move(document.computer);
  report.user = std::move(document.user);
  if (!document.program.empty()) report.program = std::move(document.program);
  if (const auto time = TimeFromIso(document.time)) report.time = *time;
  if (!document.level.empty()) report.level = std::move(document.level);
  if (document.checkIds) FoldStates(report);
  TakeFromFileName(report);
  return result;
}

}  // namespace vorlix::summary
