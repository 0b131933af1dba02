#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/registry.h"
#include "settings/ini_store.h"

namespace vorlix::settings {

// Store indices.
inline constexpr int kServerStore = 0;   // the program's server ini file
inline constexpr int kMachineStore = 1;  // HKEY_LOCAL_MACHINE\Software\Tarnwick
inline constexpr int kUserStore = 2;     // HKEY_CURRENT_USER\Software\Tarnwick

// Section indices.
inline constexpr int kFamilySection = 0;   // "Tarnwick", shared by the whole family
inline constexpr int kProgramSection = 1;  // named after the program

inline constexpr std::uint8_t kModeReadWrite = 0;
inline constexpr std::uint8_t kModeReadOnly = 1;

inline constexpr std::string_view kModeErrorStore = "KxSettings error=1";
inline constexpr std::string_view kModeErrorAccess = "KxSettings error=2";
// "TKxettings": spelling kept.
inline constexpr std::string_view kMachineWriteWarning =
    "TKxettings.WriteString to rMachine Ident=";
inline constexpr std::string_view kServerWriteWarning = "TKxettings.WriteString to rServer Ident=";
inline constexpr std::string_view kWriteWarningValue = " Value=";

// The settings of one program of the family: three stores and two section names behind one set
// of operations. A setting is named by store index, section index and identifier. Derived classes
// open the stores.
class TKxSettings {
 public:
  virtual ~TKxSettings() = default;
  TKxSettings(const TKxSettings&) = delete;
  TKxSettings& operator=(const TKxSettings&) = delete;

  // At most 255 characters; the fallback when the identifier is absent.
  std::string ReadString(int store, int section, const std::string& fallback,
                         const std::string& ident);
  // In read-only mode a write to the machine or server store is announced first, then made.
  // Raises the store's error when the store refuses it.
  void WriteString(int store, int section, const std::string& value, const std::string& ident);
  // "0x"/"0X" and at least one more character: hexadecimal; otherwise signed decimal; the
  // fallback for any text that does not convert.
  int ReadInteger(int store, int section, int fallback, const std::string& ident);
  void WriteInteger(int store, int section, int value, const std::string& ident);
  // Replaces the list by the section's "ident=value" lines, in store order.
  void ReadSectionValues(int store, int section, std::vector<std::string>& lines);

  const std::string& ProgramName() const { return programName_; }
  std::uint8_t Mode() const { return mode_; }
  const std::string& SectionName(int section) const;

 protected:
  // Stores the name and the mode and sets the write warning. A mode other than 0 or 1 is shown
  // as an error and treated as read-only.
  TKxSettings(platform::Dialogs& dialogs, const std::string& programName, int mode);

  // The machine store's registry rights for the mode passed in: all for 0, read for 1; any other
  // mode is shown as an error and gets read rights.
  platform::RegistryAccess MachineAccess(int mode);
  void SetStore(int store, std::unique_ptr<IniStore> opened);
  void SetSectionNames(const std::string& family, const std::string& program);

 private:
  IniStore& Store(int store);

  std::string programName_;
  std::uint8_t mode_ = kModeReadOnly;
  std::array<std::unique_ptr<IniStore>, 3> stores_;
  std::array<std::string, 2> sectionNames_;
  bool warnOnWrite_ = false;
  platform::Dialogs& dialogs_;
};

// ReadInteger's conversion of a text; nullopt when it does not convert.
std::optional<int> IntegerOfText(std::string_view text);

}  // namespace vorlix::settings
