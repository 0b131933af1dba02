// A saved text report read by the summary: whatever the bytes, the reader gives a report or a
// reason. A report's lines are UTF-8, its counts agree with its lines, and each check's state is
// the worst of the lines that belong to it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "report_checks.h"
#include "summary/report_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlix::fuzz::Input input(data, size);
  const std::string name = input.Field();
  const std::string content = input.Rest();
  const auto result = vorlix::summary::ReadReport("R:\\" + name, content);
  FUZZ_CHECK(result.report.has_value() != !result.skipReason.empty());
  if (result.report) vorlix::fuzz::CheckReport(*result.report);
  return 0;
}
