#include "summary/report_names.h"

namespace vorlix::summary {

std::string FileNameOf(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace vorlix::summary
