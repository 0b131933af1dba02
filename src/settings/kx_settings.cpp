#include "settings/kx_settings.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "common/short_string.h"

namespace vorlix::settings {

namespace {

bool ValidMode(int mode) { return mode == kModeReadWrite || mode == kModeReadOnly; }

template <typename T>
std::optional<T> WholeNumber(std::string_view text, int base) {
  T number{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number, base);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

}  // namespace

std::optional<int> IntegerOfText(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    // Eight hexadecimal digits fill the 32 bits, so 0xFFFFFFFF is -1.
    const auto bits = WholeNumber<std::uint32_t>(text.substr(2), 16);
    if (!bits) return std::nullopt;
    return static_cast<std::int32_t>(*bits);
  }
  // The conversion takes a minus sign but not a plus sign.
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  return WholeNumber<std::int32_t>(text, 10);
}

TKxSettings::TKxSettings(platform::Dialogs& dialogs, const std::string& programName, int mode)
    : programName_(Short(programName)),
      mode_(ValidMode(mode) ? static_cast<std::uint8_t>(mode) : kModeReadOnly),
      warnOnWrite_(true),
      dialogs_(dialogs) {
  if (!ValidMode(mode)) dialogs_.Error(std::string(kModeErrorStore));
}

platform::RegistryAccess TKxSettings::MachineAccess(int mode) {
  if (mode == kModeReadWrite) return platform::RegistryAccess::All;
  if (mode != kModeReadOnly) dialogs_.Error(std::string(kModeErrorAccess));
  return platform::RegistryAccess::Read;
}

void TKxSettings::SetStore(int store, std::unique_ptr<IniStore> opened) {
  stores_.at(static_cast<std::size_t>(store)) = std::move(opened);
}

void TKxSettings::SetSectionNames(const std::string& family, const std::string& program) {
  sectionNames_ = {Short(family), Short(program)};
}

const std::string& TKxSettings::SectionName(int section) const {
  return sectionNames_.at(static_cast<std::size_t>(section));
}

IniStore& TKxSettings::Store(int store) {
  const auto& opened = stores_.at(static_cast<std::size_t>(store));
  if (!opened) throw std::logic_error("settings store " + std::to_string(store) + " not opened");
  return *opened;
}

std::string TKxSettings::ReadString(int store, int section, const std::string& fallback,
                                    const std::string& ident) {
  return Short(Store(store).ReadString(SectionName(section), Short(ident), Short(fallback)));
}

void TKxSettings::WriteString(int store, int section, const std::string& value,
                              const std::string& ident) {
  const std::string shortValue = Short(value);
  const std::string shortIdent = Short(ident);
  IniStore& target = Store(store);
  if (warnOnWrite_ && mode_ == kModeReadOnly && store != kUserStore) {
    const std::string_view prefix =
        store == kMachineStore ? kMachineWriteWarning : kServerWriteWarning;
    dialogs_.Warn(
        Short(std::string(prefix) + shortIdent + std::string(kWriteWarningValue) + shortValue));
  }
  target.WriteString(SectionName(section), shortIdent, shortValue);
}

int TKxSettings::ReadInteger(int store, int section, int fallback, const std::string& ident) {
  return IntegerOfText(ReadString(store, section, "", ident)).value_or(fallback);
}

void TKxSettings::WriteInteger(int store, int section, int value, const std::string& ident) {
  WriteString(store, section, std::to_string(value), ident);
}

void TKxSettings::ReadSectionValues(int store, int section, std::vector<std::string>& lines) {
  Store(store).ReadSectionValues(SectionName(section), lines);
}

}  // namespace vorlix::settings
