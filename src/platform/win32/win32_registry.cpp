#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <span>

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

// On 64-bit Windows a 32-bit program's HKEY_LOCAL_MACHINE\Software keys live in the registry's
// 32-bit view. The family may be either kind, so a machine key is looked for in the 64-bit view
// first, then in the 32-bit one; a handle opened in a view reads and writes there. The user's
// Software key is one key for both views.
constexpr REGSAM kMachineViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
constexpr REGSAM kUserViews[] = {0};

std::span<const REGSAM> ViewsOf(RegistryRoot root) {
  if (root == RegistryRoot::LocalMachine) return kMachineViews;
  return kUserViews;
}

bool ExistsIn(HKEY root, const std::string& path, REGSAM view) {
  HKEY key = nullptr;
  const LONG result = ::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key);
  if (result == ERROR_SUCCESS) ::RegCloseKey(key);
  return result == ERROR_SUCCESS || result == ERROR_ACCESS_DENIED;
}

// A key missing from every view is created in the view of its nearest existing parent, so that
// a new key of a 32-bit family stays where the family looks for it.
REGSAM CreationView(HKEY root, const std::string& path, std::span<const REGSAM> views) {
  if (views.size() == 1) return views.front();
  for (auto cut = path.rfind('\\'); cut != std::string::npos && cut > 0;
       cut = path.rfind('\\', cut - 1)) {
    for (const REGSAM view : views) {
      if (ExistsIn(root, path.substr(0, cut), view)) return view;
    }
  }
  return views.front();
}

LONG OpenInViews(HKEY root, const std::string& path, REGSAM rights, bool create,
                 std::span<const REGSAM> views, HKEY* opened) {
  LONG result = ERROR_FILE_NOT_FOUND;
  for (const REGSAM view : views) {
    result = ::RegOpenKeyExA(root, path.c_str(), 0, rights | view, opened);
    if (result != ERROR_FILE_NOT_FOUND) return result;
  }
  if (!create) return result;
  return ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           rights | CreationView(root, path, views), nullptr, opened, nullptr);
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
      OpenInViews(RootKey(root), relative, Rights(access), create, ViewsOf(root), &opened);
  if (result != ERROR_SUCCESS) return {nullptr, static_cast<std::uint32_t>(result)};
  return {std::make_unique<Win32RegistryKey>(UniqueHkey(opened), relative), 0};
}

}  // namespace vorlix::platform::win32
