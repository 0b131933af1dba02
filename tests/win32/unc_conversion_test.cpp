#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "drivemap/drive_map_commands.h"
#include "drivemap/drive_map_file.h"
#include "drivemap/network_drive_list.h"
#include "fakes/fake_dialogs.h"
#include "platform/platform.h"
#include "report/report_file.h"
#include "support/report_text.h"
#include "support/scratch_files.h"
#include "support/scratch_registry.h"
#include "support/win32_platform.h"

namespace vorlix::drivemap {
namespace {

using testing::KeyExists;
using testing::RemoveTree;

using ::testing::ElementsAre;

constexpr const char* kMakerKey = "Software\\Tarnwick\\Tarnwick";
constexpr const char* kOstrelanKey = "Software\\Tarnwick\\Ostrelan";
constexpr const char* kTarnwickKey = "Software\\Tarnwick";
const std::string kMakerLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnwickPath=";
const std::string kPathLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=";
const std::string kUncIni = "\\\\fs1\\shared\\Apps\\Ostrelan\\Ostrelan.Ini";

struct WineMachine {
  testing::Win32Platform os;
  platform::FileSystem& files = os.files();
  fakes::FakeDialogs dialogs;
  platform::Platform platform = os.With(dialogs);
};

void SetValue(const char* key, const char* name, DWORD type, const std::string& data) {
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &handle, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(::RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  ::RegCloseKey(handle);
}

void SetText(const char* key, const char* name, const std::string& value) {
  SetValue(key, name, REG_SZ, value + '\0');
}

// The raw value and its type, read without our adapter.
std::optional<std::pair<DWORD, std::string>> GetValue(const char* key, const char* name) {
  HKEY handle = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char buffer[1024];
  DWORD size = sizeof buffer;
  DWORD type = REG_NONE;
  const LONG result =
      ::RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  ::RegCloseKey(handle);
  if (result != ERROR_SUCCESS) return std::nullopt;
  return std::make_pair(type, std::string(buffer, size));
}

std::optional<std::string> GetText(const char* key, const char* name) {
  const auto value = GetValue(key, name);
  if (!value || value->first != REG_SZ) return std::nullopt;
  return value->second.substr(0, value->second.find('\0'));
}

void MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('\\', 3); slash != std::string::npos;
       slash = path.find('\\', slash + 1)) {
    ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
  ::CreateDirectoryA(path.c_str(), nullptr);
}

std::string IniText(const std::string& file, const char* key) {
  char buffer[512];
  ::GetPrivateProfileStringA("Ostrelan", key, "(absent)", buffer, sizeof buffer, file.c_str());
  return buffer;
}

// The lines after the drive map list and its two empty lines.
std::vector<std::string> Tail(const std::vector<std::string>& lines) {
  for (std::size_t i = 9; i + 2 < lines.size(); ++i) {
    if (lines[i].empty() && lines[i + 1].empty()) return {lines.begin() + i + 2, lines.end()};
  }
  ADD_FAILURE() << "no two empty lines";
  return {};
}

// Wine's registry, a share \\fs1\shared served from the prefix's dosdevices\unc folder, a local
// folder and the drive map beside the test program; all of it removed afterwards.
class WineConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveKeys();
    char prefix[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    ASSERT_GT(length, 0u) << "not running under Wine";
    std::string unix(prefix, length);
    for (char& c : unix) c = c == '/' ? '\\' : c;
    unc = "Z:" + unix + "\\dosdevices\\unc";
    MakeFolders(unc + "\\fs1\\shared\\Apps\\Ostrelan");
    local = machine.files.TempFolder() + "vorlix-unc-test";
    MakeFolders(local);
    mapFile = DriveMapFileName(machine.files);
  }

  void TearDown() override {
    RemoveKeys();
    RemoveTree(unc + "\\fs1");
    ::RemoveDirectoryA(unc.c_str());
    RemoveTree(local);
    ::DeleteFileA(mapFile.c_str());
  }

  static void RemoveKeys() {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMakerKey);
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOstrelanKey);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTarnwickKey);  // only when nothing else is under it
  }

  void WriteFile(const std::string& path, const std::string& content) {
    auto writer = machine.files.CreateText(path);
    writer->Write(content);
    writer->Close();
  }

  void Installed(const std::string& maker, const std::string& program, const std::string& ini) {
    WriteFile(mapFile, "S:=\\\\fs1\\shared\r\n");
    SetText(kMakerKey, "TarnwickPath", maker);
    SetText(kOstrelanKey, "Path", program);
    WriteFile(kUncIni, ini);
  }

  // Files the reports go through; none may stay behind.
  std::size_t TempReports() {
    std::size_t count = 0;
    WIN32_FIND_DATAA data;
    const HANDLE find = ::FindFirstFileA((machine.files.TempFolder() + "Kx*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return count;
  }

  std::vector<std::string> Convert(const std::string& program = "Ostrelan") {
    machine.dialogs.confirmAnswers = {true};
    const auto text = ConvertToUNC(machine.platform, program);
    if (!text) {
      ADD_FAILURE() << "no report";
      return {};
    }
    return testing::WholeCrLfLines(*text);
  }

  WineMachine machine;
  std::string unc;
  std::string local;
  std::string mapFile;
};

TEST_F(WineConversion, OstrelanOnAMappedDriveIsRewrittenAndReadBack) {
  Installed("S:\\Apps", "S:\\Apps\\Ostrelan", "[Ostrelan]\r\nLicenseFolder=S:\\Shared\r\n");
  const std::size_t tempFiles = TempReports();
  const auto lines = Convert();
  EXPECT_EQ(TempReports(), tempFiles);
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1].rfind("Vorlix  -  Tarnwick network diagnostic tool  -  ", 0), 0u);
  EXPECT_EQ(lines[2], std::string(67, '-'));
  EXPECT_THAT(
      std::vector<std::string>(lines.begin() + 3, lines.end()),
      ElementsAre("Program : Ostrelan", "", "Converting to UNC file paths", "", "Drive maps:", "",
                  "S:=\\\\fs1\\shared", "", "", kMakerLabel + "S:\\Apps",
                  kMakerLabel + "\\\\fs1\\shared\\Apps", "", kPathLabel + "S:\\Apps\\Ostrelan",
                  kPathLabel + "\\\\fs1\\shared\\Apps\\Ostrelan", "", "Ostrelan.Ini    " + kUncIni,
                  "[Ostrelan]", "LicenseFolder=S:\\Shared", "[Ostrelan]",
                  "LicenseFolder=\\\\fs1\\shared\\Shared"));
  EXPECT_EQ(GetText(kMakerKey, "TarnwickPath"), "\\\\fs1\\shared\\Apps");
  EXPECT_EQ(GetText(kOstrelanKey, "Path"), "\\\\fs1\\shared\\Apps\\Ostrelan");
  EXPECT_EQ(IniText(kUncIni, "LicenseFolder"), "\\\\fs1\\shared\\Shared");
}

TEST_F(WineConversion, SecondRunReportsTheUncFormsOnce) {
  Installed("S:\\Apps", "S:\\Apps\\Ostrelan", "[Ostrelan]\r\nLicenseFolder=S:\\Shared\r\n");
  Convert();
  EXPECT_THAT(Tail(Convert()), ElementsAre(kMakerLabel + "\\\\fs1\\shared\\Apps", "",
                                           kPathLabel + "\\\\fs1\\shared\\Apps\\Ostrelan", "",
                                           "Ostrelan.Ini    " + kUncIni, "[Ostrelan]",
                                           "LicenseFolder=\\\\fs1\\shared\\Shared"));
  EXPECT_EQ(GetText(kOstrelanKey, "Path"), "\\\\fs1\\shared\\Apps\\Ostrelan");
}

TEST_F(WineConversion, LowerCaseLetterIsConvertedAndUncIsLeftAlone) {
  Installed("\\\\fs1\\shared\\Apps\\", "s:\\Apps\\Ostrelan",
            "[Ostrelan]\r\nLicenseFolder=s:\\Shared\r\n");
  EXPECT_THAT(
      Tail(Convert()),
      ElementsAre(kMakerLabel + "\\\\fs1\\shared\\Apps\\", "", kPathLabel + "s:\\Apps\\Ostrelan",
                  kPathLabel + "\\\\fs1\\shared\\Apps\\Ostrelan", "", "Ostrelan.Ini    " + kUncIni,
                  "[Ostrelan]", "LicenseFolder=s:\\Shared", "[Ostrelan]",
                  "LicenseFolder=\\\\fs1\\shared\\Shared"));
  EXPECT_EQ(GetText(kMakerKey, "TarnwickPath"), "\\\\fs1\\shared\\Apps\\");
}

TEST_F(WineConversion, UnmappedDriveIsReportedOnceAndItsIniIsMissing) {
  Installed("T:\\Apps", "T:\\Apps\\Ostrelan", "[Ostrelan]\r\nLicenseFolder=S:\\Shared\r\n");
  EXPECT_THAT(Tail(Convert()),
              ElementsAre(kMakerLabel + "T:\\Apps", "", kPathLabel + "T:\\Apps\\Ostrelan", "",
                          "Ostrelan.Ini    T:\\Apps\\Ostrelan\\Ostrelan.Ini",
                          "FAILED: File is MISSING... "));
  EXPECT_EQ(GetText(kMakerKey, "TarnwickPath"), "T:\\Apps");
  EXPECT_EQ(GetText(kOstrelanKey, "Path"), "T:\\Apps\\Ostrelan");
  EXPECT_EQ(IniText(kUncIni, "LicenseFolder"), "S:\\Shared");
}

TEST_F(WineConversion, LocalIniFileIsRewrittenInPlace) {
  Installed("S:\\Apps", local, "");
  WriteFile(local + "\\Ostrelan.Ini", "[Ostrelan]\r\nLicenseFolder=S:\\Shared\r\nOther=1\r\n");
  const auto tail = Tail(Convert());
  ASSERT_EQ(tail.size(), 10u);
  EXPECT_EQ(tail[5], "Ostrelan.Ini    " + local + "\\Ostrelan.Ini");
  EXPECT_EQ(tail[9], "LicenseFolder=\\\\fs1\\shared\\Shared");
  EXPECT_EQ(IniText(local + "\\Ostrelan.Ini", "LicenseFolder"), "\\\\fs1\\shared\\Shared");
  EXPECT_EQ(IniText(local + "\\Ostrelan.Ini", "Other"), "1");
  EXPECT_EQ(GetText(kOstrelanKey, "Path"), local);
}

TEST_F(WineConversion, AbsentIniKeyIsNotFoundAndTheFileIsNotTouched) {
  const std::string ini = "[Ostrelan]\r\nOther=S:\\Shared\r\n";
  Installed("S:\\Apps", "S:\\Apps\\Ostrelan", ini);
  const auto tail = Tail(Convert());
  EXPECT_THAT(std::vector<std::string>(tail.end() - 3, tail.end()),
              ElementsAre("Ostrelan.Ini    " + kUncIni, "[Ostrelan]", "LicenseFolder=Not found"));
  EXPECT_EQ(machine.files.ReadAll(kUncIni), ini);
}

TEST_F(WineConversion, KeyThatDoesNotExistReadsEmptyAndIsNotCreated) {
  Installed("S:\\Apps", "S:\\Apps\\Ostrelan", "[Ostrelan]\r\nLicenseFolder=S:\\Shared\r\n");
  EXPECT_THAT(Tail(Convert("Gaspin")),
              ElementsAre(kMakerLabel + "S:\\Apps", kMakerLabel + "\\\\fs1\\shared\\Apps", "",
                          "HKEY_LOCAL_MACHINE\\\\Path=", "", "Gaspin.Ini    \\Gaspin.Ini",
                          "FAILED: File is MISSING... "));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Gaspin"));
}

TEST_F(WineConversion, ValueThatIsNotTextIsLeftAlone) {
  Installed("S:\\Apps", "S:\\Apps\\Ostrelan", "[Ostrelan]\r\nLicenseFolder=S:\\Shared\r\n");
  SetValue(kMakerKey, "TarnwickPath", REG_DWORD, std::string("\x07\0\0\0", 4));
  const auto tail = Tail(Convert());
  ASSERT_FALSE(tail.empty());
  EXPECT_EQ(tail[0],
            "*** Not a Text Value, Left Unchanged *** "
            "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnwickPath");
  EXPECT_EQ(GetValue(kMakerKey, "TarnwickPath"),
            std::make_pair(static_cast<DWORD>(REG_DWORD), std::string("\x07\0\0\0", 4)));
  EXPECT_EQ(GetText(kOstrelanKey, "Path"), "\\\\fs1\\shared\\Apps\\Ostrelan");
}

TEST_F(WineConversion, NoConnectionsUnderWineGiveAnEmptyMap) {
  TNetworkDriveList drives;
  drives.ReadCurrentMappings(machine.os.network());
  EXPECT_TRUE(drives.LocalNames().empty());
  EXPECT_EQ(machine.os.network().Connection("C:"), std::nullopt);

  WriteFile(mapFile, "S:=\\\\fs1\\shared\r\n");
  machine.dialogs.confirmAnswers = {true};
  StoreDriveMap(machine.platform);
  EXPECT_EQ(machine.files.ReadAll(mapFile), "");
  ASSERT_EQ(machine.dialogs.shown.size(), 2u);
  EXPECT_EQ(machine.dialogs.shown[0].text, "File :'" + mapFile + "' Exists. Overwrite?");
  EXPECT_EQ(machine.dialogs.shown[1].text, "File :'" + mapFile + "' Created.");
  const std::string folder = mapFile.substr(0, mapFile.find_last_of('\\') + 1);
  EXPECT_EQ(machine.files.FindFirst(folder + "Kx*.tmp").search, nullptr);  // nothing stray
}

}  // namespace
}  // namespace vorlix::drivemap
