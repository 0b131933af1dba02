#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vorlix::testing {

// True when the key can be opened for reading.
inline bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// A registry key for one test. At the end it is deleted with everything under it when the test
// created it; when it was there before, only the values the test set are removed.
class ScratchKey {
 public:
  ScratchKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    HKEY key = nullptr;
    existed_ = ::RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (existed_) ::RegCloseKey(key);
  }
  ~ScratchKey() {
    if (!existed_) {
      ::RegDeleteTreeA(root_, path_.c_str());
      return;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root_, path_.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (const auto& name : set_) ::RegDeleteValueA(key, name.c_str());
    ::RegCloseKey(key);
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  const std::string& path() const { return path_; }

  void SetRaw(const std::string& name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
      return;
    }
    ::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                     static_cast<DWORD>(data.size()));
    ::RegCloseKey(key);
    set_.push_back(name);
  }
  void SetString(const std::string& name, const std::string& value) {
    SetRaw(name, REG_SZ, value + std::string(1, '\0'));
  }

  // The text of a REG_SZ value as stored; "<absent>" when there is none.
  std::string GetString(const std::string& name) const {
    char buffer[4096];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (::RegGetValueA(root_, path_.c_str(), name.c_str(), RRF_RT_REG_SZ, &type, buffer, &size) !=
        ERROR_SUCCESS) {
      return "<absent>";
    }
    return buffer;
  }

  bool Exists() const { return KeyExists(root_, path_); }

 private:
  HKEY root_;
  std::string path_;
  bool existed_ = false;
  std::vector<std::string> set_;
};

}  // namespace vorlix::testing
