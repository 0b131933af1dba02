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
.trend text.up{dominant-baseline:central}.trend text.start{text-anchor:start}
.trend text.end{text-anchor:end}
.legend span{display:inline-block;border:1px solid #bbb;padding:0 6px;margin-right:.6em}
section.finding{border-left:4px solid #c0392b;padding:.2em .8em;margin:.8em 0;background:#fbf3f2}
section.finding h3{font-size:1em;margin:.2em 0}.finding .count{font-weight:normal}
section.finding p{margin:.2em 0}section.finding details{margin:0}
details.passing>summary h2{display:inline}
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

// "2/40" of a day: failing of those that reported.
std::string Fraction(const DayCount& day) {
  return std::to_string(day.failing) + "/" + std::to_string(day.reported);
}

// Colour and symbol both tell the state, for readers who do not see the colour.
struct StateLook {
  std::string_view css;
  std::string_view symbol;
};

StateLook LookOf(CheckState state) {
  switch (state) {
    case CheckState::Passed:
      return {"passed", "\u2713"};
    case CheckState::Failed:
      return {"failed", "\u2717"};
    case CheckState::Absent:
      break;
  }
  return {"absent", "\u2013"};
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

// What needs doing, the cause that affects the most workstations first; the list of them is
// folded, so that every cause shows on the first screen.
void WriteFindings(const Summary& summary, std::string& page) {
  page += "<h2>Findings</h2>\n";
  const auto groups = GroupFindings(summary);
  if (groups.empty()) page += "<p>No finding.</p>\n";
  for (const FindingGroup& group : groups) {
    const std::string affected = AffectedShown(summary, group.affected);
    page += "<section class=\"finding\" id=\"" + std::string(group.rule->id) + "\"><h3>" +
            Escaped(group.rule->title) + " <span class=\"count\">(" + affected +
            ")</span></h3>\n<p>" + Escaped(group.rule->cause) + " <b>Repair:</b> " +
            Escaped(group.rule->repair) + "</p>\n<details><summary>" + affected +
            "</summary><ul>\n";
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
    page += "</ul></details></section>\n";
  }
}

// Per day, a hollow bar for the workstations that reported and a solid one for those that
// failed, both on the scale of the busiest day, each with its numbers written, so that neither
// colour nor shading is needed. The chart keeps to a screen's width: with many days a day's
// slot narrows, and a label wider than its slot is written upright.
void WriteTrend(const Summary& summary, std::string& page) {
  if (summary.trend.empty()) return;
  int most = 1;
  for (const DayCount& day : summary.trend) most = std::max(most, day.reported);
  constexpr int kChartWidth = 1260, kWidest = 42, kNarrowest = 14, kHeight = 120, kLeft = 8;
  constexpr int kCharWidth = 7;           // at 11px a digit is about 6 px wide
  constexpr std::size_t kDateLength = 5;  // "12-09"
  const int days = static_cast<int>(summary.trend.size());
  const int slot = std::clamp(kChartWidth / days, kNarrowest, kWidest);
  const int bar = slot * 2 / 3;
  std::size_t longest = 0;
  for (const DayCount& day : summary.trend) {
    longest = std::max(longest, Fraction(day).size());
  }
  const auto widthOf = [](std::size_t length) { return static_cast<int>(length) * kCharWidth; };
  const bool uprightCounts = widthOf(longest) > slot - 2;
  const bool uprightDates = widthOf(kDateLength) > slot - 2;
  const int top = 8 + (uprightCounts ? widthOf(longest) : 12);
  const int base = top + kHeight;
  const int height = base + 8 + (uprightDates ? widthOf(kDateLength) : 12);
  const int width = kLeft + days * slot + kLeft;
  page +=
      "<h2>Trend</h2>\n<figure class=\"trend\"><svg xmlns=\"http://www.w3.org/2000/svg\" "
      "role=\"img\" width=\"" +
      std::to_string(width) + "\" height=\"" + std::to_string(height) +
      "\" aria-labelledby=\"trend-title\"><title id=\"trend-title\">Workstations whose latest "
      "report of the day failed, of those that reported, per day</title>\n";
  const auto label = [&page](int x, int y, bool upright, const char* anchor,
                             const std::string& text) {
    const std::string at = "x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"";
    page += "<text " + at;
    if (upright) {
      page += " class=\"up " + std::string(anchor) + "\" transform=\"rotate(-90 " +
              std::to_string(x) + " " + std::to_string(y) + ")\"";
    }
    page += ">" + text + "</text>";
  };
  for (int i = 0; i < days; ++i) {
    const DayCount& day = summary.trend[static_cast<std::size_t>(i)];
    const int x = kLeft + i * slot + (slot - bar) / 2;
    const int reported = day.reported * kHeight / most;
    const int failing = day.failing * kHeight / most;
    const auto rect = [&](int barHeight, const char* cls) {
      page += "<rect class=\"" + std::string(cls) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
              std::to_string(base - barHeight) + "\" width=\"" + std::to_string(bar) +
              "\" height=\"" + std::to_string(barHeight) + "\"/>";
    };
    page += "<g class=\"day\"><title>" + DayShown(day.day) + ": " + std::to_string(day.failing) +
            " failing of " + std::to_string(day.reported) + "</title>";
    rect(reported, "reported");
    rect(failing, "failing");
    const int middle = x + bar / 2;
    label(middle, base - reported - 4, uprightCounts, "start", Fraction(day));
    label(middle, base + (uprightDates ? 6 : 16), uprightDates, "end",
          DayShown(day.day).substr(kDateLength));
    page += "</g>\n";
  }
  page +=
      "</svg><figcaption>Solid: failing; outline: reported (failing/reported written above "
      "each day";
  if (summary.trendCut) page += "; the last " + std::to_string(kTrendDays) + " days";
  page += ").</figcaption></figure>\n";
}

void WriteLegend(std::string& page) {
  page += "<p class=\"legend\">";
  for (CheckState state : {CheckState::Passed, CheckState::Failed, CheckState::Absent}) {
    const StateLook look = LookOf(state);
    page += "<span class=\"";
    page += look.css;
    page += "\">";
    page += look.symbol;
    page += " ";
    page += CheckStateWord(state);
    page += "</span>";
  }
  page += "</p>\n";
}

// The rows of one kind, as a grid of rows by checks.
void WriteGrid(const Summary& summary, const std::vector<std::size_t>& rows, std::string& page) {
  page +=
      "<table class=\"grid\"><thead><tr><th>Computer</th><th>User</th><th>Program</th>"
      "<th>State</th><th>Level</th><th>Time</th><th>FAILED</th>";
  for (const CheckInfo& info : kChecks) {
    page += "<th class=\"check\">" + Escaped(info.name) + "</th>";
  }
  page += "<th>File</th></tr></thead>\n<tbody>\n";
  for (const std::size_t i : rows) {
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

// The failing rows, then the mended and silent ones, and last the passing ones, folded away.
void WriteGrids(const Summary& summary, std::string& page) {
  std::vector<std::size_t> failing, changed, passing;
  for (std::size_t i = 0; i < summary.rows.size(); ++i) {
    switch (summary.rows[i].state) {
      case RowState::Failing:
        failing.push_back(i);
        break;
      case RowState::Mended:
      case RowState::Silent:
        changed.push_back(i);
        break;
      case RowState::Passing:
        passing.push_back(i);
        break;
    }
  }
  if (summary.rows.empty()) return;
  WriteLegend(page);
  if (!failing.empty()) {
    page += "<h2>Failing</h2>\n";
    WriteGrid(summary, failing, page);
  }
  if (!changed.empty()) {
    page += "<h2>Mended and silent</h2>\n";
    WriteGrid(summary, changed, page);
  }
  if (!passing.empty()) {
    page += "<details class=\"passing\"><summary><h2>Passing (" + std::to_string(passing.size()) +
            ")</h2></summary>\n";
    WriteGrid(summary, passing, page);
    page += "</details>\n";
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
  if (summary.allReports) {
    page += std::to_string(summary.rows.size());
    page += summary.rows.size() == 1 ? " report" : " reports";
  } else {
    page += std::to_string(summary.rows.size()) + " computers, users and programs from " +
            std::to_string(summary.reports) + " reports";
  }
  page += ", " + std::to_string(FailingRows(summary)) + " with failed checks";
  if (!summary.skipped.empty()) page += ", " + std::to_string(summary.skipped.size()) + " skipped";
  page += ".</p>\n";
  WriteFindings(summary, page);
  WriteTrend(summary, page);
  WriteGrids(summary, page);
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
