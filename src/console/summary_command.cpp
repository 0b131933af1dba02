#include <charconv>
#include <sstream>

#include "common/files.h"
#include "common/text.h"
#include "console/arguments.h"
#include "console/commands.h"
#include "console/output.h"
#include "platform/errors.h"
#include "summary/summary.h"
#include "summary/summary_csv.h"
#include "summary/summary_page.h"

namespace vorlix::console {

namespace {

constexpr OptionSpec kSummaryOptions[] = {
    {"--recurse"}, {"--html", true}, {"--csv", true}, {"--all-reports"}, {"--silent-days", true}};

int SilentDays(const std::optional<std::string>& value) {
  if (!value) return kDefaultSilentDays;
  int days = 0;
  const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), days);
  if (error != std::errc() || end != value->data() + value->size() || days < 1) {
    throw UsageError(Join({kSilentDaysNumber, *value, "'"}));
  }
  return days;
}

// "read 12,000 of 22,040 files", rewritten in place on a console.
std::string Grouped(std::size_t n) {
  const std::string digits = std::to_string(n);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

// The page or the table, claimed in one step: a reader never meets a half-written file.
int WriteOutput(System& system, std::string_view notWritten, const std::string& path,
                std::string_view content) {
  if (system.files.FolderExists(path)) {
    Tell(system.streams, Join({notWritten, path, kOutputIsFolder}));
    return kFileError;
  }
  try {
    SaveFileSafely(system.files, path, content);
  } catch (const InOutError& error) {
    Tell(system.streams,
         Join({notWritten, path, "' (system error ", std::to_string(error.code()), ")"}));
    return kFileError;
  }
  return kDone;
}

}  // namespace

int RunSummary(std::span<const std::string> words, System& system) {
  const Arguments arguments(words, kSummaryOptions);
  const auto& paths = arguments.Positional();
  if (paths.empty()) throw UsageError(std::string(kNoReportPath));
  summary::SummaryOptions options;
  options.recurse = arguments.Has("--recurse");
  options.allReports = arguments.Has("--all-reports");
  options.silentDays = SilentDays(arguments.Value("--silent-days"));
  const auto html = arguments.Value("--html");
  const auto csv = arguments.Value("--csv");
  for (const auto& output : {html, csv}) {
    if (output) options.excluded.push_back(system.files.FullPath(*output));
  }
  const bool showProgress = system.streams.ErrIsConsole();
  if (showProgress) {
    options.progress = [&system](std::size_t read, std::size_t total) {
      if (read % kProgressStep == 0 || read == total) {
        system.streams.Err(
            Join({"\r", kProgressRead, Grouped(read), " of ", Grouped(total), kProgressFiles}));
      }
    };
  }
  const summary::Summary result = summary::Summarise(system.files, paths, options);
  if (showProgress && result.files > 0) system.streams.Err(kNewLine);
  std::ostringstream text;
  summary::WriteSummaryText(result, text);
  system.streams.Out(text.str());
  for (const summary::SkippedFile& file : result.skipped) {
    if (file.unreadable) Tell(system.streams, Join({file.path, ": ", file.reason}));
  }

  int status = result.AnyUnreadable() ? kFileError : result.AnyFailed() ? kDoneWithFailures : kDone;
  if (html)
    status =
        Worse(status, WriteOutput(system, kPageNotWritten, *html, summary::SummaryPage(result)));
  if (csv)
    status =
        Worse(status, WriteOutput(system, kTableNotWritten, *csv, summary::SummaryCsv(result)));
  return status;
}

}  // namespace vorlix::console
