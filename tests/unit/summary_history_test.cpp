// A collecting share that is never emptied: the summary reads what its rows and the trend's
// days need, whatever the length of the history, and a file found twice once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "fakes/fake_file_system.h"
#include "summary/summary.h"
#include "summary/summary_page.h"
#include "unit/summary_states.h"

namespace vorlix::summary {
namespace {

using testing::InstalledMachine;

std::string Text(const testing::Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// "2026mmdd" of the day `back` days before 9 December 2026 (no month of 2026 is skipped over
// wrongly: the days are counted by the calendar).
std::string DayBefore(int back) {
  const std::chrono::year_month_day day{
      std::chrono::sys_days(std::chrono::year_month_day{
          std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}) -
      std::chrono::days(back)};
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(day.year()),
                static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
  return text;
}

class SummaryYear : public ::testing::Test {
 protected:
  SummaryYear() {
    InstalledMachine clean;
    testing::AllPassing(clean);
    passing_ = Text(clean.Report(1));
    InstalledMachine unconnected;
    testing::LicenceOnUnconnectedDrive(unconnected);
    failing_ = Text(unconnected.Report(1));
    share_.AddFolder("R:\\Share");
  }

  void Add(const std::string& who, int back, const std::string& text) {
    share_.AddFile("R:\\Share\\" + who + "_Ostrelan_" + DayBefore(back) + "-080000.txt", text);
  }

  fakes::FakeFileSystem share_;
  std::string passing_;
  std::string failing_;
};

TEST_F(SummaryYear, ReadsWhatTheRowsAndTheTrendsDaysNeed) {
  // A year of daily reports: WS-A passes throughout, WS-B has failed all year.
  for (int back = 0; back < 365; ++back) {
    Add("WS-A_anna", back, passing_);
    Add("WS-B_ben", back, failing_);
  }
  const Summary summary = Summarise(share_, {"R:\\Share"}, {});
  EXPECT_EQ(summary.files, 730u);
  EXPECT_EQ(summary.reports, 730u);
  // WS-A: the days of the trend (its row looks at two of them); WS-B: its whole run of
  // failures, back to its first report.
  EXPECT_EQ(summary.read, 90u + 365u);
  ASSERT_EQ(summary.trend.size(), static_cast<std::size_t>(kTrendDays));
  EXPECT_TRUE(summary.trendCut);
  EXPECT_EQ(summary.trend.front().day, DayBefore(kTrendDays - 1));
  EXPECT_EQ(summary.trend.back().day, DayBefore(0));
  EXPECT_EQ(summary.trend.front().failing, 1);
  EXPECT_EQ(summary.trend.front().reported, 2);
  ASSERT_EQ(summary.rows.size(), 2u);
  EXPECT_EQ(StateShown(summary, summary.rows[0]), "failing since " + DayBefore(364).substr(0, 4) +
                                                      "-" + DayBefore(364).substr(4, 2) + "-" +
                                                      DayBefore(364).substr(6, 2) + " 08:00:00");
  EXPECT_EQ(StateShown(summary, summary.rows[1]), "passing");
  EXPECT_THAT(SummaryPage(summary), ::testing::HasSubstr("; the last 90 days)."));
}

TEST_F(SummaryYear, TheTrendsFirstDayIsTheNinetiethUpToTheNewest) {
  Add("WS-A_anna", 0, passing_);
  Add("WS-A_anna", kTrendDays - 1, failing_);
  Summary summary = Summarise(share_, {"R:\\Share"}, {});
  ASSERT_EQ(summary.trend.size(), 2u);
  EXPECT_EQ(summary.trend.front().day, DayBefore(kTrendDays - 1));
  EXPECT_FALSE(summary.trendCut);
  EXPECT_THAT(SummaryPage(summary), ::testing::Not(::testing::HasSubstr("the last 90 days")));
  Add("WS-B_ben", kTrendDays, failing_);
  summary = Summarise(share_, {"R:\\Share"}, {});
  EXPECT_EQ(summary.trend.size(), 2u);
  EXPECT_TRUE(summary.trendCut);
  EXPECT_EQ(summary.rows.size(), 2u);  // a row, though no day of the trend
  EXPECT_EQ(summary.read, 3u);
}

// The same folder named three ways, a file also given on its own, and the page being written
// into the folder: each report is read once, and the page not at all.
TEST_F(SummaryYear, AFileFoundTwiceIsReadOnce) {
  Add("WS-A_anna", 0, passing_);
  Add("WS-B_ben", 0, failing_);
  share_.AddFile("R:\\Share\\page.html", "<!DOCTYPE html>");
  SummaryOptions options;
  options.excluded = {"r:\\share\\PAGE.HTML"};
  const Summary summary =
      Summarise(share_,
                {"R:\\Share", "r:\\share\\", "R:\\Share\\*.txt",
                 "R:\\Share\\WS-B_ben_Ostrelan_" + DayBefore(0) + "-080000.txt"},
                options);
  EXPECT_EQ(summary.files, 2u);
  EXPECT_EQ(summary.read, 2u);
  EXPECT_THAT(summary.skipped, ::testing::IsEmpty());
  // Left out only where it lies.
  share_.AddFile("R:\\Other\\page.html", "<!DOCTYPE html>");
  EXPECT_EQ(Summarise(share_, {"R:\\Other"}, options).skipped.size(), 1u);
}

// With --recurse a pattern is matched in every folder; "*" and "*.*" take every file.
TEST_F(SummaryYear, ARecursivePatternMatchesInEveryFolder) {
  share_.AddFile("R:\\Share\\a.txt", "no report\r\n");
  share_.AddFile("R:\\Share\\b.log", "no report\r\n");
  share_.AddFile("R:\\Share\\Sub\\c.TXT", "no report\r\n");
  share_.AddFile("R:\\Share\\Sub\\d", "no report\r\n");
  SummaryOptions options;
  options.recurse = true;
  EXPECT_EQ(Summarise(share_, {"R:\\Share\\*.txt"}, options).files, 2u);
  EXPECT_EQ(Summarise(share_, {"R:\\Share\\*"}, options).files, 4u);
  EXPECT_EQ(Summarise(share_, {"R:\\Share\\*.*"}, options).files, 4u);
}

// The files of a folder are taken in name order, whatever order the system lists them in.
TEST_F(SummaryYear, FilesInNameOrderWithoutCase) {
  for (const char* name : {"b.txt", "d.txt", "a.txt", "C.txt"}) {
    share_.AddFile(std::string("R:\\Share\\") + name, "no report\r\n");
  }
  const Summary summary = Summarise(share_, {"R:\\Share"}, {});
  std::vector<std::string> skipped;
  for (const SkippedFile& file : summary.skipped) skipped.push_back(file.path);
  EXPECT_THAT(skipped, ::testing::ElementsAre("R:\\Share\\a.txt", "R:\\Share\\b.txt",
                                              "R:\\Share\\C.txt", "R:\\Share\\d.txt"));
}

}  // namespace
}  // namespace vorlix::summary
