// The summary page over fuzzed report files, text and JSON. Every "<" and "&" on the page is
// the page's own: the same summary with each "<" of its texts turned into ">" and each "&"
// into a quote (both escaped, neither markup) gives a page with as many of each. The page has
// one row per workstation, user and program, and the text of each failing one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_file_system.h"
#include "fuzz_support.h"
#include "summary/summary.h"
#include "summary/summary_page.h"

namespace {

using vorlix::summary::Summary;

void Defuse(std::string& text) {
  for (char& c : text) {
    if (c == '<') c = '>';
    if (c == '&') c = '"';
  }
}

Summary Defused(Summary summary) {
  for (auto& row : summary.rows) {
    auto& r = row.latest.report;
    for (std::string* text : {&r.path, &r.fileName, &r.computer, &r.user, &r.program, &r.level,
                              &r.time.shown, &row.since.shown}) {
      Defuse(*text);
    }
    for (auto& line : r.lines) Defuse(line.text);
  }
  for (auto& file : summary.skipped) {
    Defuse(file.path);
    Defuse(file.reason);
  }
  return summary;
}

std::size_t Count(const std::string& text, std::string_view what) {
  std::size_t count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlix::fuzz::Input input(data, size);
  vorlix::fakes::FakeFileSystem share;
  share.AddFolder("R:\\Reports");
  // Up to four files; each a name and a content, the last content all that is left.
  const int files = 1 + input.Byte() % 4;
  for (int i = 0; i < files && !input.Empty(); ++i) {
    std::string name = input.Field();
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](char c) { return c == '\\' || c == '/' || c == '\0'; }),
               name.end());
    if (name.empty()) name = "r" + std::to_string(i) + ".txt";
    share.AddFile("R:\\Reports\\" + name, i + 1 == files ? input.Rest() : input.Field());
  }
  const Summary summary = vorlix::summary::Summarise(share, {"R:\\Reports"}, {});
  const std::string page = vorlix::summary::SummaryPage(summary);
  const std::string plain = vorlix::summary::SummaryPage(Defused(summary));
  FUZZ_CHECK(Count(page, "<") == Count(plain, "<"));
  FUZZ_CHECK(Count(page, "&") == Count(plain, "&"));
  FUZZ_CHECK(Count(page, "<tr class=\"report\">") == summary.rows.size());
  // Only a failing latest report carries its text.
  const auto texts = std::count_if(summary.rows.begin(), summary.rows.end(), [](const auto& row) {
    return !row.latest.report.lines.empty();
  });
  FUZZ_CHECK(Count(page, "<details class=\"report\"") == static_cast<std::size_t>(texts));
  return 0;
}
