// Whole reports against Wine's real registry, ini functions and file system, for machine states
// built in the test's own prefix. Expected lines are written out from the report's format; only
// values the system decides (paths of this run, time stamps) are asked of the system here.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_dialogs.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_network_names.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"
#include "report/report_driver.h"
#include "report/temp_report.h"
#include "support/expected_reports.h"
#include "support/scratch_files.h"

namespace vorlix::report {
namespace {

using testing::After;
using testing::InstalledReport;
using testing::kBanner;
using testing::Lines;
using testing::NotInstalledReport;
using testing::RemoveTree;
using testing::Upper2;

using ::testing::ElementsAreArray;

constexpr const char* kFamilyKey = "Software\\Tarnwick";

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// A machine state in the prefix: the family's registry keys and a folder of real files, both
// removed again afterwards. The current folder is the temporary folder meanwhile, so that the
// relative "Absent" lands there.
class WineMachine {
 public:
  WineMachine() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    // A folder of its own for every state: the system keeps ini files it has read in memory
    // and would serve a new file at an old path from there.
    static int states = 0;
    root = std::string(temp) + "VorlixReport" + std::to_string(::GetCurrentProcessId()) + "_" +
           std::to_string(++states);
    RemoveTree(root);
    ::CreateDirectoryA(root.c_str(), nullptr);
    char current[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, current);
    savedCurrent_ = current;
    ::SetCurrentDirectoryA(root.c_str());
    hadMachineKey_ = KeyExists(HKEY_LOCAL_MACHINE, kFamilyKey);
    hadUserKey_ = KeyExists(HKEY_CURRENT_USER, kFamilyKey);
    char exe[MAX_PATH];
    executable.assign(exe, ::GetModuleFileNameA(nullptr, exe, MAX_PATH));
  }
  ~WineMachine() {
    ::SetCurrentDirectoryA(savedCurrent_.c_str());
    RemoveTree(root);
    for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it) {
      ::RegDeleteTreeA(it->first, it->second.c_str());
      ::RegDeleteKeyA(it->first, it->second.c_str());
    }
    // Opening the family key for a report creates it where it was missing.
    if (!hadMachineKey_) ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kFamilyKey);
    if (!hadMachineKey_) ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kFamilyKey);
    if (!hadUserKey_) ::RegDeleteTreeA(HKEY_CURRENT_USER, kFamilyKey);
    if (!hadUserKey_) ::RegDeleteKeyA(HKEY_CURRENT_USER, kFamilyKey);
  }
  WineMachine(const WineMachine&) = delete;
  WineMachine& operator=(const WineMachine&) = delete;

  void SetValue(HKEY rootKey, const std::string& subkey, const std::string& name,
                const std::string& value) {
    const std::string path = std::string(kFamilyKey) + "\\" + subkey;
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(::RegCreateKeyExA(rootKey, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                &disposition),
              ERROR_SUCCESS);
    if (disposition == REG_CREATED_NEW_KEY) createdKeys_.emplace_back(rootKey, path);
    ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
  }

  std::string Folder(const std::string& relative) {
    const std::string path = root + "\\" + relative;
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
  }

  std::string File(const std::string& relative, const std::string& content) {
    const std::string path = root + "\\" + relative;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    return path;
  }

  Lines Report(const std::string& program, int level) {
    platform::win32::Win32FileSystem files;
    platform::win32::Win32Registry registry;
    platform::win32::Win32PrivateProfile profile;
    fakes::FakeDialogs dialogs;
    platform::win32::Win32Clock clock;
    platform::Platform platform{files, registry, profile, network, dialogs, clock};
    DiagnosticReport driver(platform);
    const std::string text =
        WriteThroughTempFile(files, [&](ReportFile& file) { driver.Run(file, program, level); });
    return testing::CrLfLines(text);
  }

  std::string root;
  std::string executable;
  platform::win32::Win32NetworkNames network;

 private:
  std::string savedCurrent_;
  bool hadMachineKey_ = false;
  bool hadUserKey_ = false;
  std::vector<std::pair<HKEY, std::string>> createdKeys_;
};

// The banner's date and time are the clock's; everything after them is compared exactly.
void ExpectReport(const Lines& actual, const Lines& expected) {
  ASSERT_GE(actual.size(), 2u);
  EXPECT_EQ(actual[1].rfind(kBanner, 0), 0u) << actual[1];
  EXPECT_GT(actual[1].size(), kBanner.size());
  Lines rest = actual;
  rest[1] = kBanner;
  EXPECT_THAT(rest, ElementsAreArray(expected));
}

FILETIME Times(const std::string& path, bool creation) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return creation ? data.ftCreationTime : data.ftLastWriteTime;
}

// "CreationTime=" and "FatDateTime=" of an entry, from the system's own conversion.
Lines Stamps(const std::string& path) {
  const FILETIME created = Times(path, true);
  WORD date = 0;
  WORD time = 0;
  ::FileTimeToDosDateTime(&created, &date, &time);
  return {"   Passed: CreationTime=" + std::to_string(created.dwLowDateTime) + ":" +
              std::to_string(created.dwHighDateTime),
          "   Passed: FatDateTime=" + std::to_string(time) + ":" + std::to_string(date)};
}

std::string ListingLine(const std::string& path, long size, long attributes,
                        const std::string& name) {
  const FILETIME written = Times(path, false);
  FILETIME local;
  ::FileTimeToLocalFileTime(&written, &local);
  WORD date = 0;
  WORD time = 0;
  ::FileTimeToDosDateTime(&local, &date, &time);
  const auto packed = static_cast<std::int32_t>(static_cast<std::uint32_t>(date) << 16 | time);
  char line[600];
  std::snprintf(line, sizeof line, "      Time=%d Size=%8ld Attr=%8ld Name=%s", packed, size,
                attributes, name.c_str());
  return line;
}

// The names of a folder in the order the system returns them.
Lines SystemOrder(const std::string& folder) {
  Lines names;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (::FindNextFileA(find, &data));
  ::FindClose(find);
  return names;
}

const std::string kVirtualisedIni = "[Ostrelan]\r\nUsers=7\r\n";

// Ostrelan installed: maker folder, program folder with its files and server ini, a licence
// folder holding a virtualised ini and a data file, and a project folder.
struct Installed {
  explicit Installed(WineMachine& m) {
    maker = m.Folder("Tarnwick");
    program = m.Folder("Prog");
    licence = m.Folder("Licence");
    project = m.Folder("Projects");
    m.File("Prog\\Ostrelan.exe", "MZ");
    m.File("Prog\\Ostrelan.Ini", "[Ostrelan]\r\nLicenseFolder=" + licence + "\r\nUsers=5\r\n");
    m.File("Licence\\Ostrelan.ini", kVirtualisedIni);
    m.File("Licence\\licence.dat", std::string(100, 'L'));
    m.SetValue(HKEY_LOCAL_MACHINE, "Tarnwick", "TarnWickPath", maker);
    m.SetValue(HKEY_LOCAL_MACHINE, "Ostrelan", "Path", program);
    m.SetValue(HKEY_LOCAL_MACHINE, "Ostrelan", "ProgramName", "Ostrelan");
    m.SetValue(HKEY_LOCAL_MACHINE, "Ostrelan", "SectionsFormat", "4");
    m.SetValue(HKEY_LOCAL_MACHINE, "Ostrelan", "SectionsRelease", "2024.1");
    m.SetValue(HKEY_CURRENT_USER, "Tarnwick", "TarnWickProjectPath", project);
  }

  // Lines of the format for this state; the listing's times are read once the report is done.
  Lines Expected(const WineMachine& m, int level) const {
    Lines listing;
    for (const std::string& name : SystemOrder(licence)) {
      if (name == ".") listing.push_back(ListingLine(licence, 0, 16, name));
      if (name == "..") listing.push_back(ListingLine(m.root, 0, 16, name));
      if (name == "Ostrelan.ini") {
        listing.push_back(ListingLine(licence + "\\" + name, 21, 32, name));
      }
      if (name == "licence.dat")
        listing.push_back(ListingLine(licence + "\\" + name, 100, 32, name));
    }
    return InstalledReport(m.executable, {maker, program, licence, project}, level, Stamps(maker),
                           listing);
  }

  std::string maker, program, licence, project;
};

// A program with no trace on the machine, at either level.
Lines NotInstalled(const WineMachine& m, const std::string& program, int level) {
  return NotInstalledReport(m.executable, m.root, program, level);
}

TEST(ReportUnderWine, ProgramNotInstalledNormalAndFull) {
  WineMachine m;
  ExpectReport(m.Report("Delmoran", 1), NotInstalled(m, "Delmoran", 1));
  ExpectReport(m.Report("Delmoran", 2), NotInstalled(m, "Delmoran", 2));
}

TEST(ReportUnderWine, InstalledProgramNormalAndFull) {
  WineMachine m;
  Installed state(m);
  const Lines normal = m.Report("Ostrelan", 1);
  ExpectReport(normal, state.Expected(m, 1));
  const Lines full = m.Report("Ostrelan", 2);
  ExpectReport(full, state.Expected(m, 2));

  // The levels differ only by the virtualised ini, the file format settings and the time stamps
  // of the file search. The licence folder's own time ("." in its listing) moves between the two
  // runs, as each creates and deletes the test file there, so it is left out of this comparison.
  const auto comparable = [](Lines lines) {
    for (auto& line : lines) {
      if (line.size() > 7 && line.compare(line.size() - 7, 7, " Name=.") == 0) line = ". entry";
    }
    return lines;
  };
  Lines reduced;
  const std::string virtualised = state.licence + "\\Ostrelan.ini";
  const Lines onlyFull = {"Checking virtualised Ini File " + virtualised,
                          "   Passed: " + virtualised + " ...found",
                          "Contents of " + virtualised,
                          "   [Ostrelan]",
                          "   Users=7",
                          "Sections file format settings"};
  for (const auto& line : full) {
    const bool formatSetting =
        line.rfind("   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Section", 0) ==
            0 ||
        line.rfind("   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\ProgramName", 0) ==
            0;
    const bool stamp = line.rfind("   Passed: CreationTime=", 0) == 0 ||
                       line.rfind("   Passed: FatDateTime=", 0) == 0;
    if (!formatSetting && !stamp &&
        std::find(onlyFull.begin(), onlyFull.end(), line) == onlyFull.end()) {
      reduced.push_back(line);
    }
  }
  reduced[1] = kBanner;
  Lines normalAgain = normal;
  normalAgain[1] = kBanner;
  EXPECT_THAT(comparable(reduced), ElementsAreArray(comparable(normalAgain)));
  EXPECT_EQ(full.size(), normal.size() + 2 + 5 + 4);
}

TEST(ReportUnderWine, LicenceFolderSettingReadOnceWhenTheKeyOrTheIniIsMissing) {
  for (const bool iniExists : {true, false}) {
    WineMachine m;
    const std::string program = m.Folder("Prog");
    m.SetValue(HKEY_LOCAL_MACHINE, "Ostrelan", "Path", program);
    if (iniExists) m.File("Prog\\Ostrelan.Ini", "[Ostrelan]\r\nUsers=5\r\n");
    const Lines lines = m.Report("Ostrelan", 2);
    EXPECT_THAT(
        After(lines, "Checking licence folder...", 6),
        ElementsAreArray(Lines{"   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing",
                               "   FAILED: Absent ...is missing",
                               "   As UNC:", "   FAILED: " + m.root + "\\Absent ...is missing",
                               "Checking virtualised Ini File Absent\\Ostrelan.ini",
                               "   FAILED: Absent\\Ostrelan.ini ...is missing"}))
        << "ini file exists: " << iniExists;
    EXPECT_THAT(
        After(lines, "Contents of licence folder...", 3),
        ElementsAreArray(Lines{"   Path=Absent\\*.*", "   Files:", "Checking project folder"}));
  }
}

TEST(ReportUnderWine, IniSectionWithoutValues) {
  WineMachine m;
  const std::string program = m.Folder("Prog");
  m.SetValue(HKEY_LOCAL_MACHINE, "Ostrelan", "Path", program);
  m.File("Prog\\Ostrelan.Ini", "[Ostrelan]\r\n[Other]\r\nUsers=5\r\n");
  const std::string ini = program + "\\Ostrelan.ini";
  EXPECT_THAT(
      After(m.Report("Ostrelan", 1), "Contents of " + ini, 3),
      ElementsAreArray(Lines{"   FAILED: " + ini + " ...is empty", "Checking licence folder...",
                             "   FAILED: Ostrelan.ini [Ostrelan] LicenseFolder=     ...missing"}));
}

TEST(ReportUnderWine, HiddenMakerFolderIsFoundButNotSearched) {
  WineMachine m;
  const std::string maker = m.Folder("Hidden");
  ASSERT_TRUE(::SetFileAttributesA(maker.c_str(), FILE_ATTRIBUTE_HIDDEN));
  m.SetValue(HKEY_LOCAL_MACHINE, "Tarnwick", "TarnWickPath", maker);
  EXPECT_THAT(
      After(m.Report("Ferlund", 2), "Checking TarnwickPath...", 4),
      ElementsAreArray(Lines{"   Passed: " + maker + " ...found", "Searching for TarnwickPath...",
                             // ERROR_NO_MORE_FILES: the only entry found was hidden.
                             "   FAILED: " + maker +
                                 " ...search failed Reply=18 - Check that folder is not "
                                 "topmost",
                             "Lookup Ferlund Path in registry..."}));
}

TEST(ReportUnderWine, MakerFolderAtADriveRoot) {
  WineMachine m;
  m.SetValue(HKEY_LOCAL_MACHINE, "Tarnwick", "TarnWickPath", "C:\\");
  EXPECT_THAT(After(m.Report("Corvagent", 2), "Checking TarnwickPath...", 4),
              ElementsAreArray(Lines{
                  "   Passed: C:\\ ...found", "Searching for TarnwickPath...",
                  // ERROR_FILE_NOT_FOUND: a root has no directory entry of its own.
                  "   FAILED: C:\\ ...search failed Reply=2 - Check that folder is not topmost",
                  "Lookup Corvagent Path in registry..."}));
}

TEST(ReportUnderWine, PathOf300CharactersShowsItsFirst255) {
  WineMachine m;
  std::string path = m.root + "\\Deep\\";
  path += std::string(300 - path.size(), 'x');
  const std::string first255 = path.substr(0, 255);
  m.SetValue(HKEY_LOCAL_MACHINE, "Tarnwick", "TarnWickPath", path);
  m.SetValue(HKEY_CURRENT_USER, "Tarnwick", "TarnWickProjectPath", path);
  const Lines lines = m.Report("Brannicle", 1);
  const std::string setting =
      "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnWickPath=" + first255;
  EXPECT_THAT(After(lines, "Lookup TarnwickPath in registry...", 5),
              ElementsAreArray(Lines{"   Passed: " + setting.substr(0, 255),
                                     "Checking TarnwickPath...", "   FAILED: " + first255,
                                     "Searching for TarnwickPath...", "   FAILED: " + first255}));
  const std::string userSetting =
      "HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath=" + first255;
  EXPECT_THAT(After(lines, "Checking project folder", 4),
              ElementsAreArray(Lines{"   Passed: " + userSetting.substr(0, 255),
                                     "   FAILED: " + first255, "Creating file in project folder",
                                     "   FAILED: File creation failed"}));
}

}  // namespace
}  // namespace vorlix::report
