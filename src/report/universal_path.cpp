#include "report/universal_path.h"

#include <optional>

#include "common/short_string.h"

namespace vorlix::report {

namespace {

char UpperDriveLetter(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string UniversalPath(platform::FileSystem& files, platform::NetworkNames& network,
                          std::string_view path) {
  const std::string full = Short(files.FullPath(std::string(path)));
  if (full.size() < 3 || !IsDriveLetter(full[0]) || full[1] != ':') return full;
  const std::string drive{UpperDriveLetter(full[0]), ':'};
  const std::optional<std::string> share = network.Connection(drive);
  if (!share) return full;
  return Short(*share + full.substr(2));
}

}  // namespace vorlix::report
