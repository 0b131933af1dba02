#include "console/json_report.h"

#include <cstdio>
#include <cstdlib>

#include "common/text_lines.h"
#include "console/output.h"
#include "console/texts.h"
#include "report/report_file.h"

namespace vorlix::console {

namespace {

std::string CheckOf(std::string_view line) {
  if (line.starts_with(report::kPassedPrefix)) return "\"passed\"";
  if (line.starts_with(report::kFailedPrefix)) return "\"failed\"";
  return "null";
}

void Field(std::string& json, std::string_view name, std::string_view value) {
  json.append("  ").append(JsonString(name)).append(": ").append(value).append(",\n");
}

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string IsoLocalTime(const platform::LocalTime& t, int utcOffsetMinutes) {
  const int offset = std::abs(utcOffsetMinutes);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month,
                t.day, t.hour, t.minute, t.second, utcOffsetMinutes < 0 ? '-' : '+', offset / 60,
                offset % 60);
  return text;
}

std::string JsonReport(std::string_view reportText, const ReportFacts& facts, Session& session) {
  const auto text = [&session](std::string_view ansi) {
    return JsonString(session.AnsiToUtf8(ansi));
  };
  std::string json = "{\n";
  Field(json, "tool", JsonString(kToolName));
  Field(json, "release", JsonString(kRelease));
  Field(json, "computer", text(facts.computer));
  Field(json, "user", text(facts.user));
  Field(json, "program", text(facts.program));
  Field(json, "level", JsonString(facts.level == 2 ? "Full" : "Normal"));
  Field(json, "time", JsonString(IsoLocalTime(facts.time, facts.utcOffsetMinutes)));
  Field(json, "failed", std::to_string(CountFailureLines(reportText)));
  json += "  \"lines\": [";
  TextLines lines{std::string(reportText)};
  const char* separator = "\n";
  while (const auto line = lines.ReadLine()) {
    json.append(separator).append("    {\"text\": ").append(text(*line));
    json.append(", \"check\": ").append(CheckOf(*line)).append("}");
    separator = ",\n";
  }
  json += "\n  ]\n}\n";
  return json;
}

}  // namespace vorlix::console
