#include "summary/report_names.h"

#include "common/family.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Takes "_<program>" off the end of the name and gives the family's spelling.
std::optional<std::string> TakeProgram(std::string_view& name) {
  for (const std::string_view program : family::kPrograms) {
    if (name.size() > program.size() && EndsWithNoCase(name, program) &&
        name[name.size() - program.size() - 1] == '_') {
      name.remove_suffix(program.size() + 1);
      return std::string(program);
    }
  }
  return std::nullopt;
}

}  // namespace

std::string FileNameOf(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<ReportName> ParseReportName(std::string_view fileName) {
  ReportName parsed;
  std::string_view name = fileName;
  if (EndsWithNoCase(name, ".txt")) {
    name.remove_suffix(4);
  } else if (EndsWithNoCase(name, ".json")) {
    name.remove_suffix(5);
    parsed.json = true;
  } else {
    return std::nullopt;
  }
  // The "-2", "-3", ... of a name that existed already; six digits are the stamp's own.
  const auto dash = name.find_last_of('-');
  if (dash != std::string_view::npos && dash + 1 < name.size() &&
      AllDigits(name.substr(dash + 1)) && name.size() - dash - 1 != 6) {
    const std::string_view copy = name.substr(dash + 1);
    if (copy.size() > 6) return std::nullopt;
    parsed.copy = std::stoi(std::string(copy));
    name = name.substr(0, dash);
  }
  constexpr std::size_t kStampLength = 15;
  if (name.size() < kStampLength + 1) return std::nullopt;
  const std::string_view stamp = name.substr(name.size() - kStampLength);
  if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9))) {
    return std::nullopt;
  }
  parsed.stamp = std::string(stamp);
  name.remove_suffix(kStampLength);
  if (name.back() != '_') return std::nullopt;
  name.remove_suffix(1);
  auto program = TakeProgram(name);
  if (!program) return std::nullopt;
  parsed.program = std::move(*program);
  // A computer name holds no underscore; a user name may.
  const auto underscore = name.find('_');
  if (underscore == std::string_view::npos || underscore == 0 || underscore + 1 == name.size()) {
    return std::nullopt;
  }
  parsed.computer = std::string(name.substr(0, underscore));
  parsed.user = std::string(name.substr(underscore + 1));
  return parsed;
}

}  // namespace vorlix::summary
