// The real vorlixc.exe under Wine: it gives the real window's text for one machine state, its
// JSON is UTF-8, and its repair commands act on a live mapped drive's registry paths and ini file.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/main_form.h"
#include "fakes/fake_dialogs.h"
#include "platform/win32/win32_system.h"
#include "report/report_driver.h"
#include "summary/json_reader.h"
#include "support/form_idle.h"
#include "support/live_drive.h"
#include "support/scratch_files.h"
#include "support/scratch_registry.h"
#include "support/vorlixc_run.h"

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
    platform::win32::Win32System os;
    fakes::FakeDialogs dialogs;
    platform::Platform system = os.With(dialogs);
    report::DiagnosticReport driver(system);
    app::TForm1 form(::GetModuleHandleA(nullptr),
                     {system, driver, nullptr, nullptr, &os.outages()});
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
  EXPECT_EQ(Vorlixc("--version", root).out, "Vorlix 1.32\r\nvorlixc.exe file version 1.32.0.0\r\n");
}

TEST_F(ContractTest, JsonParsesAndItsLinesJoinToTheReportInUtf8) {
  const std::string json = root + "\\r.json", text = root + "\\r.txt";
  const Outcome run =
      Vorlixc("report Ostrelan --full --out \"" + text + "\" --json \"" + json + "\"", root);
  EXPECT_EQ(run.status, 1u) << run.err;
  // Read by the summary's reader, which takes these files in.
  const summary::JsonValue report = summary::ParseJson(ReadWholeFile(json));
  const auto member = [](const summary::JsonValue& object, std::string_view name) {
    const summary::JsonValue* value = object.Find(name);
    return value ? *value : summary::JsonValue();
  };
  EXPECT_EQ(member(report, "program").text(), "Ostrelan");
  EXPECT_EQ(member(report, "level").text(), "Full");
  EXPECT_EQ(member(report, "release").text(), "1.32");
  std::string joined;
  int failed = 0;
  const summary::JsonValue lines = member(report, "lines");
  for (const summary::JsonValue& line : lines.items()) {
    const std::string said = member(line, "text").text();
    joined += said + "\r\n";
    const char* check = said.starts_with("   Passed: ")   ? "passed"
                        : said.starts_with("   FAILED: ") ? "failed"
                                                          : "";
    EXPECT_EQ(member(line, "check").text(), check) << said;
    EXPECT_EQ(member(line, "check").IsNull(), *check == '\0') << said;
    failed += *check == 'f';
  }
  EXPECT_EQ(member(report, "failed").number(), failed);
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

TEST_F(WineState, StoreMapAndConvertWithALiveMappedDrive) {
  testing::LiveMappedDrive drive('V', "fs2", "collect");
  struct Cleanup {
    std::string share;
    ~Cleanup() { testing::RemoveTree(share); }
  } cleanup{drive.served()};
  const std::string unc = drive.unc();
  const std::string ini = Folders(drive.served(), "Apps\\Ostrelan") + "\\Ostrelan.Ini";
  ASSERT_TRUE(WriteWholeFile(ini, "[Ostrelan]\r\nLicenseFolder=v:\\Shared\r\n"));
  maker.SetString("TarnwickPath", "V:\\Apps");
  ostrelan.SetString("Path", "V:\\Apps\\Ostrelan");

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

}  // namespace
}  // namespace vorlix::console
