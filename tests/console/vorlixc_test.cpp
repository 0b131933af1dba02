// The real vorlixc.exe under Wine: it gives the real window's text for one machine state, and
// its commands act on Wine's registry, ini functions and files.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "fakes/fake_dialogs.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_network_names.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"
#include "report/report_driver.h"
#include "support/live_drive.h"
#include "win32/scratch_files.h"
#include "win32/scratch_registry.h"

namespace vorlix::console {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::ScratchKey;

struct Outcome {
  DWORD status = 0xFFFFFFFF;
  std::string out;
  std::string err;
};

std::string ReadBack(const std::string& path) {
  platform::win32::Win32FileSystem files;
  return files.FileExists(path) ? files.ReadAll(path) : "<missing>";
}

std::string VorlixcPath() {
  std::string path = "Z:" + std::string(VORLIXC_EXE);
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

// Runs vorlixc.exe with its standard output and error in files of their own.
Outcome Vorlixc(const std::string& arguments, const std::string& scratch) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const std::string outName = scratch + "\\stdout.bin", errName = scratch + "\\stderr.bin";
  HANDLE out = ::CreateFileA(outName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
  HANDLE err = ::CreateFileA(errName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = out;
  start.hStdError = err;
  PROCESS_INFORMATION process{};
  std::string line = "\"" + VorlixcPath() + "\" " + arguments;
  Outcome outcome;
  if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                       &process)) {
    ::WaitForSingleObject(process.hProcess, 60000);
    ::GetExitCodeProcess(process.hProcess, &outcome.status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(out);
  ::CloseHandle(err);
  outcome.out = ReadBack(outName);
  outcome.err = ReadBack(errName);
  ::DeleteFileA(outName.c_str());
  ::DeleteFileA(errName.c_str());
  return outcome;
}

// One machine state: the family's keys and a folder of real files, removed afterwards.
class WineState : public ::testing::Test {
 protected:
  // Declared first so that they go last: they take along whatever the reports created.
  ScratchKey machineFamily{HKEY_LOCAL_MACHINE, "Software\\Tarnwick"};
  ScratchKey userFamily{HKEY_CURRENT_USER, "Software\\Tarnwick"};
  ScratchKey maker{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Tarnwick"};
  ScratchKey ostrelan{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Ostrelan"};
  ScratchKey user{HKEY_CURRENT_USER, "Software\\Tarnwick\\Tarnwick"};
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

  std::string Folder(const std::string& relative) {
    std::string path = root;
    std::size_t start = 0;
    while (start <= relative.size()) {
      const std::size_t end = std::min(relative.find('\\', start), relative.size());
      path.push_back('\\');
      path.append(relative, start, end - start);
      ::CreateDirectoryA(path.c_str(), nullptr);
      start = end + 1;
    }
    return path;
  }
  std::string File(const std::string& relative, const std::string& content) {
    const std::string path = root + "\\" + relative;
    EXPECT_TRUE(testing::WriteWholeFile(path, content)) << path;
    return path;
  }
};

class ContractTest : public WineState {
 protected:
  testing::LiveMappedDrive licenceDrive{'W', "fs3", "licences"};

  void TearDown() override {
    testing::RemoveTree(licenceDrive.served());
    WineState::TearDown();
  }
  void SetUp() override {
    WineState::SetUp();
    maker.SetString("TarnWickPath", Folder("Tarnwick"));
    const std::string program = Folder("Apps\\Ostrelan");
    ostrelan.SetString("Path", program);
    ostrelan.SetString("ProgramName",
                       "Ostrelan 7 f\xfcr Gr\xfc\xdf"
                       "e");
    ostrelan.SetString("SectionsFormat", "3");
    File("Apps\\Ostrelan\\Ostrelan.exe", "MZ");
    // The licence folder on a live mapped drive, so that both front ends resolve its network name.
    const std::string served = licenceDrive.served() + "\\Licence";
    ASSERT_TRUE(::CreateDirectoryA(served.c_str(), nullptr));
    File("Apps\\Ostrelan\\Ostrelan.Ini",
         "[Ostrelan]\r\nLicenseFolder=W:\\Licence\r\nSeats=5 \x80\r\n");
    ASSERT_TRUE(testing::WriteWholeFile(served + "\\Ostrelan.ini", "[Ostrelan]\r\nSeats=5\r\n"));
    ASSERT_TRUE(testing::WriteWholeFile(served + "\\licence.dat", std::string(1234, 'L')));
    // The test file's name taken by a folder: the file-access test fails without touching the
    // folder, so that its listing shows the same time stamps to both front ends.
    ASSERT_TRUE(::CreateDirectoryA((served + "\\az193201.txt").c_str(), nullptr));
    user.SetString("TarnWickProjectPath", Folder("Projects"));
  }

  std::string WindowMemo(int level) {
    platform::win32::Win32FileSystem files;
    platform::win32::Win32Registry registry;
    platform::win32::Win32PrivateProfile profile;
    platform::win32::Win32NetworkNames network;
    platform::win32::Win32Clock clock;
    fakes::FakeDialogs dialogs;
    platform::Platform system{files, registry, profile, network, dialogs, clock};
    report::DiagnosticReport driver(system);
    app::TForm1 form(::GetModuleHandleA(nullptr), {system, driver, nullptr, nullptr});
    form.Show(SW_SHOWNORMAL);
    Choose(form, app::Control::ComboBox1, 0);
    Choose(form, app::Control::ComboBox2, level - 1);
    ::SendMessageA(form.control(app::Control::CreateBtn), BM_CLICK, 0, 0);
    EXPECT_TRUE(dialogs.shown.empty());
    return form.MemoText();
  }

  static void Choose(app::TForm1& form, app::Control combo, int index) {
    HWND list = form.control(combo);
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(form.handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
  }

  // The text with the banner's date and time and the own program's path lines taken out, after
  // checking that those lines name the program that wrote the text.
  static std::string Comparable(const std::string& text, const std::string& ownPath) {
    std::string result;
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
      std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (number == 2) {
        EXPECT_EQ(line.rfind("Vorlix  -  Tarnwick network diagnostic tool  -  ", 0), 0u) << line;
        line = "<banner>";
      }
      for (const char* prefix : {"   Path     ='", "   UNCPath  ='"}) {
        if (line.rfind(prefix, 0) != 0) continue;
        EXPECT_EQ(line, prefix + ownPath + "'");
        line = prefix;
      }
      result += line + "\r\n";
      start = end + 2;
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
    ASSERT_THAT(memo, HasSubstr("Contents of licence folder...\r\n"));
    EXPECT_THAT(memo, HasSubstr("   FAILED: File creation failed\r\n"));
    EXPECT_THAT(memo,
                HasSubstr("   As UNC:\r\n   Passed: \\\\fs3\\licences\\Licence ...found\r\n"));
    EXPECT_EQ(memo.find("Sections file format settings") != std::string::npos, level == 2);
    EXPECT_EQ(Comparable(run.out, VorlixcPath()), Comparable(memo, testExe)) << "level " << level;
  }
}

TEST_F(ContractTest, JsonIsUtf8FromTheAnsiCodePage) {
  const std::string json = root + "\\report.json";
  const Outcome run = Vorlixc(
      "report Ostrelan --full --out \"" + root + "\\report.txt\" --json \"" + json + "\"", root);
  EXPECT_EQ(run.status, 1u) << run.err;
  EXPECT_EQ(run.out, "");
  const std::string text = ReadBack(json);
  EXPECT_THAT(text, HasSubstr("Ostrelan 7 f\xc3\xbcr Gr\xc3\xbc\xc3\x9f"
                              "e"));
  EXPECT_THAT(text, HasSubstr("Seats=5 \xe2\x82\xac\", \"check\": \"passed\"}"));
  EXPECT_THAT(text, Not(HasSubstr("\xfc")));
  EXPECT_THAT(ReadBack(root + "\\report.txt"), HasSubstr("Ostrelan 7 f\xfcr Gr\xfc\xdf"
                                                         "e\r\n"));
}

TEST_F(WineState, ExitStatusesVersionAndOutDirOfTheRealProgram) {
  ostrelan.SetString("Path", root + "\\nowhere");
  const std::string reports = Folder("Reports");
  struct Row {
    std::string arguments;
    DWORD status;
    const char* out;
    const char* err;
  };
  const Row rows[] = {
      {"--version", 0, "Vorlix 1.32\r\nvorlixc.exe file version 1.32.0.0\r\n", ""},
      {"", 2, "", "vorlixc: no command given\r\nUsage:\r\n"},
      {"report Ostrelan --out-dir \"" + reports + "\"", 1, "", "vorlixc: written: "},
      {"report Ostrelan --out-dir \"" + reports + "\"", 1, "", "vorlixc: written: "},
      {"report Ostrelan --out \"" + root + "\\none\\r.txt\"", 3, "", "vorlixc: cannot write '"},
      {"store-map --map \"" + root + "\\none\\map.txt\"", 3, "", "map.txt"},
      {"convert Ostrelan --yes --map \"" + root + "\\none.txt\"", 3, "", "' is missing.\r\n"},
  };
  for (const Row& row : rows) {
    const Outcome run = Vorlixc(row.arguments, root);
    EXPECT_EQ(run.status, row.status) << row.arguments << "\n" << run.err;
    EXPECT_EQ(run.out.substr(0, std::string(row.out).size() + 1), row.out) << row.arguments;
    EXPECT_THAT(run.err, HasSubstr(row.err)) << row.arguments;
  }
  EXPECT_EQ(testing::Matching(reports + "\\*_Ostrelan_*.txt").size(), 2u);  // none overwritten
  EXPECT_TRUE(testing::Matching(root + "\\none*").empty());
}

TEST_F(WineState, StoreMapAndConvertWithALiveMappedDrive) {
  testing::LiveMappedDrive drive('V', "fs2", "collect");
  const std::string share = drive.served(), unc = drive.unc();
  struct Cleanup {
    std::string share;
    ~Cleanup() { testing::RemoveTree(share); }
  } cleanup{share};
  ASSERT_TRUE(::CreateDirectoryA((share + "\\Apps").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA((share + "\\Apps\\Ostrelan").c_str(), nullptr));
  const std::string ini = share + "\\Apps\\Ostrelan\\Ostrelan.Ini";
  ASSERT_TRUE(testing::WriteWholeFile(ini, "[Ostrelan]\r\nLicenseFolder=v:\\Shared\r\n"));
  maker.SetString("TarnwickPath", "V:\\Apps");
  ostrelan.SetString("Path", "V:\\Apps\\Ostrelan");

  // The user's normal session stores the map; an existing one only with --force.
  const std::string map = root + "\\PC042_anna.txt";
  const std::string mapOption = " --map \"" + map + "\"";
  File("PC042_anna.txt", "my own map\r\n");
  Outcome run = Vorlixc("store-map" + mapOption, root);
  EXPECT_EQ(run.status, 0u);
  EXPECT_THAT(run.err, HasSubstr("exists and was kept"));
  EXPECT_EQ(ReadBack(map), "my own map\r\n");
  run = Vorlixc("store-map --force" + mapOption, root);
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.err, "File :'" + map + "' Created.\r\n");
  EXPECT_EQ(ReadBack(map), "V:=" + unc + "\r\n");

  // The elevated run no longer sees the letter.
  drive.Unmap();
  const auto withoutBanner = [](std::string text) {
    const std::size_t banner = text.find("\r\n") + 2;
    return text.erase(banner, text.find("\r\n", banner) - banner);
  };
  run = Vorlixc("convert Ostrelan --dry-run" + mapOption, root);
  const std::string dry = withoutBanner(run.out);
  EXPECT_EQ(run.status, 0u) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr("TarnwickPath=V:\\Apps\r\nHKEY_LOCAL_MACHINE\\Software\\Tarnwick\\"
                                 "Tarnwick\\TarnwickPath=" +
                                 unc + "\\Apps\r\n"));
  EXPECT_THAT(run.out, HasSubstr("Ostrelan.Ini    " + unc + "\\Apps\\Ostrelan\\Ostrelan.Ini\r\n"));
  EXPECT_THAT(run.out, HasSubstr("LicenseFolder=v:\\Shared\r\n[Ostrelan]\r\nLicenseFolder=" + unc +
                                 "\\Shared\r\n"));
  EXPECT_TRUE(run.out.ends_with("\r\nDry run: nothing was written.\r\n"));
  EXPECT_EQ(maker.GetString("TarnwickPath"), "V:\\Apps");
  EXPECT_EQ(ostrelan.GetString("Path"), "V:\\Apps\\Ostrelan");
  EXPECT_EQ(ReadBack(ini), "[Ostrelan]\r\nLicenseFolder=v:\\Shared\r\n");

  run = Vorlixc("convert Ostrelan --yes" + mapOption, root);
  EXPECT_EQ(run.status, 0u) << run.out << run.err;
  EXPECT_EQ(maker.GetString("TarnwickPath"), unc + "\\Apps");
  EXPECT_EQ(ostrelan.GetString("Path"), unc + "\\Apps\\Ostrelan");
  char licence[MAX_PATH] = {};
  ::GetPrivateProfileStringA("Ostrelan", "LicenseFolder", "", licence, MAX_PATH, ini.c_str());
  EXPECT_EQ(std::string(licence), unc + "\\Shared");
  // The dry run showed what the conversion then did, line for line.
  EXPECT_EQ(withoutBanner(run.out) + "Dry run: nothing was written.\r\n", dry);
}

}  // namespace
}  // namespace vorlix::console
