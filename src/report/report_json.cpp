#include "report/report_json.h"

#include <climits>
#include <cstdint>
#include <nlohmann/json.hpp>

namespace vorlix::report::json {

namespace {

using Json = nlohmann::ordered_json;

// Thrown from the parser's callback to stop at the first level a report does not have.
struct TooDeep {};

std::string Key(std::string_view name) { return std::string(name); }

Json CheckValue(LineCheck check) {
  switch (check) {
    case LineCheck::Passed:
      return std::string(kPassed);
    case LineCheck::Failed:
      return std::string(kFailedCheck);
    case LineCheck::None:
      break;
  }
  return nullptr;
}

// A text that came from the system's own conversion is valid UTF-8; should it not be, a
// replacement character is better than a lost report.
std::string Dump(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The parser's own message without the bytes it last read, which are the file's and untrusted.
std::string ParseProblem(const Json::parse_error& error) {
  const std::string what = error.what();
  const std::string at = " at byte " + std::to_string(error.byte);
  if (what.find("ill-formed UTF-8") != std::string::npos ||
      what.find("surrogate") != std::string::npos) {
    return "invalid UTF-8 or \\u escape" + at;
  }
  if (what.find("unexpected end of input") != std::string::npos) return "cut short" + at;
  std::string detail =
      what.substr(what.find(" - ") == std::string::npos ? 0 : what.find(" - ") + 3);
  detail = detail.substr(0, detail.find("; last read"));
  return "not valid JSON (" + detail + ")" + at;
}

Json Parse(std::string_view text) {
  const auto depthLimit = [](int depth, Json::parse_event_t event, Json&) {
    const bool opens =
        event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start;
    if (opens && depth >= kMaxDepth) throw TooDeep{};
    return true;
  };
  try {
    return Json::parse(text.begin(), text.end(), depthLimit);
  } catch (const TooDeep&) {
    throw FormatError("nested deeper than a report");
  } catch (const Json::parse_error& error) {
    throw FormatError(ParseProblem(error));
  } catch (const Json::out_of_range&) {
    throw FormatError("a number out of range");
  }
}

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

// A text member; empty when it is absent or null.
std::string Text(const Json& object, std::string_view name) {
  const auto found = object.find(Key(name));
  if (found == object.end() || found->is_null()) return {};
  if (!found->is_string()) throw FormatError(Quoted(name) + " is not a text");
  return found->get<std::string>();
}

// A whole number from `low` to `high`; nullopt when it is absent or null.
std::optional<int> Number(const Json& object, std::string_view name, int low, int high) {
  const auto found = object.find(Key(name));
  if (found == object.end() || found->is_null()) return std::nullopt;
  if (!found->is_number_integer()) throw FormatError(Quoted(name) + " is not a whole number");
  // Large unsigned values are kept apart so that they cannot wrap into range.
  const bool huge = found->is_number_unsigned() &&
                    found->get<std::uint64_t>() > static_cast<std::uint64_t>(INT_MAX);
  const std::int64_t value = huge ? std::int64_t{INT_MAX} + 1 : found->get<std::int64_t>();
  if (value < low || value > high) throw FormatError(Quoted(name) + " is out of range");
  return static_cast<int>(value);
}

// A true or false member; nullopt when it is absent or null.
std::optional<bool> Flag(const Json& object, std::string_view name) {
  const auto found = object.find(Key(name));
  if (found == object.end() || found->is_null()) return std::nullopt;
  if (!found->is_boolean()) throw FormatError(Quoted(name) + " is not true or false");
  return found->get<bool>();
}

Line LineOf(const Json& item, std::size_t number, bool& checkIds) {
  const std::string which = "line " + std::to_string(number);
  if (!item.is_object()) throw FormatError(which + " is not an object");
  const auto text = item.find(Key(kText));
  if (text == item.end() || !text->is_string()) {
    throw FormatError(which + " has no " + Quoted(kText));
  }
  Line line{text->get<std::string>(), LineCheck::None, std::nullopt, {}};
  const std::string check = Text(item, kCheck);
  if (check == kPassed) {
    line.check = LineCheck::Passed;
  } else if (check == kFailedCheck) {
    line.check = LineCheck::Failed;
  } else if (!check.empty()) {
    throw FormatError(which + " has an unknown " + Quoted(kCheck));
  }
  if (item.contains(Key(kCheckId))) {
    const std::string id = Text(item, kCheckId);
    if (!id.empty()) {
      line.checkId = CheckById(id);
      if (!line.checkId) throw FormatError(which + " has an unknown " + Quoted(kCheckId));
    }
  } else {
    checkIds = false;
  }
  line.facts.letterHere = Flag(item, kLetterHere);
  line.facts.serverAnswered = Flag(item, kServerAnswered);
  return line;
}

Finding FindingOf(const Json& item, std::size_t number, std::size_t lineCount) {
  const std::string which = "finding " + std::to_string(number);
  if (!item.is_object()) throw FormatError(which + " is not an object");
  Finding finding{
      Text(item, kRule), Text(item, kTitle), Text(item, kCause), Text(item, kRepair), {}};
  const auto lines = item.find(Key(kFindingLines));
  if (lines == item.end() || !lines->is_array()) {
    throw FormatError(which + " has no " + Quoted(kFindingLines) + " list");
  }
  for (const Json& value : *lines) {
    if (!value.is_number_integer() || value.get<std::int64_t>() < 1 ||
        value.get<std::int64_t>() > static_cast<std::int64_t>(lineCount)) {
      throw FormatError(which + " names a line the report does not have");
    }
    finding.lines.push_back(static_cast<int>(value.get<std::int64_t>()));
  }
  return finding;
}

}  // namespace

std::string Write(const Document& document) {
  std::string out = "{\n";
  const auto field = [&out](std::string_view name, const Json& value) {
    out.append("  ").append(Dump(Key(name))).append(": ").append(Dump(value)).append(",\n");
  };
  field(kTool, document.tool);
  field(kRelease, document.release);
  field(kComputer, document.computer);
  field(kUser, document.user);
  field(kProgram, document.program);
  field(kLevel, document.level);
  field(kTime, document.time);
  if (document.codePage) field(kCodePage, *document.codePage);
  field(kFailed, document.failed);
  out.append("  ").append(Dump(Key(kLines))).append(": [");
  const char* separator = "\n";
  for (const Line& line : document.lines) {
    Json item = Json::object();
    item[Key(kText)] = line.text;
    item[Key(kCheck)] = CheckValue(line.check);
    if (document.checkIds) {
      item[Key(kCheckId)] = line.checkId ? Json(std::string(InfoOf(*line.checkId).id)) : Json();
    }
    if (line.facts.letterHere) item[Key(kLetterHere)] = *line.facts.letterHere;
    if (line.facts.serverAnswered) item[Key(kServerAnswered)] = *line.facts.serverAnswered;
    out.append(separator).append("    ").append(Dump(item));
    separator = ",\n";
  }
  out.append("\n  ],\n  ").append(Dump(Key(kFindings))).append(": [");
  separator = "\n";
  for (const Finding& finding : document.findings) {
    Json item = Json::object();
    item[Key(kRule)] = finding.rule;
    item[Key(kTitle)] = finding.title;
    item[Key(kCause)] = finding.cause;
    item[Key(kRepair)] = finding.repair;
    item[Key(kFindingLines)] = finding.lines;
    out.append(separator).append("    ").append(Dump(item));
    separator = ",\n";
  }
  return out.append(document.findings.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

Document Read(std::string_view text) {
  const Json root = Parse(text);
  if (!root.is_object()) throw FormatError("not a report's JSON object");
  Document document;
  document.tool = Text(root, kTool);
  document.release = Text(root, kRelease);
  document.computer = Text(root, kComputer);
  document.user = Text(root, kUser);
  document.program = Text(root, kProgram);
  document.level = Text(root, kLevel);
  document.time = Text(root, kTime);
  document.codePage = Number(root, kCodePage, 1, 65535);
  document.failed = Number(root, kFailed, 0, INT_MAX).value_or(0);
  const auto lines = root.find(Key(kLines));
  if (lines == root.end() || !lines->is_array()) {
    throw FormatError("no " + Quoted(kLines) + " list");
  }
  document.lines.reserve(lines->size());
  for (const Json& item : *lines) {
    document.lines.push_back(LineOf(item, document.lines.size() + 1, document.checkIds));
  }
  // Checks named for some lines only are none: such a file is classified from its text.
  if (!document.checkIds) {
    for (Line& line : document.lines) line.checkId.reset();
  }
  const auto findings = root.find(Key(kFindings));
  if (findings != root.end() && !findings->is_null()) {
    if (!findings->is_array()) throw FormatError(Quoted(kFindings) + " is not a list");
    for (const Json& item : *findings) {
      document.findings.push_back(
          FindingOf(item, document.findings.size() + 1, document.lines.size()));
    }
  }
  return document;
}

}  // namespace vorlix::report::json
