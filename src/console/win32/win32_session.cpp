#include "console/win32/win32_session.h"

#include <windows.h>
#include <winver.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/errors.h"
#include "platform/win32/handles.h"

namespace vorlix::console::win32 {

namespace {

constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;

// False when the handle is missing or a write fails.
bool WriteAll(DWORD which, std::string_view bytes) {
  const HANDLE handle = ::GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::string Win32Session::ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!::GetComputerNameA(name, &size)) return std::string();
  return std::string(name, size);
}

std::string Win32Session::UserName() {
  char name[257] = {};
  DWORD size = sizeof name;
  if (!::GetUserNameA(name, &size)) return std::string();
  return name;
}

bool Win32Session::IsElevated() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
  const platform::win32::UniqueFile token(raw);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) {
    return false;
  }
  return elevation.TokenIsElevated != 0;
}

int Win32Session::UtcOffsetMinutes() {
  TIME_ZONE_INFORMATION zone{};
  const DWORD which = ::GetTimeZoneInformation(&zone);
  LONG bias = zone.Bias;
  if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
  if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
  return static_cast<int>(-bias);
}

int Win32Session::AnsiCodePage() { return static_cast<int>(::GetACP()); }

std::string Win32Session::AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return std::string();
  const int length = static_cast<int>(ansi.size());
  const int wide = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (wide <= 0) return std::string();
  std::vector<wchar_t> text(static_cast<std::size_t>(wide));
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, text.data(), wide);
  const int bytes =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::string Win32Session::FileVersion() {
  // Read from the program's own resource, which needs no version DLL.
  const HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  const HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
  const auto* data = loaded ? static_cast<const unsigned char*>(::LockResource(loaded)) : nullptr;
  if (!data) return std::string();
  const DWORD size = ::SizeofResource(nullptr, found);
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, data + at, sizeof info);
    if (info.dwSignature != kFixedInfoSignature) continue;
    char text[64];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu",
                  static_cast<unsigned long>(HIWORD(info.dwFileVersionMS)),
                  static_cast<unsigned long>(LOWORD(info.dwFileVersionMS)),
                  static_cast<unsigned long>(HIWORD(info.dwFileVersionLS)),
                  static_cast<unsigned long>(LOWORD(info.dwFileVersionLS)));
    return text;
  }
  return std::string();
}

void Win32Streams::Out(std::string_view bytes) {
  if (!WriteAll(STD_OUTPUT_HANDLE, bytes)) throw InOutError("standard output", ::GetLastError());
}

void Win32Streams::Err(std::string_view text) { WriteAll(STD_ERROR_HANDLE, text); }

bool Win32Streams::ErrIsConsole() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace vorlix::console::win32
