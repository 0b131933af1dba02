#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vorlix::report {

// The text as lines, each ended by CR LF, as a text box's lines are saved: an empty last line
// (the text ends with a line break) is not a line of its own.
std::string AsCrLfLines(std::string_view text);

// Writes a whole file into a new file beside the target and then puts it in the target's place,
// so that a failure half-way never leaves an existing file truncated. Throws InOutError.
void SaveFileSafely(platform::FileSystem& files, const std::string& target,
                    std::string_view content);

}  // namespace vorlix::report
