#include "report/file_access.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "platform/errors.h"
#include "support/report_lines.h"

namespace vorlix::report {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kFolder = "C:\\Shared\\Licence";
constexpr const char* kTestFile = "C:\\Shared\\Licence\\az193201.txt";

struct AccessRun {
  AccessRun() { files.AddFolder(kFolder); }
  std::vector<std::string> Run() {
    TestFileAccess(report.file(), files, kTestFile);
    return report.Lines();
  }
  fakes::FakeFileSystem files;
  testing::CapturedReport report{1};
};

TEST(FileAccess, CreatedReadBackAndDeleted) {
  AccessRun run;
  EXPECT_THAT(run.Run(),
              ElementsAre("   Passed: File creation successful", "Reading file back...",
                          "   Passed: File read successful", "   Passed: File contents correct",
                          "Deleting file...", "   Passed: File deletion successful",
                          "   Passed: C:\\Shared\\Licence\\az193201.txt ...is deleted"));
  EXPECT_THAT(run.files.FilesUnder(kFolder), IsEmpty());
}

TEST(FileAccess, TheFileHoldsThreeNumberedLinesEndedByCrLf) {
  AccessRun run;
  run.files.failDelete.insert(fakes::FakeFileSystem::Key(kTestFile));
  run.Run();
  EXPECT_EQ(run.files.ReadAll(kTestFile),
            "1 A temporary text file line 1\r\n"
            "2 A temporary text file line 2\r\n"
            "3 A temporary text file line 3\r\n");
}

TEST(FileAccess, TwoRunsGiveTheSameLinesAndAnOldFileIsReplaced) {
  AccessRun run;
  run.files.AddFile(kTestFile, "old content that is longer than the new one ...........");
  TestFileAccess(run.report.file(), run.files, kTestFile);
  const auto first = run.report.Lines();
  TestFileAccess(run.report.file(), run.files, kTestFile);
  auto both = run.report.Lines();
  ASSERT_EQ(both.size(), 2 * first.size());
  EXPECT_EQ(std::vector<std::string>(both.begin() + first.size(), both.end()), first);
  EXPECT_EQ(first[3], "   Passed: File contents correct");
}

TEST(FileAccess, FolderWhereCreationFailsGivesOneLine) {
  AccessRun run;
  run.files.failCreateIn.insert(fakes::FakeFileSystem::Key(kFolder));
  EXPECT_THAT(run.Run(), ElementsAre("   FAILED: File creation failed"));
}

TEST(FileAccess, AbsentFolderFailsAtCreation) {
  fakes::FakeFileSystem files;
  testing::CapturedReport report(1);
  TestFileAccess(report.file(), files, "Absent\\az193201.txt");
  EXPECT_THAT(report.Lines(), ElementsAre("   FAILED: File creation failed"));
}

TEST(FileAccess, WriteFailureIsACreationFailureAndLeavesNoFile) {
  AccessRun run;
  run.files.writeBudget = 40;  // the first line fits, the second does not
  EXPECT_THAT(run.Run(), ElementsAre("   FAILED: File creation failed"));
  EXPECT_THAT(run.files.FilesUnder(kFolder), IsEmpty());
}

TEST(FileAccess, WrittenButNotReadableStillDeletes) {
  AccessRun run;
  run.files.failRead.insert(fakes::FakeFileSystem::Key(kTestFile));
  EXPECT_THAT(run.Run(), ElementsAre("   Passed: File creation successful", "Reading file back...",
                                     "   FAILED: Reading file failed", "Deleting file...",
                                     "   Passed: File deletion successful",
                                     "   Passed: C:\\Shared\\Licence\\az193201.txt ...is deleted"));
}

TEST(FileAccess, OnlyTheFirstCharacterOfEachLineCounts) {
  AccessRun run;
  run.files.readsAs[fakes::FakeFileSystem::Key(kTestFile)] = "1x\r\n2\n3 anything";
  const auto lines = run.Run();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[2], "   Passed: File read successful");
  EXPECT_EQ(lines[3], "   Passed: File contents correct");
}

TEST(FileAccess, EmptyOrMissingLinesAreWrongContents) {
  for (const std::string content : {"1\r\n\r\n3\r\n", "1\r\n2\r\n", "", "2\r\n1\r\n3\r\n"}) {
    AccessRun run;
    run.files.readsAs[fakes::FakeFileSystem::Key(kTestFile)] = content;
    const auto lines = run.Run();
    ASSERT_EQ(lines.size(), 7u) << content;
    EXPECT_EQ(lines[2], "   Passed: File read successful") << content;
    EXPECT_EQ(lines[3], "   FAILED: File contents error") << content;
  }
}

TEST(FileAccess, FileThatCannotBeDeletedStays) {
  AccessRun run;
  run.files.failDelete.insert(fakes::FakeFileSystem::Key(kTestFile));
  EXPECT_THAT(run.Run(),
              ElementsAre("   Passed: File creation successful", "Reading file back...",
                          "   Passed: File read successful", "   Passed: File contents correct",
                          "Deleting file...", "   FAILED: File deletion failed",
                          "   FAILED: C:\\Shared\\Licence\\az193201.txt ...is not deleted"));
  EXPECT_THAT(run.files.FilesUnder(kFolder), ElementsAre("az193201.txt"));
}

TEST(FileAccess, AFailedReportWriteLeavesTheTestAndRemovesTheFile) {
  // The report file fails while the tested file works: the error leaves the test, and the test
  // file does not stay behind in the shared folder.
  AccessRun run;
  run.report.storage().writeBudget = 37 + 22 + 5;  // fails inside the read-back step
  EXPECT_THROW(TestFileAccess(run.report.file(), run.files, kTestFile), InOutError);
  EXPECT_THAT(run.report.Lines(), ElementsAre("   Passed: File creation successful",
                                              "Reading file back...", "<no CR LF>    Pa"));
  EXPECT_THAT(run.files.FilesUnder(kFolder), IsEmpty());
}

}  // namespace
}  // namespace vorlix::report
