#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vorlix::testing {

// Removes a folder with everything under it, read-only entries included.
inline void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA data;
  const HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(folder.c_str());
}

// Names of the entries that match a pattern, in the order the system gives them.
inline std::vector<std::string> Matching(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  const HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(data.cFileName);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  return names;
}

// Creates or replaces a file with the given bytes; false when it cannot be created.
inline bool WriteWholeFile(const std::string& path, const std::string& content) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == content.size();
}

// The whole content of a file; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  ::CloseHandle(file);
  return content;
}

}  // namespace vorlix::testing
