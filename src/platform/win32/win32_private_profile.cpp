#include "platform/win32/win32_private_profile.h"

#include <windows.h>

#include "platform/win32/last_error.h"

namespace vorlix::platform::win32 {

namespace {

constexpr DWORD kFirstBufferSize = 1024;

// Calls read(buffer, size), which returns the characters copied, with a growing buffer until the
// answer is shorter than `truncatedMark` characters less than the buffer, the system's sign of a
// cut answer.
template <typename Read>
std::string ReadGrowing(Read read, DWORD truncatedMark) {
  std::string buffer(kFirstBufferSize, '\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD copied = read(buffer.data(), size);
    if (copied + truncatedMark < size) return buffer.substr(0, copied);
    buffer.assign(buffer.size() * 2, '\0');
  }
}

// A list of NUL-terminated names as the profile functions return them.
std::vector<std::string> SplitNames(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t end = list.find('\0', start);
    const std::size_t stop = end == std::string::npos ? list.size() : end;
    if (stop > start) names.push_back(list.substr(start, stop - start));
    start = stop + 1;
  }
  return names;
}

// A write, deletion or erasure the system refused raises OsError with its code.
void Refused(BOOL written, const std::string& file) {
  if (!written) ThrowLastError("Unable to write to " + file);
}

}  // namespace

std::string Win32PrivateProfile::ReadString(const std::string& file, const std::string& section,
                                            const std::string& key, const std::string& fallback) {
  // A cut value fills the buffer but for its terminating NUL.
  return ReadGrowing(
      [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                          size, file.c_str());
      },
      1);
}

void Win32PrivateProfile::WriteString(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& value) {
  Refused(::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()),
          file);
}

std::vector<std::string> Win32PrivateProfile::ReadSection(const std::string& file,
                                                          const std::string& section) {
  // A cut list fills the buffer but for its two terminating NULs.
  return SplitNames(ReadGrowing(
      [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size, file.c_str());
      },
      2));
}

std::vector<std::string> Win32PrivateProfile::ReadSections(const std::string& file) {
  return SplitNames(ReadGrowing(
      [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileSectionNamesA(buffer, size, file.c_str());
      },
      2));
}

void Win32PrivateProfile::DeleteKey(const std::string& file, const std::string& section,
                                    const std::string& key) {
  Refused(::WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()), file);
}

void Win32PrivateProfile::EraseSection(const std::string& file, const std::string& section) {
  Refused(::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()), file);
}

// The answer of a flush says nothing about the values written before it.
void Win32PrivateProfile::Flush(const std::string& file) {
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

}  // namespace vorlix::platform::win32
