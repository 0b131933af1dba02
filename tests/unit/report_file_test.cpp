#include "report/report_file.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_platform.h"
#include "platform/errors.h"
#include "report/temp_report.h"
#include "support/report_text.h"

namespace vorlix::report {
namespace {

using testing::LevelGuard;

std::string Written(int reportLevel, int lineLevel, const std::string& message, bool passed) {
  LevelGuard guard;
  fakes::FakeFileSystem files;
  ReportLevel = reportLevel;
  ReportFile file(files.CreateText("C:\\Work\\r.txt"));
  WriteCheckLine(file, lineLevel, message, passed);
  file.Close();
  return files.ReadAll("C:\\Work\\r.txt");
}

TEST(CheckLine, LevelDecidesWhetherTheLineIsWritten) {
  EXPECT_EQ(Written(1, 2, "x", true), "");
  EXPECT_EQ(Written(1, 1, "x", true), "   Passed: x\r\n");
  EXPECT_EQ(Written(2, 2, "x", false), "   FAILED: x\r\n");
  EXPECT_EQ(Written(2, 1, "x", true), "   Passed: x\r\n");
}

TEST(CheckLine, EmptyMessageKeepsTheTrailingSpace) {
  EXPECT_EQ(Written(1, 1, "", true), "   Passed: \r\n");
  EXPECT_EQ(Written(1, 1, "", false), "   FAILED: \r\n");
}

TEST(CheckLine, MessageIsCutTo255BeforeThePrefix) {
  const std::string longMessage = std::string(250, 'a') + "bcdefghij";
  EXPECT_EQ(Written(1, 1, longMessage, true), "   Passed: " + longMessage.substr(0, 255) + "\r\n");
}

TEST(ReportFile, FailedWriteRaisesInOutErrorWithTheSystemCode) {
  fakes::FakeFileSystem files;
  ReportFile file(files.CreateText("C:\\Work\\r.txt"));
  files.writeBudget = 3;
  try {
    file.WriteLine("too long");
    FAIL() << "no error";
  } catch (const InOutError& error) {
    EXPECT_EQ(error.code(), files.writeError);
    EXPECT_NE(std::string(error.what()).find(std::to_string(files.writeError)), std::string::npos);
  }
}

TEST(PathDrive, ExamplesFromTheDriveTable) {
  EXPECT_EQ(PathDrive("c:\\program files\\x.exe"), "C:");
  EXPECT_EQ(PathDrive("\\\\server\\share\\folder\\x.exe"), "\\\\SERVER");
  EXPECT_EQ(PathDrive("\\\\server\\share"), "\\\\SERVER");
  EXPECT_EQ(PathDrive("\\\\server\\share\\"), "\\\\SERVER");
  EXPECT_EQ(PathDrive("\\\\server"), "");
  EXPECT_EQ(PathDrive("folder\\x.exe"), "");
  EXPECT_EQ(PathDrive("\\folder"), "");
  EXPECT_EQ(PathDrive("x:"), "X:");
  EXPECT_EQ(PathDrive("1:\\x"), "1:");
  EXPECT_EQ(PathDrive("\\\\"), "");
  EXPECT_EQ(PathDrive("\\\\\\\\"), "");
  EXPECT_EQ(PathDrive(""), "");
}

TEST(NumberTexts, SignedUnsignedAndRightAligned) {
  EXPECT_EQ(UnsignedText(4294967295u), "4294967295");
  EXPECT_EQ(SignedText(-18), "-18");
  EXPECT_EQ(SignedText8(1234), "    1234");
  EXPECT_EQ(SignedText8(-1), "      -1");
  EXPECT_EQ(SignedText8(123456789), "123456789");
  EXPECT_EQ(SignedText8(-2147483647 - 1), "-2147483648");
}

TEST(Banner, DateAndTimeButNoTimeAtMidnight) {
  fakes::FakeClock clock;
  clock.now = {2026, 3, 4, 5, 6, 7, 0};
  EXPECT_EQ(BannerLine(clock), "Vorlix  -  Tarnwick network diagnostic tool  -  4/3/2026 05:06:07");
  clock.now = {2026, 3, 4, 0, 0, 0, 0};
  EXPECT_EQ(BannerLine(clock), "Vorlix  -  Tarnwick network diagnostic tool  -  4/3/2026");
  clock.now = {2026, 3, 4, 0, 0, 0, 1};
  EXPECT_EQ(DateTimeText(clock), "4/3/2026 00:00:00");
}

TEST(TempReport, TextComesBackAndNoFileRemains) {
  fakes::FakeFileSystem files;
  const std::string text = WriteThroughTempFile(files, [](ReportFile& f) {
    f.WriteLine("a");
    f.WriteLine("");
  });
  EXPECT_EQ(text, "a\r\n\r\n");
  EXPECT_TRUE(files.FilesUnder("C:\\Temp").empty());
}

TEST(TempReport, TextIsWhatTheFileTook) {
  fakes::FakeFileSystem files;
  const std::string kept = "C:\\Temp\\Kx1.tmp";  // the first name, left in place here
  files.failDelete.insert(fakes::FakeFileSystem::Key(kept));
  const std::string text = WriteThroughTempFile(files, [](ReportFile& f) {
    for (int i = 0; i < 3000; ++i) f.WriteLine("line " + std::to_string(i));
  });
  ASSERT_NE(files.Find(kept), nullptr);
  EXPECT_EQ(text, files.Find(kept)->content);
  EXPECT_EQ(text.substr(text.size() - 11), "line 2999\r\n");
}

TEST(TempReport, FileIsDeletedWhenTheReportIsCutShort) {
  fakes::FakeFileSystem files;
  EXPECT_THROW(WriteThroughTempFile(files,
                                    [](ReportFile& f) {
                                      f.WriteLine("a");
                                      throw std::runtime_error("cut");
                                    }),
               std::runtime_error);
  EXPECT_TRUE(files.FilesUnder("C:\\Temp").empty());
}

TEST(TempReport, NamesAreFreshAndCarryThePrefix) {
  fakes::FakeFileSystem files;
  const std::string first = NewTempFileName(files);
  const std::string second = NewTempFileName(files);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind("C:\\Temp\\Kx", 0), 0u);
  EXPECT_TRUE(files.FileExists(first));
}

}  // namespace
}  // namespace vorlix::report
