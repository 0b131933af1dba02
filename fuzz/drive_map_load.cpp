// The drive map file loader: any bytes as the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "drive_map_table.h"
#include "drivemap/network_drive_list.h"
#include "fakes/fake_file_system.h"
#include "fuzz_support.h"

namespace {

using vorlix::drivemap::TNetworkDriveList;
using vorlix::fuzz::CheckDriveTable;

constexpr const char* kMapFile = "C:\\Tools\\Vorlix.txt";
constexpr const char* kCopyFile = "C:\\Tools\\Copy.txt";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  vorlix::fakes::FakeFileSystem files;
  files.AddFile(kMapFile, content);

  TNetworkDriveList list;
  list.LoadFromFile(files, kMapFile);
  CheckDriveTable(list);

  // Every line gives an entry or is accounted for, in line order.
  const std::size_t lines = vorlix::fuzz::TextLines(content).size();
  FUZZ_CHECK(list.LocalNames().size() + list.SkippedLines().size() == lines);
  int previous = 0;
  for (const auto& skipped : list.SkippedLines()) {
    FUZZ_CHECK(skipped.number > previous);
    FUZZ_CHECK(static_cast<std::size_t>(skipped.number) <= lines);
    FUZZ_CHECK(!skipped.reason.empty());
    previous = skipped.number;
  }
  // Loaded network names are shares without a trailing backslash.
  for (const std::string& remote : list.RemoteNames()) {
    FUZZ_CHECK(remote.size() > 2 && remote[0] == '\\' && remote[1] == '\\');
    FUZZ_CHECK(remote.back() != '\\');
  }

  // What is saved reads back as the same table.
  list.SaveToFile(files, kCopyFile);
  TNetworkDriveList again;
  again.LoadFromFile(files, kCopyFile);
  FUZZ_CHECK(again.LocalNames() == list.LocalNames());
  FUZZ_CHECK(again.RemoteNames() == list.RemoteNames());
  FUZZ_CHECK(again.SkippedLines().empty());
  return 0;
}
