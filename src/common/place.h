#pragma once

#include <string>
#include <string_view>

namespace vorlix {

// Where a path lies, the one rule for it: on a drive letter, or on a network share.
struct Place {
  enum class Kind { None, Drive, Share };
  Kind kind = Kind::None;
  std::string name;  // "C:" (upper case), or "\\server\share" as the path spells it

  bool operator==(const Place&) const = default;
};

// "X:..." lies on drive X: (whatever stands before the colon, as the report has always read a
// drive); "\\server\share..." with a server and a share named lies on that share; anything else
// lies nowhere known.
Place PlaceOf(std::string_view path);

}  // namespace vorlix
