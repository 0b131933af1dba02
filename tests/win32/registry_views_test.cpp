// The family's machine keys in the 64-bit view, the 32-bit view (Software\Wow6432Node) or both,
// read by the report's settings and rewritten by the conversion through Wine's real registry.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "drivemap/network_drive_list.h"
#include "drivemap/unc_conversion.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_network.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"
#include "report/temp_report.h"
#include "settings/report_settings.h"
#include "win32/scratch_registry.h"

namespace vorlix {
namespace {

using ::testing::ElementsAre;
using testing::ScratchKey;

enum class In { k64, k32, kBoth };

struct ViewCase {
  const char* name;
  In maker;    // Software\Tarnwick\Tarnwick
  In program;  // Software\Tarnwick\Ostrelan
};

void PrintTo(const ViewCase& c, std::ostream* out) { *out << c.name; }

bool Has64(In in) { return in != In::k32; }
bool Has32(In in) { return in != In::k64; }
// The view whose value counts: the 64-bit one whenever the key is there.
std::string ReadFrom(In in) { return Has64(in) ? "64" : "32"; }

const std::string kMakerLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\";
const std::string kProgramLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\";

class MachineKeyViews : public ::testing::TestWithParam<ViewCase> {
 protected:
  std::vector<std::string> Lines(const std::function<void(report::ReportFile&)>& body) {
    std::istringstream text(report::WriteThroughTempFile(files, body));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
      lines.push_back(line.substr(0, line.find('\r')));
    return lines;
  }

  platform::win32::Win32FileSystem files;
  platform::win32::Win32Registry registry;
  platform::win32::Win32PrivateProfile profile;
  platform::win32::Win32Clock clock;
  fakes::FakeNetworkNames network;
  fakes::FakeDialogs dialogs;
  platform::Platform platform{files, registry, profile, network, dialogs, clock};

  ScratchKey user{HKEY_CURRENT_USER, "Software\\Tarnwick"};  // the settings create it
  ScratchKey base64{HKEY_LOCAL_MACHINE, "Software\\Tarnwick"};
  ScratchKey base32{HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Tarnwick"};
  ScratchKey maker64{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Tarnwick"};
  ScratchKey maker32{HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Tarnwick\\Tarnwick"};
  ScratchKey program64{HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\Ostrelan"};
  ScratchKey program32{HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Tarnwick\\Ostrelan"};
};

TEST_P(MachineKeyViews, ReportReadsAndConversionRewritesInTheViewWhereTheKeyIs) {
  const ViewCase c = GetParam();
  ASSERT_FALSE(base64.Exists() || base32.Exists()) << "family keys left from elsewhere";
  if (Has64(c.maker)) maker64.SetString("TarnwickPath", "S:\\Apps64");
  if (Has32(c.maker)) maker32.SetString("TarnwickPath", "S:\\Apps32");
  if (Has64(c.program)) program64.SetString("Path", "S:\\Apps64\\Ostrelan");
  if (Has32(c.program)) program32.SetString("Path", "S:\\Apps32\\Ostrelan");
  const std::string maker = "S:\\Apps" + ReadFrom(c.maker);
  const std::string program = "S:\\Apps" + ReadFrom(c.program) + "\\Ostrelan";

  // Opening the machine store with full access creates it only where it is in neither view.
  settings::TReportSettings writable(platform, "Ostrelan", settings::kModeReadWrite);
  settings::TReportSettings settings(platform, "Ostrelan", settings::kModeReadOnly);
  EXPECT_THAT(Lines([&](report::ReportFile& file) {
                settings.ReportSetting(file, settings::kMachineStore, settings::kFamilySection,
                                       "TarnWickPath");
                settings.ReportSetting(file, settings::kMachineStore, settings::kProgramSection,
                                       "Path");
              }),
              ElementsAre("   Passed: " + kMakerLabel + "TarnWickPath=" + maker,
                          "   Passed: " + kProgramLabel + "Path=" + program));

  report::TempFile map(files, report::NewTempFileName(files));
  {
    auto writer = files.CreateText(map.path());
    writer->Write("S:=\\\\fs1\\shared\r\n");
    writer->Close();
  }
  drivemap::TNetworkDriveList drives;
  drives.LoadFromFile(files, map.path());
  std::vector<std::string> registryLines;
  for (const auto& line : Lines([&](report::ReportFile& file) {
         drivemap::ConvertPathsToUNC(file, "Ostrelan", drives, platform);
       })) {
    if (line.rfind("HKEY_LOCAL_MACHINE\\", 0) == 0) registryLines.push_back(line);
  }
  const std::string share = "\\\\fs1\\shared";
  EXPECT_THAT(registryLines, ElementsAre(kMakerLabel + "TarnwickPath=" + maker,
                                         kMakerLabel + "TarnwickPath=" + share + maker.substr(2),
                                         kProgramLabel + "Path=" + program,
                                         kProgramLabel + "Path=" + share + program.substr(2)));

  // Written in the view it was read from; the other view keeps its value or stays empty.
  ScratchKey& makerRead = Has64(c.maker) ? maker64 : maker32;
  ScratchKey& makerOther = Has64(c.maker) ? maker32 : maker64;
  ScratchKey& programRead = Has64(c.program) ? program64 : program32;
  ScratchKey& programOther = Has64(c.program) ? program32 : program64;
  EXPECT_EQ(makerRead.GetString("TarnwickPath"), share + maker.substr(2));
  EXPECT_EQ(programRead.GetString("Path"), share + program.substr(2));
  EXPECT_EQ(makerOther.GetString("TarnwickPath"), c.maker == In::kBoth ? "S:\\Apps32" : "<absent>");
  EXPECT_EQ(programOther.GetString("Path"),
            c.program == In::kBoth ? "S:\\Apps32\\Ostrelan" : "<absent>");
  EXPECT_EQ(makerOther.Exists(), c.maker == In::kBoth);
  EXPECT_EQ(programOther.Exists(), c.program == In::kBoth);
  const bool in64 = Has64(c.maker) || Has64(c.program);
  EXPECT_EQ(base64.Exists(), in64);
  EXPECT_EQ(base32.Exists(), Has32(c.maker) || Has32(c.program));

  // A key in neither view is made beside its parent, the 64-bit one first.
  EXPECT_NE(registry.OpenKey(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\New",
                             platform::RegistryAccess::All, true),
            nullptr);
  EXPECT_EQ(ScratchKey(HKEY_LOCAL_MACHINE, "Software\\Tarnwick\\New").Exists(), in64);
  EXPECT_EQ(ScratchKey(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Tarnwick\\New").Exists(), !in64);
  EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Views, MachineKeyViews,
                         ::testing::Values(ViewCase{"Only32Bit", In::k32, In::k32},
                                           ViewCase{"BothViews", In::kBoth, In::kBoth},
                                           ViewCase{"Maker64Program32", In::k64, In::k32},
                                           ViewCase{"Maker32Program64", In::k32, In::k64}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlix
