#pragma once

#include <string>
#include <vector>

#include "common/release.h"
#include "report/checks.h"

// The JSON form of a report, made by hand so that the reader is not tested with its own writer.
namespace vorlix::testing {

inline std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

struct JsonFacts {
  std::string computer;
  std::string user;  // already JSON-escaped where it needs to be
  std::string program = "Ostrelan";
  std::string level = "Normal";
  std::string time;  // "2026-12-08T14:05:09+01:00"
};

// With `records`, each line also names its check and what the check learnt, as the driver
// recorded them.
inline std::string JsonReport(const JsonFacts& facts, const std::vector<std::string>& lines,
                              const std::vector<report::LineRecord>* records = nullptr) {
  std::string json = "{\"tool\": \"Vorlix\", \"release\": \"" VORLIX_RELEASE "\", \"computer\": " +
                     JsonString(facts.computer) + ", \"user\": \"" + facts.user +
                     "\", \"program\": " + JsonString(facts.program) +
                     ", \"level\": " + JsonString(facts.level) +
                     ", \"time\": " + JsonString(facts.time) + ", \"lines\": [";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool passed = records ? (*records)[i].verdict == report::CheckState::Passed
                                : lines[i].rfind("   Passed: ", 0) == 0;
    const bool failed = records ? (*records)[i].verdict == report::CheckState::Failed
                                : lines[i].rfind("   FAILED: ", 0) == 0;
    json += std::string(i ? ",\n  " : "\n  ") + "{\"text\": " + JsonString(lines[i]) +
            ", \"check\": " +
            (passed   ? "\"passed\""
             : failed ? "\"failed\""
                      : "null");
    if (records) {
      const report::LineRecord& record = (*records)[i];
      json += ", \"checkid\": " +
              (record.check ? JsonString(std::string(report::InfoOf(*record.check).id)) : "null");
      const auto flag = [&json](const char* name, std::optional<bool> value) {
        if (value) json += std::string(", \"") + name + "\": " + (*value ? "true" : "false");
      };
      flag("letterhere", record.facts.letterHere);
      flag("serveranswered", record.facts.serverAnswered);
    }
    json += "}";
  }
  return json + "]}";
}

}  // namespace vorlix::testing
