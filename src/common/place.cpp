#include "common/place.h"

#include "common/text.h"

namespace vorlix {

Place PlaceOf(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') {
    return {Place::Kind::Drive, {AsciiUpper(path[0]), ':'}};
  }
  if (!path.starts_with("\\\\")) return {};
  const std::size_t server = path.find('\\', 2);
  if (server == std::string_view::npos || server == 2) return {};
  const std::size_t share = path.find('\\', server + 1);
  if (share == server + 1 || server + 1 == path.size()) return {};
  return {Place::Kind::Share, std::string(path.substr(0, share))};
}

}  // namespace vorlix
