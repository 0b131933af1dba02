#include "report/probes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "platform/errors.h"
#include "support/report_lines.h"

namespace vorlix::report {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Lines = std::vector<std::string>;

struct ProbeRun {
  explicit ProbeRun(int level) : report(level) {}
  fakes::FakeFileSystem files;
  testing::CapturedReport report;
  PathProbes probes{report.file(), files};
};

TEST(FolderCheck, ExistingMissingAndAFileInstead) {
  ProbeRun run(1);
  run.files.AddFolder("C:\\Shared\\Licence");
  run.files.AddFile("C:\\Shared\\Licence\\a.txt", "x");
  run.probes.CheckFolder("C:\\Shared\\Licence");
  run.probes.CheckFolder("C:\\Shared\\Missing");
  run.probes.CheckFolder("C:\\Shared\\Licence\\a.txt");
  run.probes.CheckFolder("Absent");
  EXPECT_THAT(run.report.Lines(), ElementsAre("   Passed: C:\\Shared\\Licence ...found",
                                              "   FAILED: C:\\Shared\\Missing ...is missing",
                                              "   FAILED: C:\\Shared\\Licence\\a.txt ...is missing",
                                              "   FAILED: Absent ...is missing"));
}

TEST(FolderCheck, AbsentIsFoundWhenTheCurrentFolderHoldsIt) {
  ProbeRun run(1);
  run.files.AddFolder("C:\\Work\\Absent");
  run.probes.CheckFolder("Absent");
  EXPECT_THAT(run.report.Lines(), ElementsAre("   Passed: Absent ...found"));
}

TEST(FileCheck, AFolderIsNotAFile) {
  ProbeRun run(1);
  run.files.AddFile("C:\\Prog\\Ostrelan.exe", "MZ");
  run.probes.CheckFile("C:\\Prog\\Ostrelan.exe");
  run.probes.CheckFile("C:\\Prog");
  run.probes.CheckFile("C:\\Prog\\Ostrelan.ini");
  EXPECT_THAT(run.report.Lines(), ElementsAre("   Passed: C:\\Prog\\Ostrelan.exe ...found",
                                              "   FAILED: C:\\Prog ...is missing",
                                              "   FAILED: C:\\Prog\\Ostrelan.ini ...is missing"));
}

TEST(FileCheck, LongPathLosesItsVerdict) {
  ProbeRun run(1);
  const std::string path = "C:\\" + std::string(297, 'p');
  run.probes.CheckFile(path);
  run.probes.CheckFolder(path.substr(0, 250));
  EXPECT_THAT(run.report.Lines(), ElementsAre("   FAILED: " + path.substr(0, 255),
                                              "   FAILED: " + path.substr(0, 250) + " ...i"));
}

TEST(FileSearch, NormalReportShowsOnlyTheVerdict) {
  ProbeRun run(1);
  run.files.AddFolder("C:\\Tarnwick");
  run.probes.SearchEntry("C:\\Tarnwick");
  EXPECT_THAT(run.report.Lines(), ElementsAre("   Passed: C:\\Tarnwick ...search succesful"));
}

TEST(FileSearch, FullReportShowsCreationTimeRawAndWithoutLocalTime) {
  ProbeRun run(2);
  run.files.AddFolder("C:\\Tarnwick");
  // 1 Jan 2010 00:00:00 UTC; a local offset must not change the FAT time.
  run.files.Find("C:\\Tarnwick")->creation = {0x5C6E0000u, 0x01CA8A75u};
  run.files.localBiasSeconds = 3600;
  run.probes.SearchEntry("C:\\Tarnwick");
  // FAT date of 2010-01-01: (30 << 9) | (1 << 5) | 1 = 15393; time 00:00:00 is 0.
  EXPECT_THAT(run.report.Lines(), ElementsAre("   Passed: C:\\Tarnwick ...search succesful",
                                              "   Passed: CreationTime=1550712832:30050933",
                                              "   Passed: FatDateTime=0:15393"));
}

TEST(FileSearch, TimeOfDayComesBeforeTheDate) {
  ProbeRun run(2);
  run.files.AddFile("C:\\Data\\f.txt", "x");
  // 15 Jun 2050 12:30:10 UTC.
  run.files.Find("C:\\Data\\f.txt")->creation = {97727744u, 33023261u};
  run.probes.SearchEntry("C:\\Data\\f.txt");
  // Time (12 << 11) | (30 << 5) | (10 / 2) = 25541; date (70 << 9) | (6 << 5) | 15 = 36047.
  EXPECT_THAT(run.report.Lines(), ElementsAre("   Passed: C:\\Data\\f.txt ...search succesful",
                                              "   Passed: CreationTime=97727744:33023261",
                                              "   Passed: FatDateTime=25541:36047"));
}

TEST(FileSearch, FailedConversionIsALevelTwoFailure) {
  ProbeRun full(2);
  full.files.AddFolder("C:\\Tarnwick");
  full.files.failDosConversion = true;
  full.probes.SearchEntry("C:\\Tarnwick");
  EXPECT_THAT(full.report.Lines(), ElementsAre("   Passed: C:\\Tarnwick ...search succesful",
                                               "   FAILED: FileTimeToDosDateTime ...has failed"));

  ProbeRun normal(1);
  normal.files.AddFolder("C:\\Tarnwick");
  normal.files.failDosConversion = true;
  normal.probes.SearchEntry("C:\\Tarnwick");
  EXPECT_THAT(normal.report.Lines(), ElementsAre("   Passed: C:\\Tarnwick ...search succesful"));
}

TEST(FileSearch, FailuresCarryTheSystemCodeAndTheHint) {
  ProbeRun run(2);
  run.files.AddFolder("C:\\Tarnwick\\Hidden", platform::kAttrHidden);
  run.files.AddFolder("C:\\Tarnwick\\System", platform::kAttrSystem);
  run.probes.SearchEntry("C:\\Tarnwick\\Hidden");
  run.probes.SearchEntry("C:\\Tarnwick\\System");
  run.probes.SearchEntry("C:\\");
  run.probes.SearchEntry("Absent");
  run.probes.SearchEntry("C:\\Nowhere\\Absent");
  const Lines lines = run.report.Lines();
  EXPECT_THAT(
      lines,
      ElementsAre(
          "   FAILED: C:\\Tarnwick\\Hidden ...search failed Reply=18 - Check that folder is not "
          "topmost",
          "   FAILED: C:\\Tarnwick\\System ...search failed Reply=18 - Check that folder is not "
          "topmost",
          "   FAILED: C:\\ ...search failed Reply=2 - Check that folder is not topmost",
          "   FAILED: Absent ...search failed Reply=2 - Check that folder is not topmost",
          "   FAILED: C:\\Nowhere\\Absent ...search failed Reply=3 - Check that folder is not "
          "topmost"));
}

TEST(FileSearch, ReadOnlyAndArchivedEntriesAreAccepted) {
  ProbeRun run(1);
  run.files.AddFile("C:\\Tarnwick\\ReadOnly.txt", "x",
                    platform::kAttrReadOnly | platform::kAttrArchive);
  run.probes.SearchEntry("C:\\Tarnwick\\ReadOnly.txt");
  EXPECT_THAT(run.report.Lines(),
              ElementsAre("   Passed: C:\\Tarnwick\\ReadOnly.txt ...search succesful"));
}

TEST(PlainEntrySearch, SkipsHiddenSystemAndVolumeEntriesAndReportsTheEndCode) {
  fakes::FakeFileSystem files;
  files.AddFolder("D:\\");
  files.AddFile("D:\\h.txt", "x", platform::kAttrHidden);
  files.AddFile("D:\\v", "", platform::kAttrVolumeLabel);
  files.AddFile("D:\\s.txt", "x", platform::kAttrSystem);
  files.AddFolder("D:\\Plain");
  const EntrySearch first = FindPlainEntry(files, "D:\\*.*");
  ASSERT_TRUE(first.entry);
  EXPECT_EQ(first.result, 0u);
  EXPECT_EQ(first.entry->name, "Plain");

  const EntrySearch hidden = FindPlainEntry(files, "D:\\h.txt");
  EXPECT_FALSE(hidden.entry);
  EXPECT_EQ(hidden.result, 18u);

  const EntrySearch missing = FindPlainEntry(files, "D:\\none\\x");
  EXPECT_FALSE(missing.entry);
  EXPECT_EQ(missing.result, 3u);
}

TEST(DriveComparison, SameDriveOrServerPasses) {
  ProbeRun run(1);
  run.probes.CompareDrives("c:\\a", "C:\\b");
  run.probes.CompareDrives("\\\\srv\\x\\a", "\\\\SRV\\y\\b");
  run.probes.CompareDrives("S:\\a", "\\\\srv\\x");
  run.probes.CompareDrives("Absent", "Absent\\Ostrelan.exe");
  EXPECT_THAT(run.report.Lines(),
              ElementsAre("   Passed: 'C:' = 'C:'", "   Passed: '\\\\SRV' = '\\\\SRV'",
                          "   FAILED: 'S:' <> '\\\\SRV'", "   Passed: '' = ''"));
}

TEST(FileNameFromParts, JoinsWithoutMendingAndCutsTo255) {
  EXPECT_EQ(FileNameFromParts("C:\\Prog", "Ostrelan", "exe"), "C:\\Prog\\Ostrelan.exe");
  EXPECT_EQ(FileNameFromParts("C:\\Prog\\", "Ostrelan", "ini"), "C:\\Prog\\\\Ostrelan.ini");
  EXPECT_EQ(FileNameFromParts("", "Gaspin", "exe"), "\\Gaspin.exe");
  const std::string folder(250, 'f');
  EXPECT_EQ(FileNameFromParts(folder, "Ostrelan", "exe"), folder + "\\Ostr");
}

TEST(Probes, AFailedReportWriteLeavesTheProbe) {
  ProbeRun run(1);
  run.report.storage().writeBudget = 5;
  EXPECT_THROW(run.probes.CheckFolder("C:\\Work"), InOutError);
  EXPECT_THAT(run.report.Lines(), ElementsAre("<no CR LF>    Pa"));
}

}  // namespace
}  // namespace vorlix::report
