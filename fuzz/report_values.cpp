// The Full diagnostic report on a machine whose setting values, server ini values and
// virtualised ini file come from the input: every setting line says what is stored, cut to fit;
// the server section and the virtualised ini file are listed line by line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/short_string.h"
#include "fakes/fake_platform.h"
#include "fuzz_support.h"
#include "report/report_driver.h"
#include "report/report_file.h"

namespace {

using vorlix::Short;
using vorlix::platform::RegistryRoot;
using Lines = std::vector<std::string>;

constexpr std::array<const char*, 6> kPrograms = {"Ostrelan", "Brannicle", "Corvagent",
                                                  "Delmoran", "Ferlund",   "Gaspin"};
constexpr std::string_view kSentinel = "aksldfkrkaa;rkk";
constexpr std::string_view kMissing = "     ...missing";
constexpr std::string_view kAbsent = "Absent";
constexpr std::string_view kPassed = "   Passed: ";
constexpr std::string_view kFailed = "   FAILED: ";
constexpr std::size_t kPrefixLength = 11;
constexpr const char* kReportPath = "R:\\report.txt";
constexpr const char* kFamilyKey = "Software\\Tarnwick\\Tarnwick";

// Where each examined setting lives; the ini one is set apart.
enum Setting { kMakerFolder, kProgramFolder, kLicence, kProject, kName, kFormat, kRelease };
constexpr int kSettings = 7;

struct Value {
  bool present = false;
  std::string text;
};

// Stored texts have no line breaks: they would split the report's lines.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::string CheckLine(bool passed, const std::string& message) {
  return std::string(passed ? kPassed : kFailed) + Short(message);
}

// The setting line for a stored value and what the report then examines.
struct Seen {
  std::string line;
  std::string used;  // "Absent" when missing
};

Seen SettingSeen(const std::string& label, const Value& value) {
  const std::string read = value.present ? Short(value.text) : std::string(kSentinel);
  const bool missing = read == kSentinel;
  const std::string shown = missing ? std::string(kMissing) : read;
  // A value that reads like the missing text fails all the same.
  return {CheckLine(shown != kMissing, label + "=" + shown), missing ? std::string(kAbsent) : read};
}

Lines SplitLines(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    FUZZ_CHECK(end != std::string::npos);  // every line ends with CR LF
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::size_t IndexOf(const Lines& lines, const std::string& line, std::size_t from = 0) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (lines[i] == line) return i;
  }
  vorlix::fuzz::Fail(__FILE__, __LINE__, ("line not in report: " + line).c_str());
}

bool IsCheckLine(const std::string& line) {
  return line.compare(0, kPrefixLength, kPassed) == 0 ||
         line.compare(0, kPrefixLength, kFailed) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlix::fuzz::Input input(data, size);
  const std::uint8_t presence = input.Byte();
  const std::string program = kPrograms[input.Byte() % kPrograms.size()];
  const std::uint8_t options = input.Byte();
  const bool unreadable = options & 1;
  const bool shared = options & 2;
  const bool placed = (options & 4) == 0;
  std::array<Value, kSettings> values;
  for (int i = 0; i < kSettings; ++i) {
    values[static_cast<std::size_t>(i)] = {(presence >> i & 1) != 0, OneLine(input.Field())};
  }
  const std::string serverEntries = input.Field();
  const std::string share = OneLine(input.Field());
  const std::string virtualised = input.Rest();

  vorlix::fakes::FakeMachine machine;
  auto& registry = machine.registry;
  const std::string programKey = "Software\\Tarnwick\\" + program;
  auto setRegistry = [&](RegistryRoot root, const std::string& key, const char* ident, Setting s) {
    const Value& value = values[s];
    if (value.present) registry.SetString(root, key, ident, value.text);
  };
  setRegistry(RegistryRoot::LocalMachine, kFamilyKey, "TarnWickPath", kMakerFolder);
  setRegistry(RegistryRoot::LocalMachine, programKey, "Path", kProgramFolder);
  setRegistry(RegistryRoot::CurrentUser, kFamilyKey, "TarnWickProjectPath", kProject);
  setRegistry(RegistryRoot::LocalMachine, programKey, "ProgramName", kName);
  setRegistry(RegistryRoot::LocalMachine, programKey, "SectionsFormat", kFormat);
  setRegistry(RegistryRoot::LocalMachine, programKey, "SectionsRelease", kRelease);

  // The server ini file, where the machine store's Path says.
  const std::string path =
      values[kProgramFolder].present ? Short(values[kProgramFolder].text) : std::string(kAbsent);
  const std::string serverIni = path + "\\" + program + ".Ini";
  for (const std::string& line : vorlix::fuzz::TextLines(serverEntries)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    machine.profile.Set(serverIni, program, line.substr(0, equals), line.substr(equals + 1));
  }
  if (values[kLicence].present) {
    machine.profile.Set(serverIni, program, "LicenseFolder", values[kLicence].text);
  }
  // What the server section holds after that, as the file shows it.
  Lines sectionLines;
  for (const std::string& ident : machine.profile.ReadSection(serverIni, program)) {
    sectionLines.push_back(ident + "=" + machine.profile.ReadString(serverIni, program, ident, ""));
  }
  const std::string licenceStored =
      machine.profile.ReadString(serverIni, program, "LicenseFolder", std::string(kSentinel));
  const Value licence{licenceStored != kSentinel, licenceStored};

  const std::string machineLabel = "HKEY_LOCAL_MACHINE\\Software\\Tarnwick\\";
  const Seen maker = SettingSeen(machineLabel + "Tarnwick\\TarnWickPath", values[kMakerFolder]);
  const Seen folder = SettingSeen(machineLabel + program + "\\Path", values[kProgramFolder]);
  const Seen licenceSeen = SettingSeen(program + ".ini [" + program + "] LicenseFolder", licence);
  const Seen project =
      SettingSeen("HKEY_CURRENT_USER\\Software\\Tarnwick\\TarnWickProjectPath", values[kProject]);
  const Seen name = SettingSeen(machineLabel + program + "\\ProgramName", values[kName]);
  const Seen format = SettingSeen(machineLabel + program + "\\SectionsFormat", values[kFormat]);
  const Seen release = SettingSeen(machineLabel + program + "\\SectionsRelease", values[kRelease]);

  // The virtualised ini file in the licence folder.
  auto& files = machine.files;
  const std::string virtualName = Short(licenceSeen.used + "\\" + program + ".ini");
  if (placed) files.AddFile(files.FullPath(virtualName), virtualised);
  if (unreadable) files.failRead.insert(files.Key(files.FullPath(virtualName)));
  const bool virtualExists = files.FileExists(virtualName);
  if (shared && licenceSeen.used.size() >= 2 && licenceSeen.used[1] == ':') {
    machine.network.connections[vorlix::fuzz::AsciiUpper(licenceSeen.used.substr(0, 2))] = share;
  }

  vorlix::fakes::FakeFileSystem storage;
  storage.AddFolder("R:\\");
  {
    vorlix::report::ReportFile report(storage.CreateText(kReportPath));
    vorlix::report::DiagnosticReport(machine.platform).Run(report, program, 2);
    report.Close();
  }
  const Lines lines = SplitLines(storage.ReadAll(kReportPath));

  FUZZ_CHECK(lines.size() > 6);
  FUZZ_CHECK(lines[0].empty());
  FUZZ_CHECK(lines[3] == "Program : " + program);
  FUZZ_CHECK(lines[lines.size() - 3].empty());
  FUZZ_CHECK(lines.back() == "End of report");
  for (const std::string& line : lines) {
    if (IsCheckLine(line)) FUZZ_CHECK(line.size() <= kPrefixLength + vorlix::kShortStringMax);
  }

  // Setting lines, in the report's order.
  std::size_t at = IndexOf(lines, maker.line);
  at = IndexOf(lines, folder.line, at + 1);
  at = IndexOf(lines, licenceSeen.line, at + 1);
  const std::size_t licenceAt = at;
  at = IndexOf(lines, project.line, at + 1);
  at = IndexOf(lines, name.line, at + 1);
  at = IndexOf(lines, format.line, at + 1);
  at = IndexOf(lines, release.line, at + 1);

  // The server section, one passed line per value, or the one line saying it is empty.
  const std::string programIni = Short(folder.used + "\\" + program + ".ini");
  const std::size_t contents = IndexOf(lines, "Contents of " + programIni);
  Lines expected;
  for (const std::string& line : sectionLines) expected.push_back(CheckLine(true, line));
  if (expected.empty()) expected.push_back(CheckLine(false, programIni + " ...is empty"));
  FUZZ_CHECK(lines.size() > contents + expected.size() + 1);
  FUZZ_CHECK(Lines(lines.begin() + static_cast<long>(contents) + 1,
                   lines.begin() + static_cast<long>(contents + 1 + expected.size())) == expected);
  FUZZ_CHECK(lines[contents + 1 + expected.size()] == "Checking licence folder...");

  // The virtualised ini file: its check line, then its lines each cut to fit, or the failure.
  const std::size_t checking =
      IndexOf(lines, "Checking virtualised Ini File " + virtualName, licenceAt + 1);
  const std::size_t next = IndexOf(lines, "Checking licence folder drive...", checking + 1);
  expected.clear();
  if (virtualExists) {
    expected.push_back("Contents of " + virtualName);
    if (unreadable) {
      expected.push_back(CheckLine(false, "Reading file failed"));
    } else {
      for (const std::string& line : vorlix::fuzz::TextLines(virtualised)) {
        expected.push_back("   " + Short(line));
      }
    }
  }
  FUZZ_CHECK(next == checking + 2 + expected.size());
  FUZZ_CHECK(Lines(lines.begin() + static_cast<long>(checking) + 2,
                   lines.begin() + static_cast<long>(next)) == expected);
  return 0;
}
