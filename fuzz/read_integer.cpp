// ReadInteger of any registry value, and the text conversion under it, against the rule: "0x" or
// "0X" and hexadecimal digits for 32 bits, otherwise signed decimal in range, otherwise the
// fallback.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "common/short_string.h"
#include "fakes/fake_platform.h"
#include "fuzz_support.h"
#include "report/report_settings.h"
#include "settings/kx_settings.h"

namespace {

using vorlix::platform::RegistryRoot;
using vorlix::platform::RegistryValue;

constexpr const char* kProgramKey = "Software\\Tarnwick\\Ostrelan";
constexpr const char* kIdent = "SectionsFormat";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int> ExpectedInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint64_t value = 0;
    for (const char c : text.substr(2)) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<int>(value);
}

std::string Number(std::string_view bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  }
  return std::to_string(value);
}

// The value as the settings read it; nullopt when it reads as absent.
std::optional<std::string> StoredText(std::uint8_t kind, const std::string& bytes,
                                      RegistryValue& value) {
  switch (kind % 6) {
    case 0:
      value = {vorlix::platform::kRegString, bytes};
      return bytes.substr(0, bytes.find('\0'));
    case 1:
      value = {vorlix::platform::kRegExpandString, bytes};
      return bytes.substr(0, bytes.find('\0'));
    case 2:
      value = {vorlix::platform::kRegDword, bytes};
      if (bytes.size() != 4) return std::nullopt;
      return Number(bytes);
    case 3:
      value = {vorlix::platform::kRegQword, bytes};
      if (bytes.size() != 8) return std::nullopt;
      return Number(bytes);
    case 4:
      value = {vorlix::platform::kRegBinary, bytes};
      return std::nullopt;
    default:
      return std::nullopt;  // not stored at all
  }
}

int FallbackOf(vorlix::fuzz::Input& input) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits = (bits << 8) | input.Byte();
  return static_cast<std::int32_t>(bits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string whole(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(vorlix::settings::IntegerOfText(whole) == ExpectedInteger(whole));

  vorlix::fuzz::Input input(data, size);
  const std::uint8_t kind = input.Byte();
  const int fallback = FallbackOf(input);
  const std::string bytes = input.Rest();

  vorlix::fakes::FakeMachine machine;
  RegistryValue value;
  const std::optional<std::string> stored = StoredText(kind, bytes, value);
  if (kind % 6 != 5) {
    machine.registry.SetRaw(RegistryRoot::LocalMachine, kProgramKey, kIdent, value);
  }
  vorlix::report::TReportSettings settings(machine.platform, "Ostrelan",
                                           vorlix::settings::kModeReadOnly);

  const std::string text = settings.ReadString(vorlix::settings::kMachineStore,
                                               vorlix::settings::kProgramSection, "", kIdent);
  FUZZ_CHECK(vorlix::FitsShort(text));
  FUZZ_CHECK(text == (stored ? vorlix::Short(*stored) : std::string()));

  const int read = settings.ReadInteger(vorlix::settings::kMachineStore,
                                        vorlix::settings::kProgramSection, fallback, kIdent);
  FUZZ_CHECK(read == ExpectedInteger(text).value_or(fallback));

  // What WriteInteger stores, ReadInteger gives back.
  settings.WriteInteger(vorlix::settings::kUserStore, vorlix::settings::kFamilySection, fallback,
                        "Number");
  FUZZ_CHECK(settings.ReadInteger(vorlix::settings::kUserStore, vorlix::settings::kFamilySection, 0,
                                  "Number") == fallback);
  FUZZ_CHECK(machine.dialogs.shown.empty());
  return 0;
}
