#include "report/universal_path.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "fakes/fake_network.h"

namespace vorlix::report {
namespace {

struct Machine {
  Machine() {
    network.connections["S:"] = "\\\\lic-server\\licences";
    network.connections["C:"] = "\\\\never\\asked";
  }
  std::string Universal(const std::string& path) { return UniversalPath(files, network, path); }
  fakes::FakeFileSystem files;  // current folder C:\Work
  fakes::FakeNetworkNames network;
};

TEST(UniversalPath, MappedDriveLetterBecomesTheShare) {
  Machine m;
  EXPECT_EQ(m.Universal("S:\\Licence"), "\\\\lic-server\\licences\\Licence");
  EXPECT_EQ(m.Universal("s:\\Licence\\x.ini"), "\\\\lic-server\\licences\\Licence\\x.ini");
  EXPECT_EQ(m.network.asked.back(), "S:");
}

TEST(UniversalPath, RelativePathIsMadeAbsoluteFirst) {
  Machine m;
  m.network.connections.erase("C:");
  EXPECT_EQ(m.Universal("Absent"), "C:\\Work\\Absent");
  m.network.connections["C:"] = "\\\\srv\\c";
  EXPECT_EQ(m.Universal("Absent"), "\\\\srv\\c\\Work\\Absent");
}

TEST(UniversalPath, ShortOrNetworkPathsAreNotLookedUp) {
  Machine m;
  m.files.currentFolder = "\\\\srv\\share\\dir";
  EXPECT_EQ(m.Universal("\\\\srv\\share\\x"), "\\\\srv\\share\\x");
  EXPECT_EQ(m.Universal("1:\\x"), "1:\\x");
  EXPECT_EQ(m.Universal("C:"), "C:");
  EXPECT_EQ(m.network.calls, 0);
}

TEST(UniversalPath, ResultIsCutTo255) {
  Machine m;
  const std::string path = "S:\\" + std::string(250, 'd');
  const std::string universal = m.Universal(path);
  EXPECT_EQ(universal, ("\\\\lic-server\\licences\\" + std::string(250, 'd')).substr(0, 255));
}

}  // namespace
}  // namespace vorlix::report
