#include "report/folder_listing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "support/report_lines.h"

namespace vorlix::report {
namespace {

using ::testing::ElementsAre;

struct ListingRun {
  std::vector<std::string> List(const std::string& folder) {
    ListFolder(report.file(), files, folder);
    return report.Lines();
  }
  fakes::FakeFileSystem files;
  testing::CapturedReport report{1};
};

// 1 Jan 2010 00:00:00, the fake's default time: date (30 << 9) | (1 << 5) | 1 = 15393, time 0.
constexpr const char* k2010 = "1008795648";

TEST(FolderListing, EmptySubfolderListsDotAndDotDot) {
  ListingRun run;
  run.files.AddFolder("C:\\Shared\\Empty");
  EXPECT_THAT(
      run.List("C:\\Shared\\Empty"),
      ElementsAre("   Path=C:\\Shared\\Empty\\*.*", "   Files:",
                  std::string("      Time=") + k2010 + " Size=       0 Attr=      16 Name=.",
                  std::string("      Time=") + k2010 + " Size=       0 Attr=      16 Name=.."));
}

TEST(FolderListing, EveryKindOfEntryInTheSystemsOrderWithAlignedNumbers) {
  ListingRun run;
  const std::string d = "C:\\Lic";
  run.files.AddFolder(d);
  run.files.AddFile(d + "\\zeta.dat", std::string(1234, 'z'));
  run.files.AddFile(d + "\\hidden.sys", "", platform::kAttrHidden | platform::kAttrSystem);
  run.files.AddFolder(d + "\\Sub", platform::kAttrDirectory | platform::kAttrArchive);
  run.files.AddFile(d + "\\ro.txt", "", platform::kAttrReadOnly);
  run.files.AddFile(d + "\\LABEL", "", platform::kAttrVolumeLabel);
  run.files.AddFile(d + "\\big.bin", "");
  run.files.Find(d + "\\big.bin")->size = 123456789;
  run.files.AddFile(d + "\\huge.bin", "");
  run.files.Find(d + "\\huge.bin")->size = 3000000000u;  // wraps to a negative 32-bit size
  run.files.AddFile(d + "\\over.bin", "", 0x2000);       // a bit beyond the classic six
  run.files.Find(d + "\\over.bin")->size = (1ull << 32) + 5;
  const std::string t = std::string("      Time=") + k2010;
  EXPECT_THAT(run.List(d), ElementsAre("   Path=C:\\Lic\\*.*",
                                       "   Files:", t + " Size=       0 Attr=      16 Name=.",
                                       t + " Size=       0 Attr=      16 Name=..",
                                       t + " Size=    1234 Attr=      32 Name=zeta.dat",
                                       t + " Size=       0 Attr=       6 Name=hidden.sys",
                                       t + " Size=       0 Attr=      48 Name=Sub",
                                       t + " Size=       0 Attr=       1 Name=ro.txt",
                                       t + " Size=       0 Attr=       8 Name=LABEL",
                                       t + " Size=123456789 Attr=      32 Name=big.bin",
                                       t + " Size=-1294967296 Attr=      32 Name=huge.bin",
                                       t + " Size=       5 Attr=    8192 Name=over.bin"));
}

TEST(FolderListing, TimeIsTheLocalDosDateTimeAsASignedNumber) {
  ListingRun run;
  run.files.AddFolder("C:\\Lic");
  run.files.AddFile("C:\\Lic\\late.txt", "");
  run.files.Find("C:\\Lic\\late.txt")->lastWrite = {97727744u, 33023261u};  // 2050-06-15 12:30:10
  run.files.localBiasSeconds = 3600;
  // Local 13:30:10: time (13 << 11) | (30 << 5) | 5 = 27589, date (70 << 9) | (6 << 5) | 15 =
  // 36047; 36047 << 16 | 27589 is above 2^31 and shows negative.
  EXPECT_EQ(run.List("C:\\Lic").back(),
            "      Time=-1932563515 Size=       0 Attr=      32 Name=late.txt");
}

TEST(FolderListing, TimeOutsideTheDosRangeShowsZero) {
  ListingRun run;
  run.files.AddFolder("C:\\Lic");
  run.files.failDosConversion = true;
  EXPECT_EQ(run.List("C:\\Lic").back(), "      Time=0 Size=       0 Attr=      16 Name=..");
}

TEST(FolderListing, MissingOrAbsentFolderGivesTheTwoHeadLinesOnly) {
  ListingRun run;
  run.List("C:\\Nowhere");
  EXPECT_THAT(run.List("Absent"), ElementsAre("   Path=C:\\Nowhere\\*.*",
                                              "   Files:", "   Path=Absent\\*.*", "   Files:"));
}

TEST(FolderListing, PatternIsCutTo255) {
  ListingRun run;
  const std::string folder = "C:\\" + std::string(250, 'n');
  EXPECT_THAT(run.List(folder), ElementsAre("   Path=" + folder + "\\*", "   Files:"));
}

}  // namespace
}  // namespace vorlix::report
