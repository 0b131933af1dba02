#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorlix::platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Read is KEY_READ; All is KEY_ALL_ACCESS.
enum class RegistryAccess { Read, All };

// Value types as the registry numbers them.
enum RegistryType : std::uint32_t {
  kRegNone = 0,
  kRegString = 1,
  kRegExpandString = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegLink = 6,
  kRegMultiString = 7,
  kRegQword = 11,
};

struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::string data;  // the raw bytes as stored
};

// One open key; closed on destruction.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Path of the key relative to its root, without a leading backslash.
  virtual std::string Path() const = 0;
  // nullopt when the value does not exist.
  virtual std::optional<RegistryValue> ReadValue(const std::string& name) = 0;
  // Stores a plain text value. Throws OsError.
  virtual void WriteString(const std::string& name, const std::string& value) = 0;
  // Value names in the order the registry enumerates them.
  virtual std::vector<std::string> ValueNames() = 0;
};

// An opened key, or null and the system's code that says why it could not be opened.
struct KeyOpening {
  std::unique_ptr<RegistryKey> key;
  std::uint32_t error = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens root\path (no leading backslash); with create, a missing key is created. Under
  // LocalMachine this is the machine's key wherever the system keeps it; the key's Path() names
  // it the same way in every case.
  virtual KeyOpening OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                             bool create) = 0;
};

}  // namespace vorlix::platform
