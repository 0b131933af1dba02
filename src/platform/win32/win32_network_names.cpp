#include "platform/win32/win32_network_names.h"

#include <cstring>

#include "platform/errors.h"

namespace vorlix::platform::win32 {

namespace {

constexpr DWORD kRemoteNameBuffer = 261;

}  // namespace

Win32NetworkNames::Win32NetworkNames()
    : mpr_(L"mpr.dll"), getConnection_(mpr_.Find<GetConnection>("WNetGetConnectionA")) {}

std::optional<std::string> Win32NetworkNames::Connection(const std::string& localName) {
  if (!getConnection_) throw OsError("mpr.dll: WNetGetConnectionA cannot be loaded", mpr_.error());
  char remote[kRemoteNameBuffer] = {};
  DWORD length = kRemoteNameBuffer;
  if (getConnection_(localName.c_str(), remote, &length) != NO_ERROR) return std::nullopt;
  return std::string(remote, ::strnlen(remote, sizeof remote));
}

}  // namespace vorlix::platform::win32
