#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/errors.h"
#include "platform/win32/handles.h"

namespace vorlix::platform::win32 {

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

REGSAM Rights(RegistryAccess access) {
  return access == RegistryAccess::All ? KEY_ALL_ACCESS : KEY_READ;
}

std::string WithoutLeadingBackslash(const std::string& path) {
  const auto first = path.find_first_not_of('\\');
  return first == std::string::npos ? std::string() : path.substr(first);
}

class Win32RegistryKey final : public RegistryKey {
 public:
  Win32RegistryKey(UniqueHkey key, std::string path)
      : key_(std::move(key)), path_(std::move(path)) {}

  std::string Path() const override { return path_; }

  std::optional<RegistryValue> ReadValue(const std::string& name) override {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
    // The size asked for first may grow before the value is read; ask again until it fits.
    std::string data;
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
      data.resize(size);
      result = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
      if (result == ERROR_SUCCESS) {
        data.resize(size);
        return RegistryValue{type, std::move(data)};
      }
    }
    return std::nullopt;
  }

  void WriteString(const std::string& name, const std::string& value) override {
    const LONG result = ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(value.c_str()),
                                         static_cast<DWORD>(value.size() + 1));
    if (result != ERROR_SUCCESS) {
      throw OsError("Cannot write registry value " + path_ + "\\" + name,
                    static_cast<std::uint32_t>(result));
    }
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    DWORD longest = 0;
    if (::RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return names;
    }
    std::string buffer(longest + 1, '\0');
    for (DWORD index = 0;;) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LONG result = ::RegEnumValueA(key_.get(), index, buffer.data(), &length, nullptr,
                                          nullptr, nullptr, nullptr);
      if (result == ERROR_MORE_DATA) {
        buffer.resize(buffer.size() * 2);
        continue;
      }
      if (result != ERROR_SUCCESS) break;
      names.emplace_back(buffer.data(), length);
      ++index;
    }
    return names;
  }

 private:
  UniqueHkey key_;
  std::string path_;
};

}  // namespace

KeyOpening Win32Registry::OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                                  bool create) {
  const std::string relative = WithoutLeadingBackslash(path);
  HKEY opened = nullptr;
  const LONG result =
      create ? ::RegCreateKeyExA(RootKey(root), relative.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, Rights(access), nullptr, &opened, nullptr)
             : ::RegOpenKeyExA(RootKey(root), relative.c_str(), 0, Rights(access), &opened);
  if (result != ERROR_SUCCESS) return {nullptr, static_cast<std::uint32_t>(result)};
  return {std::make_unique<Win32RegistryKey>(UniqueHkey(opened), relative), 0};
}

}  // namespace vorlix::platform::win32
