// PathDrive of any path, against the rule as the report reads it: "X:" for a drive path, two
// backslashes and the server for a network path with a share, otherwise nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/short_string.h"
#include "fuzz_support.h"
#include "report/report_file.h"

namespace {

using vorlix::fuzz::AsciiUpper;

std::string Expected(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return AsciiUpper(path.substr(0, 2));
  if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return "";
  // \\server\share...: the server needs a name and a share after it.
  const std::size_t end = path.find('\\', 2);
  if (end == std::string_view::npos || end == 2) return "";
  if (end + 1 >= path.size() || path[end + 1] == '\\') return "";
  return vorlix::Short("\\\\" + AsciiUpper(path.substr(2, end - 2)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string drive = vorlix::report::PathDrive(path);
  FUZZ_CHECK(vorlix::FitsShort(drive));
  FUZZ_CHECK(drive == Expected(path));
  FUZZ_CHECK(drive.empty() || drive.back() != '\\');
  return 0;
}
