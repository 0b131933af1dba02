#include "summary/summary_page.h"

#include <algorithm>
#include <string_view>

#include "summary/report_time.h"

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
td.count{text-align:right}td.file{color:#555}
figure.trend{margin:0}.trend rect.reported{fill:none;stroke:#333;stroke-width:1.5}
.trend rect.failing{fill:#333}.trend text{font-size:11px;text-anchor:middle}
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
  std::string id(1, 'r');
  id += std::to_string(index + 1);
  return id;
}

std::string LineId(std::size_t report, std::size_t line) {
  return ReportId(report) + "-" + std::to_string(line + 1);
}

// Only a failing latest report carries its text on the page; the other rows name their file.
bool HasText(const Row& row) { return !row.latest.report.lines.empty(); }

std::string Who(const Report& report) {
  return ComputerShown(report) + " / " + UserShown(report) + " / " + report.program;
}

// Per day, a hollow bar for the workstations that reported and a solid one for those that
// failed, each with its number written, so that neither colour nor shading is needed.
void WriteTrend(const Summary& summary, std::string& page) {
  if (summary.trend.empty()) return;
  int most = 1;
  for (const DayCount& day : summary.trend) most = std::max(most, day.reported);
  constexpr int kBar = 28, kGap = 14, kHeight = 120, kTop = 24, kLeft = 8;
  const int width = kLeft + static_cast<int>(summary.trend.size()) * (kBar + kGap) + kLeft;
  const int base = kTop + kHeight;
  page +=
      "<h2>Trend</h2>\n<figure class=\"trend\"><svg xmlns=\"http://www.w3.org/2000/svg\" "
      "role=\"img\" width=\"" +
      std::to_string(width) + "\" height=\"" + std::to_string(base + 36) +
      "\" aria-labelledby=\"trend-title\"><title id=\"trend-title\">Workstations whose latest "
      "report of the day failed, of those that reported, per day</title>\n";
  for (std::size_t i = 0; i < summary.trend.size(); ++i) {
    const DayCount& day = summary.trend[i];
    const int x = kLeft + static_cast<int>(i) * (kBar + kGap);
    const int reported = day.reported * kHeight / most;
    const int failing = day.failing * kHeight / most;
    const auto rect = [&](int height, const char* cls) {
      page += "<rect class=\"" + std::string(cls) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
              std::to_string(base - height) + "\" width=\"" + std::to_string(kBar) +
              "\" height=\"" + std::to_string(height) + "\"/>";
    };
    page += "<g class=\"day\"><title>" + DayShown(day.day) + ": " + std::to_string(day.failing) +
            " failing of " + std::to_string(day.reported) + "</title>";
    rect(reported, "reported");
    rect(failing, "failing");
    const std::string middle = std::to_string(x + kBar / 2);
    page += "<text x=\"" + middle + "\" y=\"" + std::to_string(base - reported - 4) + "\">" +
            std::to_string(day.failing) + "/" + std::to_string(day.reported) + "</text>";
    page += "<text x=\"" + middle + "\" y=\"" + std::to_string(base + 16) + "\">" +
            DayShown(day.day).substr(5) + "</text></g>\n";
  }
  page +=
      "</svg><figcaption>Solid: failing; outline: reported (failing/reported written above "
      "each day).</figcaption></figure>\n";
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
      "<th>State</th><th>Level</th><th>Time</th><th>FAILED</th>";
  for (const CheckInfo& info : kChecks) {
    page += "<th class=\"check\">" + Escaped(info.name) + "</th>";
  }
  page += "<th>File</th></tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < summary.rows.size(); ++i) {
    const Row& row = summary.rows[i];
    const Report& r = row.latest.report;
    const std::string computer = Escaped(ComputerShown(r));
    page += "<tr class=\"report\"><td>" +
            (HasText(row) ? "<a href=\"#" + ReportId(i) + "\">" + computer + "</a>" : computer) +
            "</td><td>" + Escaped(UserShown(r)) + "</td><td>" + Escaped(r.program) +
            "</td><td class=\"state\">" + Escaped(StateShown(summary, row)) + "</td><td>" +
            Escaped(r.level) + "</td><td>" + Escaped(r.time.shown) + "</td><td class=\"count\">" +
            std::to_string(r.failedLines) + "</td>";
    for (const CheckInfo& info : kChecks) {
      const StateLook look = LookOf(r.State(info.check));
      page += "<td class=\"cell ";
      page += look.css;
      page += "\">";
      page += look.symbol;
      page += "</td>";
    }
    page += "<td class=\"file\">" + Escaped(r.fileName) + "</td></tr>\n";
  }
  page += "</tbody></table>\n";
}

void WriteFindings(const Summary& summary, std::string& page) {
  page += "<h2>Findings</h2>\n";
  const auto groups = GroupFindings(summary);
  if (groups.empty()) page += "<p>No finding.</p>\n";
  for (const FindingGroup& group : groups) {
    const std::size_t count = group.items.size();
    page += "<section class=\"finding\" id=\"" + std::string(group.rule->id) + "\"><h3>" +
            Escaped(group.rule->title) + " (" + std::to_string(count) +
            (count == 1 ? " report" : " reports") + ")</h3>\n<p>" + Escaped(group.rule->cause) +
            "</p>\n<p><b>Repair:</b> " + Escaped(group.rule->repair) + "</p>\n<ul>\n";
    for (const FindingItem& item : group.items) {
      const Row& row = summary.rows[item.row];
      const std::string who =
          Escaped(Who(row.latest.report)) + " (" + Escaped(row.latest.report.time.shown) + ")";
      page += "<li>" +
              (HasText(row) ? "<a href=\"#" + ReportId(item.row) + "\">" + who + "</a>" : who) +
              ": line";
      if (item.finding->lines.size() > 1) page += "s";
      for (std::size_t k = 0; k < item.finding->lines.size(); ++k) {
        const std::string number = std::to_string(item.finding->lines[k] + 1);
        page += k ? ", " : " ";
        page += HasText(row) ? "<a href=\"#" + LineId(item.row, item.finding->lines[k]) + "\">" +
                                   number + "</a>"
                             : number;
      }
      page += "</li>\n";
    }
    page += "</ul></section>\n";
  }
}

void WriteTexts(const Summary& summary, std::string& page) {
  page += "<h2>Reports that fail</h2>\n";
  for (std::size_t i = 0; i < summary.rows.size(); ++i) {
    const Row& row = summary.rows[i];
    if (!HasText(row)) continue;
    const Report& r = row.latest.report;
    page += "<details class=\"report\" id=\"" + ReportId(i) + "\"><summary>" + Escaped(Who(r)) +
            " \u00b7 " + Escaped(r.level) + " \u00b7 " + Escaped(r.time.shown) + " \u00b7 " +
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
  int failing = 0;
  for (const Row& row : summary.rows) failing += row.latest.report.AnyFailed() ? 1 : 0;
  if (summary.allReports) {
    page += std::to_string(summary.rows.size());
    page += summary.rows.size() == 1 ? " report" : " reports";
  } else {
    page += std::to_string(summary.rows.size()) + " computers, users and programs from " +
            std::to_string(summary.reports) + " reports";
  }
  page += ", " + std::to_string(failing) + " with failed checks";
  if (!summary.skipped.empty()) page += ", " + std::to_string(summary.skipped.size()) + " skipped";
  page += ".</p>\n";
  WriteTrend(summary, page);
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
