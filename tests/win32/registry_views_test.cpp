// The family's machine keys in the 64-bit view, the 32-bit view (Software\Wow6432Node) or both,
// read by the report's settings and rewritten by the conversion through Wine's real registry.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drivemap/unc_conversion.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_network.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_private_profile.h"
#include "platform/win32/win32_registry.h"
#include "report/report_settings.h"
#include "report/temp_report.h"
#include "support/scratch_registry.h"

namespace vorlix {
namespace {

using settings::kFamilySection;
using settings::kMachineStore;
using settings::kProgramSection;
using ::testing::HasSubstr;
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

class MachineKeyViews : public ::testing::TestWithParam<ViewCase> {
 protected:
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
  // Each view's values name the view; the 64-bit view's count whenever its key is there.
  if (Has64(c.maker)) maker64.SetString("TarnwickPath", "S:\\Apps64");
  if (Has32(c.maker)) maker32.SetString("TarnwickPath", "S:\\Apps32");
  if (Has64(c.program)) program64.SetString("Path", "S:\\Apps64\\Ostrelan");
  if (Has32(c.program)) program32.SetString("Path", "S:\\Apps32\\Ostrelan");
  const std::string maker = Has64(c.maker) ? "\\Apps64" : "\\Apps32";
  const std::string program =
      (Has64(c.program) ? "\\Apps64" : "\\Apps32") + std::string("\\Ostrelan");
  const std::string makerLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnwickPath=";
  const std::string pathLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Ostrelan\\Path=";

  // Full access must not create the store's key in the 64-bit view when it is in the 32-bit one.
  report::TReportSettings writable(platform, "Ostrelan", settings::kModeReadWrite);
  report::TReportSettings settings(platform, "Ostrelan", settings::kModeReadOnly);
  EXPECT_EQ(report::WriteThroughTempFile(
                files,
                [&](report::ReportFile& file) {
                  settings.ReportSetting(file, kMachineStore, kFamilySection, "TarnWickPath");
                  settings.ReportSetting(file, kMachineStore, kProgramSection, "Path");
                }),
            "   Passed: HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\Tarnwick\\TarnWickPath=S:" + maker +
                "\r\n   Passed: " + pathLabel + "S:" + program + "\r\n");

  network.connections["S:"] = "\\\\fs1\\shared";
  drivemap::TNetworkDriveList drives;
  drives.ReadCurrentMappings(network);
  const std::string converted = report::WriteThroughTempFile(files, [&](report::ReportFile& file) {
    drivemap::ConvertPathsToUNC(file, "Ostrelan", drives, platform);
  });
  EXPECT_THAT(converted, HasSubstr(makerLabel + "S:" + maker + "\r\n" + makerLabel +
                                   "\\\\fs1\\shared" + maker + "\r\n"));
  EXPECT_THAT(converted, HasSubstr(pathLabel + "S:" + program + "\r\n" + pathLabel +
                                   "\\\\fs1\\shared" + program + "\r\n"));

  // Written where it was read; the other view keeps its value, and no key appears in it.
  EXPECT_EQ((Has64(c.maker) ? maker64 : maker32).GetString("TarnwickPath"),
            "\\\\fs1\\shared" + maker);
  EXPECT_EQ((Has64(c.program) ? program64 : program32).GetString("Path"),
            "\\\\fs1\\shared" + program);
  EXPECT_EQ((Has64(c.maker) ? maker32 : maker64).GetString("TarnwickPath"),
            c.maker == In::kBoth ? "S:\\Apps32" : "<absent>");
  EXPECT_EQ((Has64(c.program) ? program32 : program64).GetString("Path"),
            c.program == In::kBoth ? "S:\\Apps32\\Ostrelan" : "<absent>");
  EXPECT_EQ(maker64.Exists(), Has64(c.maker));
  EXPECT_EQ(maker32.Exists(), Has32(c.maker));
  EXPECT_EQ(program64.Exists(), Has64(c.program));
  EXPECT_EQ(program32.Exists(), Has32(c.program));
  const bool in64 = Has64(c.maker) || Has64(c.program);
  EXPECT_EQ(base64.Exists(), in64);

  // A key in neither view is made beside its parent, the 64-bit one first.
  EXPECT_NE(registry
                .OpenKey(platform::RegistryRoot::LocalMachine, "Software\\Tarnwick\\New",
                         platform::RegistryAccess::All, true)
                .key,
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
