#include "summary/json_mapping.h"

#include <string>
#include <vector>

#include "report/report_json.h"

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
  ReadResult result = ReportFromLines(path, std::move(texts));
  if (!result.report) return result;
  Report& report = *result.report;
  report.computer = std::move(document.computer);
  report.user = std::move(document.user);
  if (!document.program.empty()) report.program = std::move(document.program);
  if (const auto time = TimeFromIso(document.time)) report.time = *time;
  if (!document.level.empty()) report.level = std::move(document.level);
  TakeFromFileName(report);
  return result;
}

}  // namespace vorlix::summary
