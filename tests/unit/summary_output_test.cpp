// The numbers the page and the table show, over summaries made by hand: which rows count as
// failing, how many workstations a finding affects and in what order, the trend's bars against
// the busiest day, and the CSV's fields as a spreadsheet would take them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "summary/findings.h"
#include "summary/report_time.h"
#include "summary/summary.h"
#include "summary/summary_csv.h"
#include "summary/summary_page.h"

namespace vorlix::summary {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

const Rule& RuleNamed(std::string_view id) {
  for (const Rule& rule : Rules()) {
    if (rule.id == id) return rule;
  }
  throw std::logic_error("no rule " + std::string(id));
}

Row MakeRow(std::string computer, int failedLines, RowState state,
            std::vector<std::string_view> rules = {}) {
  Row row;
  row.state = state;
  Report& report = row.latest.report;
  report.computer = std::move(computer);
  report.user = "anna";
  report.program = "Ostrelan";
  report.level = "Normal";
  report.fileName = report.computer + ".txt";
  report.failedLines = failedLines;
  report.time = *TimeFromStamp("20261208-090000");
  row.since = report.time;
  for (std::size_t i = 0; i < kCheckCount; ++i) report.states[i] = CheckState::Passed;
  if (failedLines > 0) report.states[0] = CheckState::Failed;
  report.states[kCheckCount - 1] = CheckState::Absent;
  for (const std::string_view id : rules) row.latest.findings.push_back({&RuleNamed(id), {0}});
  return row;
}

std::size_t Position(const std::string& text, const std::string& part) {
  const std::size_t at = text.find(part);
  EXPECT_NE(at, std::string::npos) << part;
  return at;
}

// The rectangles of the trend by class, as "x y width height".
std::vector<std::string> Bars(const std::string& page, const std::string& cls) {
  std::vector<std::string> bars;
  const std::regex rect("<rect class=\"" + cls +
                        "\" x=\"(\\d+)\" y=\"(\\d+)\" width=\"(\\d+)\" height=\"(\\d+)\"/>");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), rect); it != std::sregex_iterator();
       ++it) {
    bars.push_back((*it)[1].str() + " " + (*it)[2].str() + " " + (*it)[3].str() + " " +
                   (*it)[4].str());
  }
  return bars;
}

TEST(SummaryOutput, TheIntroCountsRowsWithAFailureNotFailedLines) {
  Summary summary;
  summary.reports = 9;
  summary.rows = {MakeRow("A", 9, RowState::Failing), MakeRow("B", 1, RowState::Failing),
                  MakeRow("C", 0, RowState::Mended), MakeRow("D", 0, RowState::Passing)};
  EXPECT_EQ(FailingRows(summary), 2u);
  EXPECT_THAT(SummaryPage(summary),
              HasSubstr("<p>4 computers, users and programs from 9 reports, 2 with failed "
                        "checks.</p>"));
  summary.rows.pop_back();
  summary.rows.erase(summary.rows.begin());
  EXPECT_THAT(SummaryPage(summary), HasSubstr("from 9 reports, 1 with failed checks.</p>"));
}

TEST(SummaryOutput, FindingsRankedByTheWorkstationsTheyAffect) {
  Summary summary;
  // not-installed comes after licence-not-writable among the rules, but affects more
  // computers; a computer named twice (another user, another case) counts once.
  summary.rows = {
      MakeRow("WS-1", 3, RowState::Failing, {"not-installed"}),
      MakeRow("ws-1", 3, RowState::Failing, {"not-installed"}),
      MakeRow("WS-2", 3, RowState::Failing, {"not-installed", "project-folder"}),
      MakeRow("WS-3", 1, RowState::Failing, {"licence-not-writable"}),
      MakeRow("WS-4", 1, RowState::Failing, {"project-folder"}),
  };
  const auto groups = GroupFindings(summary);
  std::vector<std::string> order;
  for (const FindingGroup& group : groups) {
    order.push_back(std::string(group.rule->id) + " " + std::to_string(group.affected) + " of " +
                    std::to_string(group.items.size()));
  }
  // Equal counts keep the rules' order.
  EXPECT_THAT(order, ElementsAre("not-installed 2 of 3", "project-folder 2 of 2",
                                 "licence-not-writable 1 of 1"));
  const std::string page = SummaryPage(summary);
  EXPECT_THAT(page, HasSubstr("<span class=\"count\">(2 workstations)</span>"));
  EXPECT_THAT(page, HasSubstr("<span class=\"count\">(1 workstation)</span>"));
  // Lines are counted from 1, as the report's text shows them.
  EXPECT_THAT(page, HasSubstr(" (2026-12-08 09:00:00): line 1</li>"));
  EXPECT_LT(Position(page, "id=\"not-installed\""), Position(page, "id=\"project-folder\""));
  EXPECT_LT(Position(page, "id=\"project-folder\""), Position(page, "id=\"licence-not-writable\""));
  std::ostringstream text;
  WriteSummaryText(summary, text);
  EXPECT_LT(Position(text.str(), "(2 workstations)"), Position(text.str(), "(1 workstation)"));
  EXPECT_LT(Position(text.str(), "Findings:"), Position(text.str(), "Computer  "));
  // A row per report counts reports, each once.
  summary.allReports = true;
  EXPECT_EQ(GroupFindings(summary)[0].affected, 3u);
  EXPECT_THAT(SummaryPage(summary), HasSubstr("<span class=\"count\">(3 reports)</span>"));
  EXPECT_THAT(SummaryPage(summary), HasSubstr("<span class=\"count\">(1 report)</span>"));
}

TEST(SummaryOutput, TrendBarsAgainstTheBusiestDay) {
  Summary summary;
  summary.trend = {{"20261201", 1, 4}, {"20261202", 4, 8}, {"20261203", 0, 2}, {"20261204", 3, 3}};
  const std::string page = SummaryPage(summary);
  // 120 pixels stand for the 8 reports of the busiest day, for both bars: "x y width height".
  EXPECT_THAT(Bars(page, "reported"),
              ElementsAre("15 80 28 60", "57 20 28 120", "99 110 28 30", "141 95 28 45"));
  EXPECT_THAT(Bars(page, "failing"),
              ElementsAre("15 125 28 15", "57 80 28 60", "99 140 28 0", "141 95 28 45"));
  EXPECT_THAT(page, HasSubstr("<title>2026-12-02: 4 failing of 8</title>"));
  EXPECT_THAT(page, HasSubstr("<text x=\"71\" y=\"16\">4/8</text>"));
  EXPECT_THAT(page, HasSubstr("<text x=\"71\" y=\"156\">12-02</text>"));
  // Short labels lie flat; the narrower slots of many days stand them upright, and the chart
  // keeps to a screen's width.
  EXPECT_THAT(page, Not(HasSubstr("transform=\"rotate(")));
  summary.trend.assign(90, {"20261201", 200, 2000});
  const std::string wide = SummaryPage(summary);
  EXPECT_THAT(wide, HasSubstr("<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" "
                              "width=\"1276\""));
  EXPECT_THAT(wide, HasSubstr("<text x=\"14\" y=\"60\" class=\"up start\" "
                              "transform=\"rotate(-90 14 60)\">200/2000</text>"));
  EXPECT_THAT(wide, HasSubstr("<text x=\"14\" y=\"190\" class=\"up end\" "
                              "transform=\"rotate(-90 14 190)\">12-01</text>"));
  EXPECT_THAT(wide, HasSubstr("height=\"227\""));
  // A label stands upright from the first slot narrower than it: a date of 5 digits fits the
  // 37 px slots of 34 days and not the 36 px of 35; "1/1" fits 23 px (54 days), not 22 (55).
  const struct {
    std::size_t days;
    bool uprightDates, uprightCounts;
  } edges[] = {{34, false, false}, {35, true, false}, {54, true, false}, {55, true, true}};
  for (const auto& edge : edges) {
    Summary narrow;
    narrow.trend.assign(edge.days, {"20261201", 1, 1});
    const std::string chart = SummaryPage(narrow);
    EXPECT_EQ(chart.find("class=\"up end\"") != std::string::npos, edge.uprightDates) << edge.days;
    EXPECT_EQ(chart.find("class=\"up start\"") != std::string::npos, edge.uprightCounts)
        << edge.days;
  }
  summary.trend.resize(30);
  EXPECT_THAT(SummaryPage(summary), HasSubstr(">200/2000</text>"));
  EXPECT_THAT(SummaryPage(summary), HasSubstr("width=\"1276\""));
}

TEST(SummaryOutput, PassingRowsFoldedAwayLast) {
  Summary summary;
  summary.rows = {MakeRow("A", 2, RowState::Failing), MakeRow("B", 0, RowState::Mended),
                  MakeRow("C", 0, RowState::Silent), MakeRow("D", 0, RowState::Passing)};
  summary.trend = {{"20261201", 1, 4}};
  const std::string page = SummaryPage(summary);
  EXPECT_LT(Position(page, "<h2>Findings</h2>"), Position(page, "<h2>Trend</h2>"));
  EXPECT_LT(Position(page, "<h2>Trend</h2>"), Position(page, "<h2>Failing</h2>"));
  EXPECT_LT(Position(page, "<h2>Failing</h2>"), Position(page, "<td>A</td>"));
  EXPECT_LT(Position(page, "<td>A</td>"), Position(page, "<h2>Mended and silent</h2>"));
  EXPECT_LT(Position(page, "<td>C</td>"), Position(page,
                                                   "<details class=\"passing\"><summary>"
                                                   "<h2>Passing (1)</h2></summary>"));
  EXPECT_LT(Position(page, "<h2>Passing (1)</h2>"), Position(page, "<td>D</td>"));
  summary.rows.erase(summary.rows.begin(), summary.rows.begin() + 3);
  EXPECT_THAT(SummaryPage(summary), Not(HasSubstr("<h2>Failing</h2>")));
  EXPECT_THAT(SummaryPage(summary), Not(HasSubstr("<h2>Mended and silent</h2>")));
  // The legend explains the grids, so a page with no rows has none.
  EXPECT_THAT(SummaryPage(summary), HasSubstr("<p class=\"legend\">"));
  summary.rows.clear();
  EXPECT_THAT(SummaryPage(summary), Not(HasSubstr("class=\"legend\"")));
}

TEST(SummaryOutput, CsvFieldsStayText) {
  Summary summary;
  Row row = MakeRow("WS-1", 2, RowState::Failing, {"not-installed", "project-folder"});
  summary.rows.push_back(row);
  const std::string starts[] = {"=", "+", "-", "@", "\t", "\r"};
  for (const std::string& start : starts) {
    row = MakeRow("PC", 0, RowState::Passing);
    row.latest.report.user = start + "1+1";
    summary.rows.push_back(row);
  }
  row = MakeRow("a \"b\", c\r\nd", 0, RowState::Passing);
  row.latest.report.user = "x=1-2";  // a formula sign later in a field is plain text
  row.latest.report.fileName = "x.txt";
  summary.rows.push_back(row);
  const std::string csv = SummaryCsv(summary);
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  std::vector<std::string> lines;
  for (std::size_t at = 3, end; (end = csv.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(csv.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), 1u + 1u + 6u + 2u);  // the heading, the rows; one field holds a CR LF
  EXPECT_EQ(lines[0].substr(0, 52), "Computer,User,Program,State,Level,Time,FAILED,maker ");
  EXPECT_THAT(lines[0], ::testing::EndsWith(",Likely causes,File"));
  EXPECT_EQ(lines[1],
            "WS-1,anna,Ostrelan,failing since 2026-12-08 09:00:00,Normal,2026-12-08 "
            "09:00:00,2,FAILED,passed,passed,passed,passed,passed,"
            "passed,passed,passed,passed,passed,passed,passed,passed,passed,absent,"
            "Program not installed for this machine; Project folder missing or not writable,"
            "WS-1.txt");
  EXPECT_THAT(lines[2], ::testing::StartsWith("PC,'=1+1,"));
  EXPECT_THAT(lines[3], ::testing::StartsWith("PC,'+1+1,"));
  EXPECT_THAT(lines[4], ::testing::StartsWith("PC,'-1+1,"));
  EXPECT_THAT(lines[5], ::testing::StartsWith("PC,'@1+1,"));
  EXPECT_THAT(lines[6], ::testing::StartsWith("PC,'\t1+1,"));
  EXPECT_THAT(lines[7], ::testing::StartsWith("PC,\"'\r1+1\","));
  EXPECT_EQ(lines[8], "\"a \"\"b\"\", c");
  EXPECT_THAT(lines[9], ::testing::StartsWith("d\",x=1-2,Ostrelan,passing,"));
}

}  // namespace
}  // namespace vorlix::summary
