#include "drivemap/unc_conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "report/temp_report.h"
#include "support/report_text.h"

namespace vorlix::drivemap {
namespace {

using platform::RegistryRoot;
using ::testing::ElementsAre;

const std::string kMakerKey = "Software\\Tarnwick\\Tarnwick";
const std::string kOstrelanKey = "Software\\Tarnwick\\Ostrelan";
const std::string kMakerLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnwickPath=";
const std::string kPathLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=";
const std::string kUncIni = "\\\\fs1\\shared\\Apps\\Ostrelan\\Ostrelan.Ini";

// The lines after the drive map list and its two empty lines.
std::vector<std::string> Tail(const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    if (lines[i].empty() && lines[i + 1].empty()) return {lines.begin() + i + 2, lines.end()};
  }
  ADD_FAILURE() << "no two empty lines";
  return {};
}

class Conversion : public ::testing::Test {
 protected:
  Conversion() {
    machine.files.AddFile("C:\\Tools\\Vorlix.txt", "S:=\\\\fs1\\shared\r\n");
    SetMaker("S:\\Apps");
    SetOstrelan("S:\\Apps\\Ostrelan");
    machine.files.AddFile(kUncIni, "");
    machine.profile.Set(kUncIni, "Ostrelan", "LicenseFolder", "S:\\Shared");
  }
  void SetMaker(const std::string& value) {
    machine.registry.SetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath", value);
  }
  void SetOstrelan(const std::string& value) {
    machine.registry.SetString(RegistryRoot::LocalMachine, kOstrelanKey, "Path", value);
  }
  std::optional<std::string> Maker() {
    return machine.registry.GetString(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath");
  }
  std::optional<std::string> OstrelanPath() {
    return machine.registry.GetString(RegistryRoot::LocalMachine, kOstrelanKey, "Path");
  }
  std::string License(const std::string& ini = kUncIni) {
    return machine.profile.ReadString(ini, "Ostrelan", "LicenseFolder", "(absent)");
  }
  std::vector<std::string> Run(const std::string& program = "Ostrelan") {
    TNetworkDriveList drives;
    drives.LoadFromFile(machine.files, "C:\\Tools\\Vorlix.txt");
    return testing::WholeCrLfLines(
        report::WriteThroughTempFile(machine.files, [&](report::ReportFile& file) {
          ConvertPathsToUNC(file, program, drives, machine.platform);
        }));
  }

  fakes::FakeMachine machine;
};

TEST_F(Conversion, OstrelanOnAMappedDriveIsRewrittenAndReadBack) {
  EXPECT_THAT(
      Run(),
      ElementsAre("", "Vorlix  -  Tarnwick network diagnostic tool  -  8/12/2026 14:05:09",
                  std::string(67, '-'), "Program : Ostrelan", "", "Converting to UNC file paths",
                  "", "Drive maps:", "", "S:=\\\\fs1\\shared", "", "", kMakerLabel + "S:\\Apps",
                  kMakerLabel + "\\\\fs1\\shared\\Apps", "", kPathLabel + "S:\\Apps\\Ostrelan",
                  kPathLabel + "\\\\fs1\\shared\\Apps\\Ostrelan", "", "Ostrelan.Ini    " + kUncIni,
                  "[Ostrelan]", "LicenseFolder=S:\\Shared", "[Ostrelan]",
                  "LicenseFolder=\\\\fs1\\shared\\Shared"));
  EXPECT_EQ(Maker(), "\\\\fs1\\shared\\Apps");
  EXPECT_EQ(OstrelanPath(), "\\\\fs1\\shared\\Apps\\Ostrelan");
  EXPECT_EQ(License(), "\\\\fs1\\shared\\Shared");
  // Keys are opened with full access and never created.
  EXPECT_THAT(machine.registry.opened, ElementsAre("hklm\\software\\tarnwick\\tarnwick (all)",
                                                   "hklm\\software\\tarnwick\\ostrelan (all)"));
}

TEST_F(Conversion, ValuesAreStoredAsPlainText) {
  machine.registry.SetRaw(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath",
                          {platform::kRegExpandString, std::string("S:\\Apps\0", 8)});
  Run();
  const auto* key = machine.registry.FindKey(RegistryRoot::LocalMachine, kMakerKey);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->values[0].second.type, platform::kRegString);
  EXPECT_EQ(Maker(), "\\\\fs1\\shared\\Apps");
}

TEST_F(Conversion, SecondRunReportsTheUncFormsAndWritesNothing) {
  Run();
  machine.registry.failWrite = {"hklm\\software\\tarnwick\\tarnwick",
                                "hklm\\software\\tarnwick\\ostrelan"};
  machine.profile.failWrite.insert(fakes::FakeFileSystem::Key(kUncIni));
  EXPECT_THAT(Tail(Run()), ElementsAre(kMakerLabel + "\\\\fs1\\shared\\Apps", "",
                                       kPathLabel + "\\\\fs1\\shared\\Apps\\Ostrelan", "",
                                       "Ostrelan.Ini    " + kUncIni, "[Ostrelan]",
                                       "LicenseFolder=\\\\fs1\\shared\\Shared"));
}

TEST_F(Conversion, ValueOnAnUnmappedDriveIsReportedOnceAndTheIniIsMissing) {
  SetMaker("T:\\Apps");
  SetOstrelan("T:\\Apps\\Ostrelan");
  EXPECT_THAT(Tail(Run()),
              ElementsAre(kMakerLabel + "T:\\Apps", "", kPathLabel + "T:\\Apps\\Ostrelan", "",
                          "Ostrelan.Ini    T:\\Apps\\Ostrelan\\Ostrelan.Ini",
                          "FAILED: File is MISSING... "));
  EXPECT_EQ(Maker(), "T:\\Apps");
  EXPECT_EQ(OstrelanPath(), "T:\\Apps\\Ostrelan");
  EXPECT_EQ(License(), "S:\\Shared");
}

TEST_F(Conversion, IniNameOfAPathAlreadyInUncFormComesBackTrimmedAndIsFound) {
  SetOstrelan("  \\\\fs1\\shared\\Apps\\Ostrelan");
  EXPECT_THAT(Tail(Run()), ::testing::Contains("Ostrelan.Ini    " + kUncIni));
  EXPECT_EQ(License(), "\\\\fs1\\shared\\Shared");
}

TEST_F(Conversion, LowerCaseDriveLetterIsConvertedLikeUpperCase) {
  SetMaker("s:\\Apps\\");
  SetOstrelan("  s:\\Apps\\Ostrelan");
  machine.profile.Set(kUncIni, "Ostrelan", "LicenseFolder", "s:Shared");
  const auto tail = Tail(Run());
  ASSERT_EQ(tail.size(), 11u);
  EXPECT_EQ(tail[1], kMakerLabel + "\\\\fs1\\shared\\Apps");
  EXPECT_EQ(tail[4], kPathLabel + "\\\\fs1\\shared\\Apps\\Ostrelan");
  EXPECT_EQ(tail[6], "Ostrelan.Ini    " + kUncIni);
  EXPECT_EQ(tail[10], "LicenseFolder=\\\\fs1\\shared\\Shared");
}

TEST_F(Conversion, AbsentIniKeyIsNotFoundAndNotWritten) {
  machine.profile.DeleteKey(kUncIni, "Ostrelan", "LicenseFolder");
  const auto tail = Tail(Run());
  EXPECT_THAT(std::vector<std::string>(tail.end() - 3, tail.end()),
              ElementsAre("Ostrelan.Ini    " + kUncIni, "[Ostrelan]", "LicenseFolder=Not found"));
  EXPECT_EQ(License(), "(absent)");
}

TEST_F(Conversion, MissingKeyReadsAsEmptyWithTheBareLabelAndIsNotCreated) {
  EXPECT_THAT(Tail(Run("Gaspin")),
              ElementsAre(kMakerLabel + "S:\\Apps", kMakerLabel + "\\\\fs1\\shared\\Apps", "",
                          "HKEY_LOCAL_MACHINE\\\\Path=", "", "Gaspin.Ini    \\Gaspin.Ini",
                          "FAILED: File is MISSING... "));
  EXPECT_EQ(machine.registry.FindKey(RegistryRoot::LocalMachine, "Software\\Tarnwick\\Gaspin"),
            nullptr);
}

TEST_F(Conversion, KeyThatCannotBeOpenedWithFullAccessIsLeftAlone) {
  machine.registry.failOpen.insert("hklm\\software\\tarnwick\\tarnwick");
  const auto tail = Tail(Run());
  EXPECT_EQ(tail[0], "HKEY_LOCAL_MACHINE\\\\TarnwickPath=");
  EXPECT_EQ(tail[1], "");
  EXPECT_EQ(Maker(), "S:\\Apps");
  EXPECT_EQ(OstrelanPath(), "\\\\fs1\\shared\\Apps\\Ostrelan");
}

TEST_F(Conversion, RefusedRegistryWriteShowsTheErrorLineAndTheOldValue) {
  machine.registry.failWrite.insert("hklm\\software\\tarnwick\\tarnwick");
  const auto tail = Tail(Run());
  EXPECT_THAT(std::vector<std::string>(tail.begin(), tail.begin() + 4),
              ElementsAre(kMakerLabel + "S:\\Apps",
                          "*** Error Writing *** " + kMakerLabel + "\\\\fs1\\shared\\Apps",
                          kMakerLabel + "S:\\Apps", ""));
  EXPECT_EQ(Maker(), "S:\\Apps");
  // The command carries on with the next value.
  EXPECT_EQ(OstrelanPath(), "\\\\fs1\\shared\\Apps\\Ostrelan");
}

TEST_F(Conversion, RefusedIniWriteShowsThreeLinesAndTheValueAgain) {
  machine.profile.failWrite.insert(fakes::FakeFileSystem::Key(kUncIni));
  const auto tail = Tail(Run());
  EXPECT_THAT(
      std::vector<std::string>(tail.end() - 8, tail.end()),
      ElementsAre("Ostrelan.Ini    " + kUncIni, "[Ostrelan]", "LicenseFolder=S:\\Shared",
                  "*** Error Writing *** ", "[Ostrelan]", "LicenseFolder=\\\\fs1\\shared\\Shared",
                  "[Ostrelan]", "LicenseFolder=S:\\Shared"));
  EXPECT_EQ(License(), "S:\\Shared");
}

TEST_F(Conversion, ValueThatIsNotTextIsReportedAndLeftUnchanged) {
  const platform::RegistryValue binary{platform::kRegBinary, std::string("S:\\Apps", 7)};
  machine.registry.SetRaw(RegistryRoot::LocalMachine, kMakerKey, "TarnwickPath", binary);
  const auto tail = Tail(Run());
  EXPECT_THAT(std::vector<std::string>(tail.begin(), tail.begin() + 2),
              ElementsAre("*** Not a Text Value, Left Unchanged *** "
                          "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnwickPath",
                          ""));
  const auto* key = machine.registry.FindKey(RegistryRoot::LocalMachine, kMakerKey);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->values[0].second.type, platform::kRegBinary);
  EXPECT_EQ(key->values[0].second.data, binary.data);
  EXPECT_EQ(OstrelanPath(), "\\\\fs1\\shared\\Apps\\Ostrelan");
}

TEST_F(Conversion, UncFormLongerThan255IsNeverCutAndStored) {
  const std::string deep = "S:\\" + std::string(250, 'd');
  const std::string deepUnc = "\\\\fs1\\shared\\" + std::string(250, 'd');
  ASSERT_EQ(deep.size(), 253u);
  ASSERT_EQ(deepUnc.size(), 263u);
  SetMaker(deep);
  machine.profile.Set(kUncIni, "Ostrelan", "LicenseFolder", deep);
  const auto tail = Tail(Run());
  EXPECT_THAT(std::vector<std::string>(tail.begin(), tail.begin() + 3),
              ElementsAre(kMakerLabel + deep,
                          "*** Not Written, UNC Form Longer Than 255 Characters *** " +
                              kMakerLabel + deepUnc.substr(0, 255),
                          kMakerLabel + deep));
  EXPECT_THAT(std::vector<std::string>(tail.end() - 7, tail.end()),
              ElementsAre("[Ostrelan]", "LicenseFolder=" + deep,
                          "*** Not Written, UNC Form Longer Than 255 Characters *** ", "[Ostrelan]",
                          "LicenseFolder=" + deepUnc.substr(0, 255), "[Ostrelan]",
                          "LicenseFolder=" + deep));
  EXPECT_EQ(Maker(), deep);
  EXPECT_EQ(License(), deep);
}

TEST_F(Conversion, SkippedMapLinesAreListedAndNeverUsed) {
  machine.files.AddFile("C:\\Tools\\Vorlix.txt", "S:=fs1\\shared\r\n\r\nT:=\\\\fs2\\tools\r\n" +
                                                     std::string(300, 'x') + "\r\n");
  const auto lines = Run();
  ASSERT_GE(lines.size(), 16u);
  EXPECT_THAT(std::vector<std::string>(lines.begin() + 9, lines.begin() + 16),
              ElementsAre("T:=\\\\fs2\\tools",
                          "FAILED: Drive map line 1 skipped (network name not in the form "
                          "\\\\server\\share): 'S:=fs1\\shared'",
                          "FAILED: Drive map line 2 skipped (blank line): ''",
                          "FAILED: Drive map line 4 skipped (longer than 255 characters): '" +
                              std::string(255, 'x') + "'",
                          "", "", kMakerLabel + "S:\\Apps"));
  EXPECT_EQ(Maker(), "S:\\Apps");
  EXPECT_EQ(OstrelanPath(), "S:\\Apps\\Ostrelan");
  EXPECT_EQ(License(), "S:\\Shared");
}

TEST_F(Conversion, EmptyDriveMapConvertsNothing) {
  machine.files.AddFile("C:\\Tools\\Vorlix.txt", "");
  const auto lines = Run();
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[7], "Drive maps:");
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[9], "");
  EXPECT_EQ(lines[10], "");
  EXPECT_EQ(lines[11], kMakerLabel + "S:\\Apps");
  EXPECT_EQ(Maker(), "S:\\Apps");
}

}  // namespace
}  // namespace vorlix::drivemap
