#include "report/universal_path.h"

#include <optional>

#include "common/short_string.h"
#include "common/text.h"

namespace vorlix::report {

std::string UniversalPath(platform::FileSystem& files, platform::NetworkNames& network,
                          std::string_view path) {
  const std::string full = Short(files.FullPath(std::string(path)));
  if (full.size() < 3 || !IsAsciiLetter(full[0]) || full[1] != ':') return full;
  const std::string drive{AsciiUpper(full[0]), ':'};
  const std::optional<std::string> share = network.Connection(drive);
  if (!share) return full;
  return Short(*share + full.substr(2));
}

}  // namespace vorlix::report
