// IndexOfDrive, IsMappedDrive and ToUNC of any paths against a table loaded from any drive map
// file or filled from any live connections.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "drive_map_table.h"
#include "drivemap/network_drive_list.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_network.h"
#include "fuzz_support.h"

namespace {

using vorlix::drivemap::TNetworkDriveList;
using vorlix::fuzz::AsciiLower;
using vorlix::fuzz::AsciiUpper;

constexpr const char* kMapFile = "C:\\Tools\\Vorlix.txt";

std::string Trim(std::string_view path) {
  while (!path.empty() && path.front() == ' ') path.remove_prefix(1);
  while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

int FirstIndex(const std::vector<std::string>& names, const std::string& key) {
  const auto found = std::find(names.begin(), names.end(), key);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// Live connections from the input: each line a letter (by its first byte) and a network name.
void FillLive(TNetworkDriveList& list, const std::string& table) {
  vorlix::fakes::FakeNetworkNames network;
  for (const std::string& line : vorlix::fuzz::TextLines(table)) {
    if (line.empty()) continue;
    const char letter = static_cast<char>('A' + static_cast<unsigned char>(line[0]) % 26);
    network.connections[std::string{letter, ':'}] = line.substr(1);
  }
  list.ReadCurrentMappings(network);
}

void CheckPath(const TNetworkDriveList& list, const std::string& path, bool loaded) {
  const auto& local = list.LocalNames();
  const auto& remote = list.RemoteNames();
  const std::string trimmed = Trim(path);
  const int index = list.IndexOfDrive(path);
  FUZZ_CHECK(index >= -1 && index < static_cast<int>(local.size()));
  FUZZ_CHECK(list.IsMappedDrive(path) == (index >= 0));

  // The drive is looked up in upper case first, then in lower case; the first entry wins.
  const std::string key = trimmed.size() > 2 ? trimmed.substr(0, 2) : trimmed;
  const int upper = FirstIndex(local, AsciiUpper(key));
  FUZZ_CHECK(index == (upper >= 0 ? upper : FirstIndex(local, AsciiLower(key))));

  const std::string unc = list.ToUNC(path);
  if (index < 0) {
    FUZZ_CHECK(unc == trimmed);
  } else {
    FUZZ_CHECK(!trimmed.empty());
    std::string_view rest =
        std::string_view(trimmed).substr(std::min<std::size_t>(2, trimmed.size()));
    while (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
    // Never cut: the caller decides what to do with a result too long to store.
    FUZZ_CHECK(unc == remote[static_cast<std::size_t>(index)] + "\\" + std::string(rest));
  }
  // A loaded table holds only shares, so a converted path never converts again.
  if (loaded) FUZZ_CHECK(list.ToUNC(unc) == Trim(unc));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlix::fuzz::Input input(data, size);
  const bool loaded = (input.Byte() & 1) == 0;
  const std::string table = input.Field();

  TNetworkDriveList list;
  if (loaded) {
    vorlix::fakes::FakeFileSystem files;
    files.AddFile(kMapFile, table);
    list.LoadFromFile(files, kMapFile);
  } else {
    FillLive(list, table);
  }
  vorlix::fuzz::CheckDriveTable(list);

  // An empty or blank path is on no drive, whatever the table holds.
  FUZZ_CHECK(list.IndexOfDrive("") == -1);
  FUZZ_CHECK(list.IndexOfDrive("  \\\\ ") == -1);
  while (!input.Empty()) CheckPath(list, input.Field(), loaded);
  return 0;
}
