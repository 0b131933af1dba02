#include "summary/report_reader.h"

#include "common/text.h"
#include "platform/text_lines.h"
#include "summary/classify.h"
#include "summary/encoding.h"
#include "summary/json_mapping.h"
#include "summary/report_names.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  platform::TextLines reader{std::string(text)};
  while (auto line = reader.ReadLine()) lines.push_back(std::move(*line));
  return lines;
}

}  // namespace

// What the name of a collected report adds: who ran it, and when, where the content does not
// tell.
void TakeFromFileName(Report& report) {
  const auto parts = ParseReportName(report.fileName);
  if (!parts || !SameTextIgnoringCase(parts->program, report.program)) return;
  if (report.computer.empty()) {
    // File names come in the system's ANSI code page.
    report.computer = Cp1252ToUtf8(parts->computer);
    report.user = Cp1252ToUtf8(parts->user);
  }
  if (!report.time.Known()) {
    if (const auto time = TimeFromStamp(parts->stamp)) report.time = *time;
  }
}

ReadResult ReportFromLines(std::string_view path, std::vector<std::string> texts, bool classify) {
  ReadResult result;
  if (std::string problem = HeadingProblem(texts); !problem.empty()) {
    result.skipReason = "not a diagnostic report: " + problem;
    return result;
  }
  Report report;
  report.path = path;
  report.fileName = FileNameOf(path);
  for (std::string& text : texts) report.lines.push_back({std::move(text), {}, {}, {}});
  TakeHeading(report);
  if (classify) ClassifyLines(report);
  result.report = std::move(report);
  return result;
}

ReadResult ReadReport(std::string_view path, std::string_view content,
                      std::optional<int> twinCodePage) {
  if (content.size() > kMaxReportBytes) return {std::nullopt, std::string(kTooLarge)};
  std::string_view body = content;
  if (StartsWith(body, kUtf8Mark)) body.remove_prefix(kUtf8Mark.size());
  const auto first = body.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && body[first] == '{') return FromJson(path, content);
  const std::optional<std::string> utf8 = TextReportToUtf8(content, twinCodePage);
  if (!utf8) {
    return {std::nullopt, "written in code page " + std::to_string(*twinCodePage) +
                              ", which only its JSON twin gives in full"};
  }
  ReadResult result = ReportFromLines(path, SplitLines(*utf8));
  if (result.report) TakeFromFileName(*result.report);
  return result;
}

}  // namespace vorlix::summary
