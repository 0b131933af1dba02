// The ini file cache, straight and behind the settings' server store, driven by a sequence of
// operations from the input and compared with a simple model: a value once read or written is
// remembered (the default of an absent one too) until a key or section is deleted; sections
// match with case, identifiers without; listings always come from the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/short_string.h"
#include "fakes/fake_platform.h"
#include "fuzz_support.h"
#include "platform/errors.h"
#include "report/report_settings.h"
#include "settings/ini_file_cache.h"

namespace {

using vorlix::Short;
using vorlix::fuzz::AsciiUpper;
using vorlix::settings::TIniFileCache;
using Lines = std::vector<std::string>;

// The settings' server store when the machine has no Path: both caches read one file.
constexpr const char* kFile = "Absent\\Ostrelan.Ini";
constexpr const char* kProgram = "Ostrelan";
constexpr std::array<const char*, 2> kSectionNames = {"Tarnwick", "Ostrelan"};

// Names that collide on purpose: in case only, or only beyond 255 characters.
std::string Name(vorlix::fuzz::Input& input, bool section) {
  static const std::array<std::string, 8> sections = {
      "Ostrelan", "OSTRELAN", "ostrelan", "Tarnwick", "", "Ostrelan ", "\xe9t\xe9", "\xc9T\xc9"};
  static const std::array<std::string, 8> idents = {"Path",
                                                    "PATH",
                                                    "path",
                                                    "LicenseFolder",
                                                    "licensefolder",
                                                    "K\xe9y",
                                                    std::string(255, 'L') + "a",
                                                    std::string(255, 'L') + "b"};
  const std::uint8_t pick = input.Byte();
  if (pick >= 0xF0) return input.Field();
  return section ? sections[pick % sections.size()] : idents[pick % idents.size()];
}

std::string Text(vorlix::fuzz::Input& input) {
  const std::uint8_t pick = input.Byte();
  if (pick < 0xE0) return input.Field();
  return std::string(200 + pick, 'v') + input.Field();  // longer than a setting holds
}

// What one cache should remember: by exact section and case-folded identifier.
struct Memory {
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::set<std::string> sections;

  const std::string* Find(const std::string& section, const std::string& ident) const {
    const auto found = values.find({section, AsciiUpper(ident)});
    return found == values.end() ? nullptr : &found->second;
  }
  void Remember(const std::string& section, const std::string& ident, const std::string& value) {
    values[{section, AsciiUpper(ident)}] = value;
    sections.insert(section);
  }
  void Clear() {
    values.clear();
    sections.clear();
  }
};

class Run {
 public:
  explicit Run(vorlix::fuzz::Input& input) : input_(input) {}

  void Step() {
    switch (input_.Byte() % 13) {
      case 0:
        return Read();
      case 1:
        return Write();
      case 2:
        return Delete(true);
      case 3:
        return Delete(false);
      case 4:
        return List();
      case 5:
        return ListValues();
      case 6:
        return ChangeFileBehind();
      case 7:
        return ToggleWriteFault();
      case 8:
        return cache_.UpdateFile();
      case 9:
        return SettingsRead();
      case 10:
        return SettingsWrite();
      case 11:
        return SettingsListValues();
      default:
        return Read();
    }
  }

  void CheckMemory() { FUZZ_CHECK(cache_.RememberedSections() == memory_.sections.size()); }

 private:
  // The file's value as the system reads it, without counting the read.
  std::string FileValue(const std::string& section, const std::string& ident,
                        const std::string& fallback) {
    const int reads = machine_.profile.fileReads;
    std::string value = machine_.profile.ReadString(kFile, section, ident, fallback);
    machine_.profile.fileReads = reads;
    return value;
  }

  Lines FileLines(const std::string& section) {
    Lines lines;
    for (const std::string& ident : machine_.profile.ReadSection(kFile, section)) {
      lines.push_back(ident + "=" + FileValue(section, ident, ""));
    }
    return lines;
  }

  void Read() {
    const std::string section = Name(input_, true);
    const std::string ident = Name(input_, false);
    const std::string fallback = Text(input_);
    const std::string* remembered = memory_.Find(section, ident);
    const std::string expected = remembered ? *remembered : FileValue(section, ident, fallback);
    const int reads = machine_.profile.fileReads;
    FUZZ_CHECK(cache_.ReadString(section, ident, fallback) == expected);
    // A remembered value costs no file access.
    FUZZ_CHECK(machine_.profile.fileReads == reads + (remembered ? 0 : 1));
    memory_.Remember(section, ident, expected);
  }

  void Write() {
    const std::string section = Name(input_, true);
    const std::string ident = Name(input_, false);
    const std::string value = Text(input_);
    try {
      cache_.WriteString(section, ident, value);
      FUZZ_CHECK(!writeFails_);
    } catch (const vorlix::OsError&) {
      FUZZ_CHECK(writeFails_);
      return;
    }
    FUZZ_CHECK(FileValue(section, ident, "") == value);
    memory_.Remember(section, ident, value);
  }

  void Delete(bool key) {
    const std::string section = Name(input_, true);
    if (key) {
      cache_.DeleteKey(section, Name(input_, false));
    } else {
      cache_.EraseSection(section);
    }
    memory_.Clear();
  }

  void List() {
    const std::string section = Name(input_, true);
    Lines idents;
    cache_.ReadSection(section, idents);
    FUZZ_CHECK(idents == machine_.profile.ReadSection(kFile, section));
    Lines sections;
    cache_.ReadSections(sections);
    FUZZ_CHECK(sections == machine_.profile.ReadSections(kFile));
  }

  void ListValues() {
    const std::string section = Name(input_, true);
    Lines lines{"stale"};
    cache_.ReadSectionValues(section, lines);
    FUZZ_CHECK(lines == FileLines(section));
  }

  // Another program changes the file; what was remembered stays as it was.
  void ChangeFileBehind() {
    const std::string section = Name(input_, true);
    const std::string ident = Name(input_, false);
    machine_.profile.Set(kFile, section, ident, Text(input_));
  }

  void ToggleWriteFault() {
    writeFails_ = !writeFails_;
    if (writeFails_) {
      machine_.profile.failWrite.insert(vorlix::fuzz::AsciiLower(kFile));
    } else {
      machine_.profile.failWrite.clear();
    }
  }

  // Through the settings: names and values cut to 255 characters on the way in and out.
  void SettingsRead() {
    const int section = input_.Byte() % 2;
    const std::string ident = Name(input_, false);
    const std::string fallback = Text(input_);
    const std::string name = kSectionNames[static_cast<std::size_t>(section)];
    const std::string* remembered = settingsMemory_.Find(name, Short(ident));
    const std::string stored =
        remembered ? *remembered : FileValue(name, Short(ident), Short(fallback));
    const std::string read =
        settings_.ReadString(vorlix::settings::kServerStore, section, fallback, ident);
    FUZZ_CHECK(vorlix::FitsShort(read));
    FUZZ_CHECK(read == Short(stored));
    settingsMemory_.Remember(name, Short(ident), stored);
  }

  void SettingsWrite() {
    const int section = input_.Byte() % 2;
    const std::string ident = Name(input_, false);
    const std::string value = Text(input_);
    const std::size_t shown = machine_.dialogs.shown.size();
    try {
      settings_.WriteString(vorlix::settings::kServerStore, section, value, ident);
      FUZZ_CHECK(!writeFails_);
    } catch (const vorlix::OsError&) {
      FUZZ_CHECK(writeFails_);
    }
    // Read-only settings warn before every server write; the warning fits a message box.
    FUZZ_CHECK(machine_.dialogs.shown.size() == shown + 1);
    const auto& warning = machine_.dialogs.shown.back();
    FUZZ_CHECK(warning.kind == "warn");
    FUZZ_CHECK(vorlix::FitsShort(warning.text));
    FUZZ_CHECK(warning.text == Short("TKxettings.WriteString to rServer Ident=" + Short(ident) +
                                     " Value=" + Short(value)));
    if (writeFails_) return;
    const std::string name = kSectionNames[static_cast<std::size_t>(section)];
    FUZZ_CHECK(FileValue(name, Short(ident), "") == Short(value));
    settingsMemory_.Remember(name, Short(ident), Short(value));
  }

  void SettingsListValues() {
    const int section = input_.Byte() % 2;
    Lines lines;
    settings_.ReadSectionValues(vorlix::settings::kServerStore, section, lines);
    FUZZ_CHECK(lines == FileLines(kSectionNames[static_cast<std::size_t>(section)]));
  }

  vorlix::fuzz::Input& input_;
  vorlix::fakes::FakeMachine machine_;
  TIniFileCache cache_{machine_.profile, kFile};
  vorlix::report::TReportSettings settings_{machine_.platform, kProgram,
                                            vorlix::settings::kModeReadOnly};
  Memory memory_;
  Memory settingsMemory_;
  bool writeFails_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlix::fuzz::Input input(data, size);
  Run run(input);
  while (!input.Empty()) {
    run.Step();
    run.CheckMemory();
  }
  return 0;
}
