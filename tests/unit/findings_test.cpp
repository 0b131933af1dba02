#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "findings/findings.h"

namespace vorlix::findings {
namespace {

using report::LineRecord;

// The one line the window shows: the first cause and how many more, or how many checks failed.
TEST(FindingsVerdict, FirstCauseOrTheFailedChecksCounted) {
  const Rule& first = Rules()[0];
  const Rule& second = Rules()[1];
  const auto failed = [](std::optional<Check> check) {
    return CheckedLine{"   FAILED: x", CheckState::Failed, check, {}};
  };
  const CheckedLine passed{"   Passed: x", CheckState::Passed, Check::MakerFolder, {}};
  const CheckedLine plain{"Checking", CheckState::Absent, std::nullopt, {}};
  const std::string unknown = "; no known cause. Save the report and send it to your support.";
  const struct {
    std::vector<Finding> findings;
    std::vector<CheckedLine> lines;
    std::string verdict;
  } rows[] = {
      {{}, {}, "No check failed."},
      {{}, {plain, passed}, "No check failed."},
      {{}, {failed(Check::ProjectFolder)}, "1 check failed" + unknown},
      // Two lines of one check count once; a failed line of no check counts on its own.
      {{},
       {failed(Check::ProjectFolder), failed(Check::ProjectFolder), failed(std::nullopt)},
       "2 checks failed" + unknown},
      {{}, {failed(Check::ProjectFolder), failed(Check::MakerFolder)}, "2 checks failed" + unknown},
      {{{&first, {0}}},
       {failed(Check::LicenceFolder)},
       "Likely cause: " + std::string(first.title)},
      {{{&second, {0}}, {&first, {0}}},
       {failed(Check::LicenceFolder)},
       "Likely cause: " + std::string(second.title) + " (and 1 more)"},
      {{{&first, {0}}, {&second, {0}}, {&second, {0}}},
       {},
       "Likely cause: " + std::string(first.title) + " (and 2 more)"},
  };
  for (const auto& row : rows) EXPECT_EQ(VerdictLine(row.findings, row.lines), row.verdict);
  // Every rule copes with a report that lacks the checks it reads.
  for (const auto& row : rows) EXPECT_THAT(FindingsOf(row.lines), ::testing::IsEmpty());
}

// The writer's records joined to the text; a line of no check and no verdict keeps no text.
TEST(FindingsLines, TheTextOfTheLinesTheRulesRead) {
  const std::string text = "Heading\r\n   Passed: a\r\n      listing\r\n   data\n   FAILED: b\r\n";
  const PlaceFacts facts{false, std::nullopt};
  const std::vector<LineRecord> records = {{},
                                           {Check::MakerFolder, CheckState::Passed, {}},
                                           {},
                                           {Check::VirtualisedIni, CheckState::Absent, {}},
                                           {std::nullopt, CheckState::Failed, facts}};
  const auto lines = CheckedLines(text, records);
  ASSERT_EQ(lines.size(), 5u);
  const char* expected[] = {"", "   Passed: a", "", "   data", "   FAILED: b"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].text, expected[i]) << i;
    EXPECT_EQ(lines[i].check, records[i].check) << i;
    EXPECT_EQ(lines[i].verdict, records[i].verdict) << i;
  }
  EXPECT_EQ(lines[4].facts, facts);
}

// The block the console writes after an explained report: the summary's form per finding.
TEST(FindingsLines, TheBlockOfFindings) {
  EXPECT_EQ(FindingsBlock({}, "\r\n"), "Findings:\r\n  none\r\n");
  const Rule& rule = Rules()[0];
  const std::vector<Finding> one = {{&rule, {4}}};
  std::string cause;
  AppendWrapped(cause, "    Cause:  ", rule.cause, "\n");
  std::string repair;
  AppendWrapped(repair, "    Repair: ", rule.repair, "\n");
  EXPECT_EQ(FindingsBlock(one, "\n"),
            "Findings:\n\n  " + std::string(rule.title) + "\n" + cause + repair + "    - line 5\n");
  const std::vector<Finding> two = {{&rule, {4, 9}}};
  EXPECT_TRUE(FindingsBlock(two, "\n").ends_with("    - lines 5, 10\n"));
}

// Long texts wrap at 100 characters, counted in characters, under the label's indent.
TEST(FindingsLines, WrappedAtAHundredCharacters) {
  std::string words = "wwwwwwwwww";
  for (int i = 1; i < 8; ++i) words += " wwwwwwwwww";       // 87 characters
  const std::string fits = words + " \xC3\xA9" + "eeeeee";  // 95 characters in 96 bytes
  std::string out;
  AppendWrapped(out, "  L: ", fits, "\n");
  EXPECT_EQ(out, "  L: " + fits + "\n");
  out.clear();
  AppendWrapped(out, "  L: ", fits + "e", "\n");
  EXPECT_EQ(out, "  L: " + words +
                     "\n     \xC3\xA9"
                     "eeeeeee\n");
  out.clear();
  AppendWrapped(out, "  L: ", std::string(120, 'x') + " y", "\n");
  EXPECT_EQ(out, "  L: " + std::string(120, 'x') + "\n     y\n");
}

}  // namespace
}  // namespace vorlix::findings
