#include "console/commands.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "common/family.h"
#include "common/files.h"
#include "common/text.h"
#include "console/arguments.h"
#include "console/dry_run.h"
#include "console/output.h"
#include "drivemap/drive_map_commands.h"
#include "drivemap/drive_map_texts.h"
#include "findings/findings.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "report/collected_name.h"
#include "report/report_driver.h"
#include "report/report_json.h"
#include "report/temp_report.h"

namespace vorlix::console {

void Tell(Streams& streams, std::string_view message) {
  streams.Err(Join({kMessagePrefix, message, kNewLine}));
}

namespace {

// The window's questions answered by the command line, its messages on standard error.
class ConsoleDialogs final : public platform::Dialogs {
 public:
  ConsoleDialogs(Streams& streams, bool answer) : streams_(streams), answer_(answer) {}
  bool Confirm(const std::string&) override {
    asked_ = true;
    return answer_;
  }
  void Inform(const std::string& text) override { Show(text); }
  void Warn(const std::string& text) override { Show(text); }
  void Error(const std::string& text) override { Show(text); }
  std::optional<std::string> SaveFileName(const std::string&) override { return std::nullopt; }
  bool Asked() const { return asked_; }

 private:
  void Show(const std::string& text) { streams_.Err(Join({text, kNewLine})); }

  Streams& streams_;
  bool answer_;
  bool asked_ = false;
};

platform::Platform PlatformOf(System& system, platform::Dialogs& dialogs) {
  return {system.files, system.registry, system.profile, system.network, dialogs, system.clock};
}

// Puts a whole text where it belongs: standard output, or a file written beside its target and
// then moved into place. Returns kDone or kFileError (with the reason told).
int Deliver(System& system, const std::optional<std::string>& target, std::string_view text) {
  try {
    if (!target) {
      system.streams.Out(text);
      return kDone;
    }
    SaveFileSafely(system.files, *target, text);
    return kDone;
  } catch (const OsError& error) {
    Tell(system.streams,
         Join({kCannotWrite, target ? *target : "standard output", "': ", error.what()}));
    return kFileError;
  }
}

// Into a folder under the collected name, or the first free name after it.
int Collect(System& system, const std::string& folder, report::CollectedName name,
            std::string_view text) {
  try {
    const std::string written = SaveFileUnderFreeName(
        system.files, folder,
        [&name](int copy) {
          name.copy = copy;
          return report::CollectedFileName(name);
        },
        text);
    Tell(system.streams, Join({kWritten, written}));
    return kDone;
  } catch (const OsError& error) {
    Tell(system.streams, Join({kCannotWrite, folder, "': ", error.what()}));
    return kFileError;
  }
}

int FailureStatus(std::string_view text) {
  return CountFailureLines(text) > 0 ? kDoneWithFailures : kDone;
}

std::string DefaultMapFile(platform::FileSystem& files) {
  const std::string exe = files.ExecutablePath();
  const std::size_t slash = exe.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
  return folder + std::string(kDefaultMapName);
}

std::vector<std::string> InstalledPrograms(platform::Registry& registry) {
  std::vector<std::string> found;
  for (const std::string_view program : family::kPrograms) {
    if (registry
            .OpenKey(platform::RegistryRoot::LocalMachine, family::ProgramKey(program),
                     platform::RegistryAccess::Read, false)
            .key) {
      found.emplace_back(program);
    }
  }
  return found;
}

struct ReportRequest {
  int level = 1;
  bool explain = false;
  std::optional<std::string> out;
  std::optional<std::string> outDir;
  std::optional<std::string> json;
  std::optional<std::string> jsonDir;
};

int ReportOne(System& system, const ReportRequest& request, const std::string& program) {
  ConsoleDialogs dialogs(system.streams, false);
  platform::Platform platform = PlatformOf(system, dialogs);
  ReportFacts facts{system.session.ComputerName(),
                    system.session.UserName(),
                    program,
                    request.level,
                    system.clock.Now(),
                    system.session.UtcOffsetMinutes(),
                    system.session.AnsiCodePage()};
  report::DiagnosticReport driver(platform);
  // Each report asks every server again.
  if (system.commands) system.commands->StartCommand();
  const report::WrittenReport written =
      report::WriteReportThroughTempFile(system.files, [&](report::ReportFile& file) {
        if (system.commands) {
          file.TellHeadings(
              [&](std::string_view heading) { system.commands->session().EnterSection(heading); });
        }
        driver.Run(file, program, request.level);
      });
  const std::string& text = written.text;
  const auto lines = findings::CheckedLines(text, written.lines);
  const auto found = findings::FindingsOf(lines);
  report::CollectedName name{facts.computer, facts.user, program, report::Stamp(facts.time)};
  // The writer's verdicts: a line copied from a file that reads like a failure is none.
  const bool failed = std::any_of(written.lines.begin(), written.lines.end(), [](const auto& line) {
    return line.verdict == report::CheckState::Failed;
  });
  int status = Worse(failed ? kDoneWithFailures : kDone,
                     request.outDir ? Collect(system, *request.outDir, name, text)
                                    : Deliver(system, request.out, text));
  if (request.explain) {
    system.streams.Out(Join({kNewLine, findings::FindingsBlock(found, kNewLine)}));
  }
  if (request.json || request.jsonDir) {
    const std::string json =
        report::json::Write(JsonDocument(written, found, facts, system.session));
    name.json = true;
    status = Worse(status, request.jsonDir ? Collect(system, *request.jsonDir, name, json)
                                           : Deliver(system, request.json, json));
  }
  return status;
}

constexpr OptionSpec kReportOptions[] = {
    {"--full"},           {"--all"},    {"--out", true}, {"--out-dir", true}, {"--json", true},
    {"--json-dir", true}, {"--explain"}};
constexpr OptionSpec kStoreMapOptions[] = {{"--map", true}, {"--force"}};
constexpr OptionSpec kConvertOptions[] = {
    {"--map", true}, {"--map-owner", true}, {"--out", true}, {"--yes"}, {"--dry-run"}};

void WriteUsage(Streams& streams) {
  std::string usage(kUsageTitle);
  for (const Command& command : kCommands) usage.append(command.usage);
  streams.Err(usage.append(kUsageOutro));
}

void WriteHelp(Streams& streams) {
  std::string help(kHelpIntro);
  for (const Command& command : kCommands)
    help.append(command.usage).append(command.help).append(kNewLine);
  streams.Out(help.append(kHelpOutro));
}

void WriteVersion(System& system) {
  std::string text = Join({kToolName, " ", kRelease, kNewLine});
  const std::string version = system.session.FileVersion();
  if (!version.empty()) text.append(Join({kFileVersionPrefix, version, kNewLine}));
  system.streams.Out(text);
}

}  // namespace

std::string CanonicalProgram(std::string_view name) {
  for (const std::string_view program : family::kPrograms) {
    if (SameTextIgnoringCase(program, name)) return std::string(program);
  }
  throw UsageError(Join({kUnknownProgram, name, kUnknownProgramEnd}));
}

int RunReport(std::span<const std::string> words, System& system) {
  const Arguments arguments(words, kReportOptions);
  const auto& programs = arguments.Positional();
  ReportRequest request{arguments.Has("--full") ? 2 : 1, arguments.Has("--explain"),
                        arguments.Value("--out"),        arguments.Value("--out-dir"),
                        arguments.Value("--json"),       arguments.Value("--json-dir")};
  std::vector<std::string> chosen;
  if (arguments.Has("--all")) {
    if (!programs.empty()) throw UsageError(std::string(kAllAndProgram));
    if (request.out || request.json) throw UsageError(std::string(kAllTakesFolders));
    if (request.explain) throw UsageError(std::string(kExplainOneProgram));
    if (!request.outDir) throw UsageError(std::string(kAllNeedsOutDir));
    chosen = InstalledPrograms(system.registry);
    if (chosen.empty()) {
      Tell(system.streams, Join({kNoProgramInstalled, family::kLocalMachine, "\\",
                                 family::kRegistryKey, kNoProgramInstalledEnd}));
      return kDone;
    }
  } else {
    if (programs.size() != 1) throw UsageError(std::string(kOneProgram));
    if (request.out && request.outDir) throw UsageError(std::string(kOutOrOutDir));
    if (request.json && request.jsonDir) throw UsageError(std::string(kJsonOrJsonDir));
    chosen.push_back(CanonicalProgram(programs[0]));
  }
  // A collected report is named after who ran it; without a name it would pass for another's.
  if (request.outDir || request.jsonDir) {
    for (const auto& [what, value] : {std::pair{kComputerNameWord, system.session.ComputerName()},
                                      std::pair{kUserNameWord, system.session.UserName()}}) {
      if (value.empty()) {
        Tell(system.streams, Join({kNoNamePrefix, what, kNoNameEnd}));
        return kFileError;
      }
    }
  }
  int status = kDone;
  for (const std::string& program : chosen) {
    try {
      status = Worse(status, ReportOne(system, request, program));
    } catch (const OsError& error) {
      Tell(system.streams, error.what());
      status = kFileError;
    }
  }
  return status;
}

int RunStoreMap(std::span<const std::string> words, System& system) {
  const Arguments arguments(words, kStoreMapOptions);
  if (!arguments.Positional().empty()) throw UsageError(std::string(kNoProgramHere));
  const bool force = arguments.Has("--force");
  const std::string fileName = arguments.Value("--map").value_or(DefaultMapFile(system.files));
  ConsoleDialogs dialogs(system.streams, force);
  platform::Platform platform = PlatformOf(system, dialogs);
  drivemap::StoreDriveMap(platform, fileName);
  if (dialogs.Asked() && !force) {
    Tell(system.streams, Join({drivemap::texts::kFilePrefix, fileName, kMapKept}));
  }
  return kDone;
}

int RunConvert(std::span<const std::string> words, System& system) {
  const Arguments arguments(words, kConvertOptions);
  if (arguments.Positional().size() != 1) throw UsageError(std::string(kConvertOneProgram));
  const bool yes = arguments.Has("--yes");
  const bool dryRun = arguments.Has("--dry-run");
  if (yes && dryRun) throw UsageError(std::string(kYesAndDryRun));
  if (!yes && !dryRun) throw UsageError(std::string(kYesOrDryRun));
  const std::string program = CanonicalProgram(arguments.Positional()[0]);
  if (yes && !system.session.IsElevated()) {
    Tell(system.streams, kNotElevatedMessage);
    return kNotElevated;
  }
  const auto mapFile = arguments.Value("--map");
  const auto mapOwner = arguments.Value("--map-owner");
  drivemap::MapChoice map{mapFile.value_or(DefaultMapFile(system.files)), std::nullopt, dryRun};
  if (mapOwner) {
    map.owner = system.files.AccountSid(*mapOwner);
    if (!map.owner) throw UsageError(Join({kUnknownAccount, *mapOwner, "'"}));
  }
  // "--yes" is the user's answer to the window's question whether it runs elevated.
  ConsoleDialogs dialogs(system.streams, true);
  std::optional<std::string> text;
  if (dryRun) {
    DryRunRegistry registry(system.registry);
    DryRunProfile profile(system.profile);
    platform::Platform platform{system.files,   registry, profile,
                                system.network, dialogs,  system.clock};
    text = drivemap::ConvertToUNC(platform, program, map);
    if (text) text->append(Join({kDryRunLastLine, kNewLine}));
  } else {
    platform::Platform platform = PlatformOf(system, dialogs);
    text = drivemap::ConvertToUNC(platform, program, map);
  }
  // No drive map file, or one that others may change; its message is out already.
  if (!text) return kFileError;
  return Worse(FailureStatus(*text), Deliver(system, arguments.Value("--out"), *text));
}

int Main(std::span<const std::string> words, System& system) {
  try {
    if (words.empty()) throw UsageError(std::string(kNoCommand));
    const std::string& first = words[0];
    if (IsHelpWord(first)) {
      WriteHelp(system.streams);
      return kDone;
    }
    if (first == "--version") {
      if (words.size() > 1) throw UsageError(std::string(kVersionAlone));
      WriteVersion(system);
      return kDone;
    }
    for (const Command& command : kCommands) {
      if (command.name != first) continue;
      const auto rest = words.subspan(1);
      for (const std::string& word : rest) {
        if (IsHelpWord(word)) {
          WriteHelp(system.streams);
          return kDone;
        }
      }
      return command.run(rest, system);
    }
    throw UsageError(Join({kUnknownCommand, first, "'"}));
  } catch (const UsageError& error) {
    Tell(system.streams, error.what());
    WriteUsage(system.streams);
    return kBadUsage;
  } catch (const std::exception& error) {
    // A file or the system refused; whatever was written is whole or gone.
    Tell(system.streams, error.what());
    return kFileError;
  }
}

}  // namespace vorlix::console
