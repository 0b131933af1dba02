// A report's JSON as the summary reads it: either a reason or a document, and a document
// written back reads as the same document. The summary's reader over the same bytes agrees.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "report/report_json.h"
#include "report_checks.h"
#include "summary/report_reader.h"

namespace {

namespace json = vorlix::report::json;

bool Same(const json::Document& a, const json::Document& b) {
  if (a.lines.size() != b.lines.size()) return false;
  for (std::size_t i = 0; i < a.lines.size(); ++i) {
    if (a.lines[i].text != b.lines[i].text || a.lines[i].check != b.lines[i].check ||
        a.lines[i].checkId != b.lines[i].checkId || !(a.lines[i].facts == b.lines[i].facts)) {
      return false;
    }
  }
  if (a.findings.size() != b.findings.size()) return false;
  for (std::size_t i = 0; i < a.findings.size(); ++i) {
    const json::Finding& x = a.findings[i];
    const json::Finding& y = b.findings[i];
    if (x.rule != y.rule || x.title != y.title || x.cause != y.cause || x.repair != y.repair ||
        x.lines != y.lines) {
      return false;
    }
  }
  return a.checkIds == b.checkIds && a.tool == b.tool && a.release == b.release &&
         a.computer == b.computer && a.user == b.user && a.program == b.program &&
         a.level == b.level && a.time == b.time && a.codePage == b.codePage && a.failed == b.failed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  bool valid = true;
  json::Document document;
  try {
    document = json::Read(content);
  } catch (const json::FormatError& error) {
    valid = false;
    FUZZ_CHECK(*error.what() != '\0');
    FUZZ_CHECK(vorlix::fuzz::ValidUtf8(error.what()));
  }
  if (valid) {
    FUZZ_CHECK(document.failed >= 0);
    FUZZ_CHECK(!document.codePage || (*document.codePage >= 1 && *document.codePage <= 65535));
    for (const json::Line& line : document.lines) FUZZ_CHECK(vorlix::fuzz::ValidUtf8(line.text));
    const std::string written = json::Write(document);
    FUZZ_CHECK(vorlix::fuzz::ValidUtf8(written));
    FUZZ_CHECK(Same(json::Read(written), document));
  }
  const auto read = vorlix::summary::ReadReport("R:\\r.json", content);
  if (read.report) vorlix::fuzz::CheckReport(*read.report);
  // Only a JSON object opens with "{"; what the JSON reader refuses is no report.
  const auto first = content.find_first_not_of(" \t\r\n");
  if (!valid && first != std::string::npos && content[first] == '{') {
    FUZZ_CHECK(!read.report);
  }
  return 0;
}
