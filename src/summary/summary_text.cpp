#include <algorithm>
#include <array>
#include <iomanip>
#include <ostream>

#include "summary/report_time.h"
#include "summary/summary.h"

namespace vorlix::summary {

namespace {

// Columns are counted in characters, not in the bytes of their UTF-8 form.
std::size_t Width(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return width;
}

void Pad(std::ostream& out, const std::string& text, std::size_t width) {
  out << text << std::string(width > Width(text) ? width - Width(text) : 0, ' ');
}

// A long text in lines of at most 100 characters, each after the indent.
void Wrapped(std::ostream& out, std::string_view label, std::string_view text) {
  std::string lines;
  findings::AppendWrapped(lines, label, text, "\n");
  out << lines;
}

std::string Who(const Report& report) {
  return ComputerShown(report) + " / " + UserShown(report) + " / " + report.program + " (" +
         report.level + ", " + report.time.shown + ")";
}

void WriteRows(const Summary& summary, std::ostream& out) {
  constexpr std::size_t kColumns = 7;
  const std::array<std::string, kColumns> headings = {"Computer", "User", "Program", "State",
                                                      "Level",    "Time", "FAILED"};
  std::vector<std::array<std::string, kColumns>> rows;
  for (const Row& row : summary.rows) {
    const Report& r = row.latest.report;
    rows.push_back({ComputerShown(r), UserShown(r), r.program, StateShown(summary, row), r.level,
                    r.time.shown, std::to_string(r.failedLines)});
  }
  std::array<std::size_t, kColumns> widths{};
  for (std::size_t c = 0; c < widths.size(); ++c) {
    widths[c] = headings[c].size();
    for (const auto& row : rows) widths[c] = std::max(widths[c], Width(row[c]));
  }
  const auto writeRow = [&](const std::array<std::string, kColumns>& row) {
    for (std::size_t c = 0; c + 1 < row.size(); ++c) {
      Pad(out, row[c], widths[c]);
      out << "  ";
    }
    out << std::setw(static_cast<int>(widths.back())) << row.back() << "\n";
  };
  if (!rows.empty()) {
    writeRow(headings);
    for (const auto& row : rows) writeRow(row);
  }
}

void WriteFindings(const Summary& summary, std::ostream& out) {
  out << "\nFindings:\n";
  const auto groups = GroupFindings(summary);
  if (groups.empty()) out << "  none\n";
  for (const FindingGroup& group : groups) {
    out << "\n  " << group.rule->title << " (" << AffectedShown(summary, group.affected) << ")\n";
    Wrapped(out, "    Cause:  ", group.rule->cause);
    Wrapped(out, "    Repair: ", group.rule->repair);
    for (const FindingItem& item : group.items) {
      out << "    - " << Who(summary.rows[item.row].latest.report) << ": line";
      if (item.finding->lines.size() > 1) out << "s";
      for (std::size_t k = 0; k < item.finding->lines.size(); ++k) {
        out << (k ? ", " : " ") << item.finding->lines[k] + 1;
      }
      out << "\n";
    }
  }
}

// "12-08 2/4" per day, as many to a line as fit.
void WriteTrend(const Summary& summary, std::ostream& out) {
  if (summary.trend.empty()) return;
  out << "\nFailing of reported, per day";
  if (summary.trendCut) out << " (the last " << kTrendDays << " days)";
  out << ":\n";
  std::string days;
  for (const DayCount& day : summary.trend) {
    if (!days.empty()) days += "   ";
    days += DayShown(day.day).substr(5) + " " + std::to_string(day.failing) + "/" +
            std::to_string(day.reported);
  }
  Wrapped(out, "  ", days);
}

}  // namespace

void WriteSummaryText(const Summary& summary, std::ostream& out) {
  const auto plural = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
  };
  if (summary.allReports) {
    out << plural(summary.rows.size(), " report", " reports");
  } else {
    out << plural(summary.rows.size(), " row", " rows") << " from "
        << plural(summary.reports, " report", " reports");
  }
  if (!summary.skipped.empty()) out << ", " << summary.skipped.size() << " skipped";
  out << "\n";
  if (!summary.allReports) {
    out << "The latest report of each computer, user and program; silent: none for more than "
        << summary.silentDays << " days before the newest.\n";
  }
  WriteFindings(summary, out);
  WriteTrend(summary, out);
  out << "\n";
  WriteRows(summary, out);

  if (!summary.skipped.empty()) {
    out << "\nSkipped:\n";
    for (const SkippedFile& file : summary.skipped) {
      out << "  " << file.path << ": " << file.reason << "\n";
    }
  }

  const auto counts = MostFailedChecks(summary);
  out << "\nChecks that fail most often:\n";
  if (counts.empty()) out << "  none\n";
  std::size_t width = 0;
  for (const CheckCount& count : counts) {
    width = std::max(width, Width(kChecks[static_cast<std::size_t>(count.check)].name));
  }
  for (const CheckCount& count : counts) {
    out << "  ";
    Pad(out, std::string(kChecks[static_cast<std::size_t>(count.check)].name), width);
    out << "  failed in " << count.failed << " of " << count.present << "\n";
  }
}

}  // namespace vorlix::summary
