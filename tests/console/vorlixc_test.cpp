// The real vorlixc.exe under Wine: it gives the real window's text for one machine state, its
// JSON is UTF-8, and its repair commands act on a live mapped drive's registry paths and ini file.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "common/release.h"
#include "fakes/fake_dialogs.h"
#include "report/report_driver.h"
#include "report/report_json.h"
#include "support/file_owners.h"
#include "support/form_idle.h"
#include "support/live_drive.h"
#include "support/patience.h"
#include "support/scratch_files.h"
#include "support/scratch_registry.h"
#include "support/vorlixc_run.h"
#include "support/win32_platform.h"

namespace vorlix::console {
namespace {

using ::testing::HasSubstr;
using testing::Outcome;
using testing::ReadWholeFile;
using testing::Vorlixc;
using testing::VorlixcPath;
using testing::WriteWholeFile;

// A text less its banner line (the second), which carries the time of its run.
std::string WithoutBanner(std::string text) {
  const std::size_t banner = text.find("\r\n") + 2;
  return text.erase(banner, text.find("\r\n", banner) - banner);
}

// One machine state: the family's keys and a folder of real files, removed afterwards.
class WineState : public ::testing::Test {
 protected:
  // Declared first so that they go last, taking along whatever the reports created.
  testing::ScratchKey machineFamily{HKEY_LOCAL_MACHINE, "Software\\Tarnwick"};
  testing::ScratchKey userFamily{HKEY_CURRENT_USER, "Software\\Tarnwick"};
  testing::ScratchKey maker{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Tarnwick"};
  testing::ScratchKey ostrelan{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Ostrelan"};
  testing::ScratchKey user{HKEY_CURRENT_USER, "Software\\Tarnwick\\Tarnwick"};
  std::string root;

  void SetUp() override {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    // A folder of its own per test: Wine keeps ini files it has read in memory by path.
    static int states = 0;
    root = std::string(temp) + "Vorlixc" + std::to_string(::GetCurrentProcessId()) + "_" +
           std::to_string(++states);
    ::CreateDirectoryA(root.c_str(), nullptr);
  }
  void TearDown() override { testing::RemoveTree(root); }

  // Creates the folders of a path under root, or under another folder.
  static std::string Folders(const std::string& base, const std::string& relative) {
    std::string path = base;
    for (std::size_t start = 0; start <= relative.size();) {
      const std::size_t end = std::min(relative.find('\\', start), relative.size());
      path.push_back('\\');
      path.append(relative, start, end - start);
      ::CreateDirectoryA(path.c_str(), nullptr);
      start = end + 1;
    }
    return path;
  }
};

class ContractTest : public WineState {
 protected:
  testing::LiveMappedDrive licenceDrive{'W', "fs3", "licences"};

  void SetUp() override {
    WineState::SetUp();
    maker.SetString("TarnWickPath", Folders(root, "Tarnwick"));
    const std::string program = Folders(root, "Apps\\Ostrelan");
    ostrelan.SetString("Path", program);
    ostrelan.SetString("ProgramName", "Ostrelan 7 f\xfcr Gro\xdf");
    ostrelan.SetString("SectionsFormat", "3");
    user.SetString("TarnWickProjectPath", Folders(root, "Projects"));
    WriteWholeFile(program + "\\Ostrelan.exe", "MZ");
    WriteWholeFile(program + "\\Ostrelan.Ini",
                   "[Ostrelan]\r\nLicenseFolder=W:\\Licence\r\nSeats=5 \x80\r\n");
    // The licence folder on a live mapped drive, so that both resolve its network name. Its
    // test file's name is taken by a folder: the file-access test fails without touching the
    // folder, and the listing shows the same time stamps to both front ends.
    const std::string licence = Folders(licenceDrive.served(), "Licence\\az193201.txt");
    WriteWholeFile(licence + "\\..\\Ostrelan.ini", "[Ostrelan]\r\nSeats=5\r\n");
    WriteWholeFile(licence + "\\..\\licence.dat", std::string(1234, 'L'));
  }
  void TearDown() override {
    testing::RemoveTree(licenceDrive.served());
    WineState::TearDown();
  }

  static std::string WindowMemo(int level) {
    testing::Win32Platform os;
    fakes::FakeDialogs dialogs;
    platform::Platform system = os.With(dialogs);
    report::DiagnosticReport driver(system);
    app::TForm1 form(::GetModuleHandleA(nullptr),
                     {system, driver, nullptr, nullptr, &os.commands()});
    form.Show(SW_SHOWNORMAL);
    for (const auto& [combo, index] :
         {std::pair{app::Control::ComboBox1, 0}, std::pair{app::Control::ComboBox2, level - 1}}) {
      HWND list = form.control(combo);
      ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      ::SendMessageA(form.handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    testing::ClickAndFinish(form, app::Control::CreateBtn);
    EXPECT_TRUE(dialogs.shown.empty());
    return form.MemoText();
  }

  // The text less its banner and with the own program's path lines emptied, once they are
  // checked to name the program that wrote it.
  static std::string Comparable(const std::string& text, const std::string& ownPath) {
    std::string result = WithoutBanner(text);
    for (const std::string prefix : {"\r\n   Path     ='", "\r\n   UNCPath  ='"}) {
      const std::size_t at = result.find(prefix);
      EXPECT_EQ(result.substr(at + prefix.size(), ownPath.size() + 3), ownPath + "'\r\n");
      if (at != std::string::npos) result.erase(at + prefix.size(), ownPath.size());
    }
    return result;
  }
};

TEST_F(ContractTest, VorlixcGivesTheWindowsTextForNormalAndFull) {
  char own[MAX_PATH];
  const std::string testExe(own, ::GetModuleFileNameA(nullptr, own, MAX_PATH));
  for (const int level : {1, 2}) {
    const std::string memo = WindowMemo(level);
    const Outcome run = Vorlixc(level == 2 ? "report ostrelan --full" : "report Ostrelan", root);
    EXPECT_EQ(run.status, 1u) << run.err;  // the licence folder's file-access test fails
    EXPECT_EQ(run.err, "");
    EXPECT_THAT(memo,
                HasSubstr("   FAILED: File creation failed\r\nContents of licence folder..."));
    EXPECT_THAT(memo, HasSubstr("   As UNC:\r\n   Passed: \\\\fs3\\licences\\Licence ...found"));
    EXPECT_EQ(memo.find("Sections file format settings") != std::string::npos, level == 2);
    EXPECT_EQ(Comparable(run.out, VorlixcPath()), Comparable(memo, testExe)) << "level " << level;
  }
  EXPECT_EQ(Vorlixc("--version", root).out,
            "Vorlix " VORLIX_RELEASE "\r\nvorlixc.exe file version " VORLIX_RELEASE ".0.0\r\n");
}

TEST_F(ContractTest, WritersAtTheSameMomentLeaveOneFileForEachReport) {
  constexpr int kWriters = 18;
  const std::string folder = Folders(root, "race");
  const std::string arguments =
      "report --all --out-dir \"" + folder + "\" --json-dir \"" + folder + "\"";
  struct Writer {
    PROCESS_INFORMATION process{};
    HANDLE err = nullptr;
    std::string errName;
  };
  std::vector<Writer> writers(kWriters);
  for (int i = 0; i < kWriters; ++i) {
    Writer& writer = writers[i];
    writer.errName = root + "\\err" + std::to_string(i) + ".txt";
    writer.err = ::CreateFileA(writer.errName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
    // Each run inherits its own standard error only, not those of the runs started before it.
    ::SetHandleInformation(writer.err, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = writer.err;
    start.hStdError = writer.err;
    std::string line = "\"" + VorlixcPath() + "\" " + arguments;
    ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &start, &writer.process));
    ::SetHandleInformation(writer.err, HANDLE_FLAG_INHERIT, 0);
  }
  std::vector<std::string> written;
  for (Writer& writer : writers) {
    ::WaitForSingleObject(writer.process.hProcess, testing::kPatienceMs);
    DWORD status = 0xFFFFFFFF;
    ::GetExitCodeProcess(writer.process.hProcess, &status);
    ::CloseHandle(writer.process.hThread);
    ::CloseHandle(writer.process.hProcess);
    ::CloseHandle(writer.err);
    const std::string err = ReadWholeFile(writer.errName);
    EXPECT_EQ(status, 1u) << err;  // the licence folder's file-access test fails
    for (std::size_t at = 0; (at = err.find("written: ", at)) != std::string::npos;) {
      const std::size_t end = err.find("\r\n", at);
      written.push_back(err.substr(at + 9, end - at - 9));
      at = end;
    }
  }
  // Each run said where its two files went, no name twice, and all of them are there.
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written.size(), 2u * kWriters);
  EXPECT_EQ(std::unique(written.begin(), written.end()), written.end());
  std::vector<std::string> found;
  WIN32_FIND_DATAA entry;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      found.push_back(folder + "\\" + entry.cFileName);
    }
  } while (::FindNextFileA(search, &entry));
  ::FindClose(search);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, written);
  for (const std::string& path : found) {
    if (path.ends_with(".txt")) {
      EXPECT_THAT(ReadWholeFile(path), HasSubstr("End of report")) << path;
    } else {
      EXPECT_NO_THROW(report::json::Read(ReadWholeFile(path))) << path;
    }
  }
}

TEST_F(ContractTest, JsonParsesAndItsLinesJoinToTheReportInUtf8) {
  const std::string json = root + "\\r.json", text = root + "\\r.txt";
  const Outcome run =
      Vorlixc("report Ostrelan --full --out \"" + text + "\" --json \"" + json + "\"", root);
  EXPECT_EQ(run.status, 1u) << run.err;
  // Read back through the one reader of the form, the summary's.
  const report::json::Document report = report::json::Read(ReadWholeFile(json));
  EXPECT_EQ(report.program, "Ostrelan");
  EXPECT_EQ(report.level, "Full");
  EXPECT_EQ(report.release, VORLIX_RELEASE);
  EXPECT_EQ(report.codePage, 1252);
  std::string joined;
  int failed = 0;
  for (const report::json::Line& line : report.lines) {
    joined += line.text + "\r\n";
    const auto check = line.text.starts_with("   Passed: ")   ? report::json::LineCheck::Passed
                       : line.text.starts_with("   FAILED: ") ? report::json::LineCheck::Failed
                                                              : report::json::LineCheck::None;
    EXPECT_EQ(line.check, check) << line.text;
    failed += check == report::json::LineCheck::Failed;
  }
  EXPECT_EQ(report.failed, failed);
  // Code page 1252 as UTF-8: u with diaeresis, sharp s, the euro sign.
  std::string expected = ReadWholeFile(text);
  for (const auto& [ansi, utf8] : {std::pair{"\xfc", "\xc3\xbc"}, std::pair{"\xdf", "\xc3\x9f"},
                                   std::pair{"\x80", "\xe2\x82\xac"}}) {
    for (std::size_t at; (at = expected.find(ansi)) != std::string::npos;) {
      expected.replace(at, 1, utf8);
    }
  }
  EXPECT_EQ(joined, expected);
  EXPECT_THAT(joined, HasSubstr("ProgramName=Ostrelan 7 f\xc3\xbcr Gro\xc3\x9f\r\n"));
  EXPECT_THAT(joined, HasSubstr("Seats=5 \xe2\x82\xac\r\n"));
}

// The family's folders on a live mapped V:, its server ini file on the share, which goes
// afterwards.
class RepairState : public WineState {
 protected:
  testing::LiveMappedDrive drive{'V', "fs2", "collect"};
  const std::string unc = drive.unc();
  std::string ini;

  void SetUp() override {
    WineState::SetUp();
    ini = Folders(drive.served(), "Apps\\Ostrelan") + "\\Ostrelan.Ini";
    ASSERT_TRUE(WriteWholeFile(ini, "[Ostrelan]\r\nLicenseFolder=v:\\Shared\r\n"));
    maker.SetString("TarnwickPath", "V:\\Apps");
    ostrelan.SetString("Path", "V:\\Apps\\Ostrelan");
  }
  void TearDown() override {
    testing::RemoveTree(drive.served());
    WineState::TearDown();
  }
};

TEST_F(RepairState, StoreMapAndConvertWithALiveMappedDrive) {
  // The user's own session stores the map; over an existing one only with --force.
  const std::string map = root + "\\PC042_anna.txt", mapOption = " --map \"" + map + "\"";
  WriteWholeFile(map, "my own map\r\n");
  Outcome run = Vorlixc("store-map" + mapOption, root);
  EXPECT_EQ(run.status, 0u);
  EXPECT_EQ(ReadWholeFile(map), "my own map\r\n");
  run = Vorlixc("store-map --force" + mapOption, root);
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.err, "File :'" + map + "' Created.\r\n");
  EXPECT_EQ(ReadWholeFile(map), "V:=" + unc + "\r\n");

  drive.Unmap();  // the elevated run does not see the letter
  run = Vorlixc("convert Ostrelan --dry-run" + mapOption, root);
  const std::string dry = WithoutBanner(run.out);
  EXPECT_EQ(run.status, 0u) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr("Ostrelan.Ini    " + unc +
                                 "\\Apps\\Ostrelan\\Ostrelan.Ini\r\n"
                                 "[Ostrelan]\r\nLicenseFolder=v:\\Shared\r\n[Ostrelan]\r\n"
                                 "LicenseFolder=" +
                                 unc + "\\Shared\r\n"));
  EXPECT_EQ(maker.GetString("TarnwickPath"), "V:\\Apps");
  EXPECT_EQ(ostrelan.GetString("Path"), "V:\\Apps\\Ostrelan");
  EXPECT_EQ(ReadWholeFile(ini), "[Ostrelan]\r\nLicenseFolder=v:\\Shared\r\n");

  run = Vorlixc("convert Ostrelan --yes" + mapOption, root);
  EXPECT_EQ(run.status, 0u) << run.out << run.err;
  EXPECT_EQ(maker.GetString("TarnwickPath"), unc + "\\Apps");
  EXPECT_EQ(ostrelan.GetString("Path"), unc + "\\Apps\\Ostrelan");
  char licence[MAX_PATH] = {};
  ::GetPrivateProfileStringA("Ostrelan", "LicenseFolder", "", licence, MAX_PATH, ini.c_str());
  EXPECT_EQ(std::string(licence), unc + "\\Shared");
  // The dry run showed, line for line, what the conversion then did.
  EXPECT_EQ(WithoutBanner(run.out) + "Dry run: nothing was written.\r\n", dry);
}

// The elevated conversion writes only what a map that nobody else may change says; the map
// store-map writes is such a map, and --map-owner accepts one other owner.
TEST_F(RepairState, ConvertUsesOnlyAMapNobodyElseMayChange) {
  const std::string map = root + "\\PC042_anna.txt", mapOption = " --map \"" + map + "\"";
  const auto untouched = [&](const char* what) {
    EXPECT_EQ(ostrelan.GetString("Path"), "V:\\Apps\\Ostrelan") << what;
    EXPECT_EQ(ReadWholeFile(ini), "[Ostrelan]\r\nLicenseFolder=v:\\Shared\r\n") << what;
  };
  ASSERT_EQ(Vorlixc("store-map" + mapOption, root).status, 0u);
  drive.Unmap();

  ASSERT_TRUE(testing::LetEveryoneWrite(map));
  Outcome run = Vorlixc("convert Ostrelan --yes" + mapOption, root);
  EXPECT_EQ(run.status, 3u);
  EXPECT_THAT(run.err, HasSubstr("File :'" + map + "' may be changed by Everyone, so nothing"));
  EXPECT_EQ(run.out, "");
  untouched("a map Everyone may write");
  run = Vorlixc("convert Ostrelan --dry-run" + mapOption, root);
  EXPECT_THAT(run.err, HasSubstr("' may be changed by Everyone, so a conversion would not use it"));
  EXPECT_THAT(run.out, HasSubstr("LicenseFolder=" + unc + "\\Shared\r\n"));
  untouched("a dry run");

  ASSERT_TRUE(testing::LetEveryoneWrite(map, false) && testing::GiveToAnotherAccount(map));
  run = Vorlixc("convert Ostrelan --yes" + mapOption, root);
  EXPECT_EQ(run.status, 3u);
  EXPECT_THAT(run.err, HasSubstr("' is owned by " + std::string(testing::kAnotherAccount)));
  untouched("another account's map");
  run = Vorlixc(
      "convert Ostrelan --yes" + mapOption + " --map-owner \"" + testing::kAnotherAccount + "\"",
      root);
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(ostrelan.GetString("Path"), unc + "\\Apps\\Ostrelan");
}

}  // namespace
}  // namespace vorlix::console
