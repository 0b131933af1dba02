#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace vorlix::console {

// Exit statuses, the same for every command.
enum ExitStatus : int {
  kDone = 0,
  kDoneWithFailures = 1,  // a FAILED or "*** ... ***" line
  kBadUsage = 2,
  kFileError = 3,  // a file it needs could not be read or written
  kNotElevated = 4,
};

// The status that tells more: a file error outweighs failed lines, which outweigh success.
int Worse(int a, int b);

// A line that reports a failure: a failed check, a conversion line that starts with "FAILED: ",
// or a value that was not written.
bool IsFailureLine(std::string_view line);
int CountFailureLines(std::string_view text);

// "<computer>_<user>_<program>_<yyyymmdd-hhmmss>", the name of a collected report.
std::string CollectedName(std::string_view computer, std::string_view user,
                          std::string_view program, const platform::LocalTime& time);

// folder\name + extension, or folder\name-2 + extension, -3, ...: the first that does not exist.
std::string FreeFileName(platform::FileSystem& files, std::string_view folder,
                         std::string_view name, std::string_view extension);

}  // namespace vorlix::console
