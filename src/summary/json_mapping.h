#pragma once

#include <string_view>

#include "summary/report_reader.h"

namespace vorlix::summary {

// A report from its JSON form: each line's check as its writer named it (an older file's lines
// classified as a text's), and who ran it, when and at which level from its fields.
ReadResult FromJson(std::string_view path, std::string_view content);

}  // namespace vorlix::summary
