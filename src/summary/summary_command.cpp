#include "summary/summary_command.h"

#include <optional>

#include "common/files.h"
#include "platform/errors.h"
#include "summary/summary.h"
#include "summary/summary_page.h"
#include "summary/text_helpers.h"

namespace vorlix::summary {

namespace {

constexpr std::string_view kPrefix = "vorlixc summary: ";

struct Options {
  std::vector<std::string> paths;
  std::optional<std::string> html;
  bool recurse = false;
};

// The reason the arguments are bad, or nothing.
std::string Parse(const std::vector<std::string>& args, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--recurse") {
      options.recurse = true;
    } else if (arg == "--html") {
      if (options.html) return "--html is given twice";
      if (i + 1 >= args.size() || args[i + 1].empty()) return "--html needs a file name";
      options.html = args[++i];
    } else if (StartsWith(arg, "--") || arg.empty()) {
      return "unknown option '" + arg + "'";
    } else {
      options.paths.push_back(arg);
    }
  }
  if (options.paths.empty()) return "no report file or folder given";
  return {};
}

}  // namespace

int RunSummary(const std::vector<std::string>& args, platform::FileSystem& files, std::ostream& out,
               std::ostream& err) {
  Options options;
  if (const std::string problem = Parse(args, options); !problem.empty()) {
    err << kPrefix << problem << "\n" << kSummaryUsage << "\n";
    return kExitBadUsage;
  }

  std::vector<std::string> excluded;
  if (options.html) excluded.push_back(files.FullPath(*options.html));
  const Summary summary = Summarise(files, options.paths, options.recurse, excluded);
  WriteSummaryText(summary, out);
  out.flush();
  for (const SkippedFile& file : summary.skipped) {
    if (file.unreadable) err << kPrefix << file.path << ": " << file.reason << "\n";
  }

  if (options.html) {
    if (files.FolderExists(*options.html)) {
      err << kPrefix << "the page cannot be written: '" << *options.html << "' is a folder\n";
      return kExitPageNotWritten;
    }
    try {
      SaveFileSafely(files, *options.html, SummaryPage(summary));
    } catch (const InOutError& error) {
      err << kPrefix << "the page cannot be written: '" << *options.html << "' (system error "
          << error.code() << ")\n";
      return kExitPageNotWritten;
    }
  }
  if (summary.AnyUnreadable()) return kExitNotRead;
  return summary.AnyFailed() ? kExitFailedChecks : kExitClean;
}

}  // namespace vorlix::summary
