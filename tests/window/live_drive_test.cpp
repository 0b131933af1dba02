// The two-step repair with a live mapped drive, through the real vorlix.exe as a user runs it:
// a normal run from the mapped drive reports and stores the drive map, then a run that no longer
// sees the letter (as under "Run as administrator") converts the stored paths.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "support/file_owners.h"
#include "support/live_drive.h"
#include "support/scratch_files.h"
#include "support/scratch_registry.h"
#include "support/vorlix_run.h"

namespace vorlix::app {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using Lines = std::vector<std::string>;
using testing::VorlixRun;

Lines SplitLines(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

// The count lines that follow the first line equal to `heading`.
Lines After(const Lines& lines, const std::string& heading, std::size_t count) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == heading) {
      return Lines(
          lines.begin() + static_cast<std::ptrdiff_t>(i + 1),
          lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), i + 1 + count)));
    }
  }
  ADD_FAILURE() << "no line " << heading;
  return {};
}

std::string BuiltExe() {
  char own[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own, length);
  path = path.substr(0, path.find_last_of('\\'));  // ...\tests
  return path.substr(0, path.find_last_of('\\')) + "\\vorlix.exe";
}

bool CopyWhole(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

TEST(LiveMappedDrive, ReportStoreAndConvertThroughTheRealWindow) {
  testing::LiveMappedDrive drive('T', "fs1", "shared");
  const std::string share = drive.served();
  const std::string server = share.substr(0, share.find_last_of('\\'));
  struct Cleanup {
    std::string server;
    ~Cleanup() { testing::RemoveTree(server); }
  } cleanup{server};
  for (const char* folder : {"\\x", "\\Apps", "\\Apps\\Ostrelan", "\\Shared"}) {
    ASSERT_TRUE(::CreateDirectoryA((share + folder).c_str(), nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
  }
  ASSERT_TRUE(CopyWhole(BuiltExe(), share + "\\x\\vorlix.exe"));
  ASSERT_TRUE(testing::WriteWholeFile(share + "\\Apps\\Ostrelan\\Ostrelan.exe", "MZ\r\n"));
  ASSERT_TRUE(testing::WriteWholeFile(share + "\\Apps\\Ostrelan\\Ostrelan.Ini",
                                      "[Ostrelan]\r\nLicenseFolder=T:\\Shared\r\n"));
  testing::ScratchKey maker(HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Tarnwick");
  testing::ScratchKey ostrelan(HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Ostrelan");
  maker.SetString("TarnWickPath", "T:\\Apps");
  ostrelan.SetString("Path", "T:\\Apps\\Ostrelan");
  const std::string unc = drive.unc();

  {  // The user's normal run, started from the mapped drive.
    VorlixRun run("T:\\x\\vorlix.exe");
    ASSERT_TRUE(run.started()) << run.error();
    run.Choose(Control::ComboBox1, 0);
    run.Choose(Control::ComboBox2, 1);
    run.Press(Control::CreateBtn);
    const Lines report = SplitLines(run.Memo());
    EXPECT_THAT(After(report, "Vorlix.exe", 4),
                ElementsAre("   Path     ='T:\\x\\vorlix.exe'", "   Drive    ='T:'",
                            "   UNCPath  ='" + unc + "\\x\\vorlix.exe'", "   UNCDrive ='\\\\FS1'"));
    EXPECT_THAT(After(report, "Checking licence folder...", 4),
                ElementsAre("   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=T:\\Shared",
                            "   Passed: T:\\Shared ...found",
                            "   As UNC:", "   Passed: " + unc + "\\Shared ...found"));
    EXPECT_THAT(
        After(report, "Checking licence folder drive...", 3),
        ElementsAre("   Passed: 'T:' = 'T:'", "   As UNC:", "   Passed: '\\\\FS1' = '\\\\FS1'"));

    run.Click(Control::SaveDriveMapBtn);
    EXPECT_EQ(run.Answer(IDOK), "File :'T:\\x\\vorlix.txt' Created.");
    EXPECT_TRUE(run.lastBoxWasTheWindows);
    EXPECT_EQ(testing::ReadWholeFile(share + "\\x\\vorlix.txt"), "T:=" + unc + "\r\n");

    run.lastBoxWasTheWindows = false;
    run.Click(Control::SaveAsBtn);
    run.Answer(IDCANCEL);
    EXPECT_TRUE(run.lastBoxWasTheWindows);  // the file dialog too
  }

  // The letter is gone; the same exe is started by another of its names.
  drive.Unmap();
  ASSERT_EQ(::GetFileAttributesA("T:\\x\\vorlix.exe"), INVALID_FILE_ATTRIBUTES);
  VorlixRun run(share + "\\x\\vorlix.exe");
  ASSERT_TRUE(run.started()) << run.error();
  run.Choose(Control::ComboBox1, 0);
  // A map that others may change is refused with the file and who may change it.
  const std::string map = share + "\\x\\vorlix.txt";
  ASSERT_TRUE(testing::LetEveryoneWrite(map));
  run.Click(Control::UNCBtn);
  EXPECT_THAT(run.Answer(IDYES), ::testing::HasSubstr("Run as administrator"));
  EXPECT_THAT(run.Answer(IDOK),
              ::testing::StartsWith("File :'" + map + "' may be changed by Everyone, so nothing"));
  EXPECT_TRUE(run.lastBoxWasTheWindows);
  run.WaitForCommand();
  EXPECT_EQ(ostrelan.GetString("Path"), "T:\\Apps\\Ostrelan");
  ASSERT_TRUE(testing::LetEveryoneWrite(map, false));
  run.Click(Control::UNCBtn);
  EXPECT_THAT(run.Answer(IDYES), ::testing::HasSubstr("Run as administrator"));
  EXPECT_TRUE(run.lastBoxWasTheWindows);
  const Lines conversion = SplitLines(run.Memo());
  EXPECT_THAT(conversion, Contains("T:=" + unc));
  EXPECT_EQ(maker.GetString("TarnwickPath"), unc + "\\Apps");
  EXPECT_EQ(ostrelan.GetString("Path"), unc + "\\Apps\\Ostrelan");
  char licence[MAX_PATH] = {};
  ::GetPrivateProfileStringA("Ostrelan", "LicenseFolder", "", licence, MAX_PATH,
                             (share + "\\Apps\\Ostrelan\\Ostrelan.Ini").c_str());
  EXPECT_EQ(std::string(licence), unc + "\\Shared");

  run.Choose(Control::ComboBox2, 1);
  run.Press(Control::CreateBtn);
  const Lines report = SplitLines(run.Memo());
  EXPECT_THAT(After(report, "Checking TarnwickPath...", 1),
              ElementsAre("   Passed: " + unc + "\\Apps ...found"));
  EXPECT_THAT(After(report, "Checking program path...", 1),
              ElementsAre("   Passed: " + unc + "\\Apps\\Ostrelan ...found"));
  EXPECT_THAT(After(report, "Checking licence folder...", 2),
              ElementsAre("   Passed: Ostrelan.ini [Ostrelan] LicenseFolder=" + unc + "\\Shared",
                          "   Passed: " + unc + "\\Shared ...found"));
  EXPECT_THAT(report, Contains("   Passed: File creation successful"));
}

}  // namespace
}  // namespace vorlix::app
