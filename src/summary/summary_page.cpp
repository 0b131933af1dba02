#include "summary/summary_page.h"

#include <string_view>

namespace vorlix::summary {

namespace {

constexpr std::string_view kStyle = R"(
body{font:14px/1.4 "Liberation Sans",Arial,sans-serif;margin:1.5em;color:#222}
h1{font-size:1.5em;margin:0 0 .3em}h2{font-size:1.2em;margin:1.5em 0 .5em}
table.grid{border-collapse:collapse}
.grid th,.grid td{border:1px solid #bbb;padding:2px 6px;white-space:nowrap}
.grid thead th{background:#eee;vertical-align:bottom}
.grid th.check{writing-mode:vertical-rl;transform:rotate(180deg);font-weight:normal;text-align:left}
.grid td.cell{text-align:center;font-weight:bold;width:1.4em}
td.passed{background:#d7f0d2;color:#1b5e20}
td.failed{background:#f8c9c4;color:#8c1207}
td.absent{background:#f1f1f1;color:#999}
td.count{text-align:right}
.legend span{display:inline-block;border:1px solid #bbb;padding:0 6px;margin-right:.6em}
section.finding{border-left:4px solid #c0392b;padding:.2em .8em;margin:.8em 0;background:#fbf3f2}
section.finding h3{font-size:1em;margin:.2em 0}
section.finding p{margin:.2em 0}
details{margin:.3em 0}summary{cursor:pointer}
pre{font:12px/1.35 "Liberation Mono","Courier New",monospace;background:#fafafa;border:1px solid #ddd;padding:.5em;overflow-x:auto}
pre span{display:inline-block;min-width:100%}pre .no{color:#999}
pre .fail{background:#f8c9c4;font-weight:bold}
)";

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Colour and symbol both tell the state, for readers who do not see the colour.
struct StateLook {
  std::string_view css;
  std::string_view symbol;
  std::string_view word;
};

StateLook LookOf(CheckState state) {
  switch (state) {
    case CheckState::Passed:
      return {"passed", "\u2713", "passed"};
    case CheckState::Failed:
      return {"failed", "\u2717", "FAILED"};
    case CheckState::Absent:
      break;
  }
  return {"absent", "\u2013", "absent"};
}

std::string ReportId(std::size_t index) {
  std::string id = std::to_string(index + 1);
  id.insert(id.begin(), 'r');
  return id;
}

std::string LineId(std::size_t report, std::size_t line) {
  return ReportId(report) + "-" + std::to_string(line + 1);
}

std::string Who(const Report& report) {
  return ComputerShown(report) + " / " + UserShown(report) + " / " + report.program;
}

void WriteGrid(const Summary& summary, std::string& page) {
  page += "<h2>Checks</h2>\n<p class=\"legend\">";
  for (CheckState state : {CheckState::Passed, CheckState::Failed, CheckState::Absent}) {
    const StateLook look = LookOf(state);
    page += "<span class=\"";
    page += look.css;
    page += "\">";
    page += look.symbol;
    page += " ";
    page += look.word;
    page += "</span>";
  }
  page +=
      "</p>\n<table class=\"grid\"><thead><tr><th>Computer</th><th>User</th><th>Program</th>"
      "<th>Level</th><th>Time</th><th>FAILED</th>";
  for (const CheckInfo& info : kChecks) {
    page += "<th class=\"check\">" + Escaped(info.name) + "</th>";
  }
  page += "</tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < summary.entries.size(); ++i) {
    const Report& r = summary.entries[i].report;
    page += "<tr class=\"report\"><td><a href=\"#" + ReportId(i) + "\">" +
            Escaped(ComputerShown(r)) + "</a></td><td>" + Escaped(UserShown(r)) + "</td><td>" +
            Escaped(r.program) + "</td><td>" + Escaped(r.level) + "</td><td>" + Escaped(r.time) +
            "</td><td class=\"count\">" + std::to_string(r.failedLines) + "</td>";
    for (const CheckInfo& info : kChecks) {
      const StateLook look = LookOf(r.State(info.check));
      page += "<td class=\"cell ";
      page += look.css;
      page += "\" title=\"" + Escaped(info.name) + ": ";
      page += look.word;
      page += "\">";
      page += look.symbol;
      page += "</td>";
    }
    page += "</tr>\n";
  }
  page += "</tbody></table>\n";
}

void WriteFindings(const Summary& summary, std::string& page) {
  page += "<h2>Findings</h2>\n";
  bool any = false;
  for (const Rule& rule : Rules()) {
    std::string items;
    int count = 0;
    for (std::size_t i = 0; i < summary.entries.size(); ++i) {
      for (const Finding& finding : summary.entries[i].findings) {
        if (finding.rule != &rule) continue;
        ++count;
        items += "<li><a href=\"#" + ReportId(i) + "\">" + Escaped(Who(summary.entries[i].report)) +
                 "</a>: line";
        if (finding.lines.size() > 1) items += "s";
        for (std::size_t k = 0; k < finding.lines.size(); ++k) {
          items += k ? ", " : " ";
          items += "<a href=\"#" + LineId(i, finding.lines[k]) + "\">" +
                   std::to_string(finding.lines[k] + 1) + "</a>";
        }
        items += "</li>\n";
      }
    }
    if (count == 0) continue;
    any = true;
    page += "<section class=\"finding\" id=\"" + std::string(rule.id) + "\"><h3>" +
            Escaped(rule.title) + " (" + std::to_string(count) +
            (count == 1 ? " report" : " reports") + ")</h3>\n<p>" + Escaped(rule.cause) +
            "</p>\n<p><b>Repair:</b> " + Escaped(rule.repair) + "</p>\n<ul>\n" + items +
            "</ul></section>\n";
  }
  if (!any) page += "<p>No finding.</p>\n";
}

void WriteTexts(const Summary& summary, std::string& page) {
  page += "<h2>Reports</h2>\n";
  for (std::size_t i = 0; i < summary.entries.size(); ++i) {
    const Report& r = summary.entries[i].report;
    page += "<details class=\"report\" id=\"" + ReportId(i) + "\"><summary>" + Escaped(Who(r)) +
            " \u00b7 " + Escaped(r.level) + " \u00b7 " + Escaped(r.time) + " \u00b7 " +
            std::to_string(r.failedLines) + " FAILED \u00b7 " + Escaped(r.fileName) +
            "</summary>\n<pre>";
    for (std::size_t k = 0; k < r.lines.size(); ++k) {
      const bool failed = r.lines[k].verdict == CheckState::Failed;
      std::string number = std::to_string(k + 1);
      number.insert(0, number.size() < 4 ? 4 - number.size() : 0, ' ');
      page += "<span id=\"" + LineId(i, k) + "\"" + (failed ? " class=\"fail\"" : "") +
              "><i class=\"no\">" + (failed ? "\u2717" : " ") + number + " </i>" +
              Escaped(r.lines[k].text) + "</span>\n";
    }
    page += "</pre></details>\n";
  }
}

}  // namespace

std::string SummaryPage(const Summary& summary) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<title>Vorlix report summary</title><style>";
  page += kStyle;
  page += "</style></head>\n<body>\n<h1>Vorlix report summary</h1>\n<p>";
  page += std::to_string(summary.entries.size());
  page += summary.entries.size() == 1 ? " report" : " reports";
  int failing = 0;
  for (const SummaryEntry& entry : summary.entries) failing += entry.report.AnyFailed() ? 1 : 0;
  page += ", " + std::to_string(failing) + " with failed checks";
  if (!summary.skipped.empty()) page += ", " + std::to_string(summary.skipped.size()) + " skipped";
  page += ".</p>\n";
  WriteGrid(summary, page);
  WriteFindings(summary, page);
  if (!summary.skipped.empty()) {
    page += "<h2>Skipped files</h2>\n<ul class=\"skipped\">\n";
    for (const SkippedFile& file : summary.skipped) {
      page += "<li>" + Escaped(file.path) + ": " + Escaped(file.reason) + "</li>\n";
    }
    page += "</ul>\n";
  }
  WriteTexts(summary, page);
  page += "</body></html>\n";
  return page;
}

}  // namespace vorlix::summary
