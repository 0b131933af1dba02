// Two Vorlix windows at once: each report gets a temporary file of its own, and two saves of the
// drive map at the same moment leave one whole map, never a mix of the two.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "drivemap/drive_map_file.h"
#include "drivemap/network_drive_list.h"
#include "fakes/fake_network.h"
#include "platform/errors.h"
#include "platform/win32/win32_file_system.h"
#include "report/temp_report.h"
#include "support/scratch_files.h"

namespace vorlix {
namespace {

using testing::Matching;

using platform::win32::Win32FileSystem;

drivemap::TNetworkDriveList Map(char first, int count) {
  fakes::FakeNetworkNames network;
  for (int i = 0; i < count; ++i) {
    const char letter = static_cast<char>(first + i);
    network.connections[std::string{letter, ':'}] =
        "\\\\server-" + std::string(1, letter) + "\\" + std::string(200, letter);
  }
  drivemap::TNetworkDriveList drives;
  drives.ReadCurrentMappings(network);
  return drives;
}

std::string Content(const drivemap::TNetworkDriveList& drives) {
  std::string text;
  for (std::size_t i = 0; i < drives.LocalNames().size(); ++i) {
    text += drives.LocalNames()[i] + "=" + drives.RemoteNames()[i] + "\r\n";
  }
  return text;
}

TEST(TwoWindows, SimultaneousDriveMapSavesLeaveOneWholeMap) {
  Win32FileSystem files;
  const std::string folder = files.TempFolder() + "vorlix-two-windows\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string mapFile = folder + "vorlix.txt";
  const auto first = Map('D', 12);
  const auto second = Map('P', 9);
  const std::set<std::string> whole = {Content(first), Content(second)};

  std::atomic<bool> go{false};
  std::atomic<int> saved{0};
  std::atomic<int> refused{0};
  auto saver = [&](const drivemap::TNetworkDriveList& drives) {
    Win32FileSystem own;
    while (!go) std::this_thread::yield();
    for (int i = 0; i < 150; ++i) {
      try {
        drives.SaveToFile(own, mapFile);
        ++saved;
      } catch (const drivemap::DriveMapError&) {
        ++refused;  // the other save held the map at that instant; the map stays whole
      }
    }
  };
  std::thread a(saver, std::cref(first));
  std::thread b(saver, std::cref(second));
  go = true;
  while (saved + refused < 300) {
    std::string now;
    try {
      now = files.ReadAll(mapFile);
    } catch (const InOutError&) {
      continue;  // not there yet, or being replaced at this instant
    }
    if (!now.empty()) {
      EXPECT_EQ(whole.count(now), 1u) << "a mixed or partial map was seen";
    }
  }
  a.join();
  b.join();
  EXPECT_GT(saved, 0);
  EXPECT_EQ(whole.count(files.ReadAll(mapFile)), 1u);
  EXPECT_EQ(Matching(folder + "*.tmp"), std::vector<std::string>{});
  ::DeleteFileA(mapFile.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

TEST(TwoWindows, ReportsAtTheSameMomentUseTemporaryFilesOfTheirOwn) {
  Win32FileSystem files;
  const auto before = Matching(files.TempFolder() + "Kx*.tmp");
  std::atomic<bool> go{false};
  auto window = [&](int which) {
    Win32FileSystem own;
    while (!go) std::this_thread::yield();
    for (int i = 0; i < 60; ++i) {
      const std::string mark = "window " + std::to_string(which) + " report " + std::to_string(i);
      std::string expected;
      const std::string text = report::WriteThroughTempFile(own, [&](report::ReportFile& file) {
        for (int line = 0; line < 200; ++line) {
          file.WriteLine(mark);
          expected += mark + "\r\n";
        }
      });
      EXPECT_EQ(text, expected);  // nothing of the other window's report
    }
  };
  std::thread a(window, 0);
  std::thread b(window, 1);
  go = true;
  a.join();
  b.join();
  EXPECT_EQ(Matching(files.TempFolder() + "Kx*.tmp"), before);
}

}  // namespace
}  // namespace vorlix
