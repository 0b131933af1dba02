#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/command_platform.h"
#include "console/session.h"
#include "console/texts.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/network_names.h"
#include "platform/private_profile.h"
#include "platform/registry.h"

namespace vorlix::console {

// Everything a command may ask of the system. Commands bring their own dialogs: on the command
// line the options answer what the window asks.
struct System {
  platform::FileSystem& files;
  platform::Registry& registry;
  platform::PrivateProfile& profile;
  platform::NetworkNames& network;
  platform::Clock& clock;
  Session& session;
  Streams& streams;
  // What the files and ini files above go through, when it remembers unanswered shares for one
  // command: each report starts a command of its own. Null over plain files.
  CommandPlatform* commands = nullptr;
};

// A command: its name, its lines in the usage and the help, and what runs it with the words
// after its name. It returns an exit status and throws UsageError for bad usage.
struct Command {
  std::string_view name;
  std::string_view usage;
  std::string_view help;
  int (*run)(std::span<const std::string> words, System& system);
};

int RunReport(std::span<const std::string> words, System& system);
int RunStoreMap(std::span<const std::string> words, System& system);
int RunConvert(std::span<const std::string> words, System& system);
int RunSummary(std::span<const std::string> words, System& system);

// In the order the usage lists them.
inline constexpr Command kCommands[] = {
    {"report", kReportUsage, kReportHelp, RunReport},
    {"store-map", kStoreMapUsage, kStoreMapHelp, RunStoreMap},
    {"convert", kConvertUsage, kConvertHelp, RunConvert},
    {"summary", kSummaryUsage, kSummaryHelp, RunSummary},
};

// A message on standard error, after the program's name.
void Tell(Streams& streams, std::string_view message);

// Runs the command line (the words after the program's name) and returns the exit status.
int Main(std::span<const std::string> words, System& system);

// The program's canonical name, matched without regard to case; throws UsageError.
std::string CanonicalProgram(std::string_view name);

}  // namespace vorlix::console
