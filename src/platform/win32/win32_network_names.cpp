#include "platform/win32/win32_network_names.h"

#include <windows.h>
#include <winnetwk.h>

#include <cstring>

namespace vorlix::platform::win32 {

namespace {

constexpr DWORD kRemoteNameBuffer = 261;

}  // namespace

std::optional<std::string> Win32NetworkNames::Connection(const std::string& localName) {
  char remote[kRemoteNameBuffer] = {};
  DWORD length = kRemoteNameBuffer;
  if (::WNetGetConnectionA(localName.c_str(), remote, &length) != NO_ERROR) return std::nullopt;
  return std::string(remote, ::strnlen(remote, sizeof remote));
}

}  // namespace vorlix::platform::win32
