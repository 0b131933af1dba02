#pragma once
// Who may change a file, set up under Wine as another program or account would leave it. Wine
// keeps a file's access list in its Unix mode and its owner in its Unix owner.

#include <aclapi.h>
#include <windows.h>

#include <string>

namespace vorlix::testing {

// The file's access list lets Everyone write it (or, with `others` false, only read it); the
// current user keeps full control.
inline bool LetEveryoneWrite(const std::string& path, bool others = true) {
  BYTE everyone[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof everyone;
  ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
  HANDLE token = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
  BYTE user[256];
  DWORD length = sizeof user;
  ::GetTokenInformation(token, TokenUser, user, sizeof user, &length);
  ::CloseHandle(token);
  BYTE buffer[512];
  const auto acl = reinterpret_cast<PACL>(buffer);
  ::InitializeAcl(acl, sizeof buffer, ACL_REVISION);
  ::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS,
                        reinterpret_cast<TOKEN_USER*>(user)->User.Sid);
  ::AddAccessAllowedAce(acl, ACL_REVISION,
                        others ? FILE_GENERIC_READ | FILE_GENERIC_WRITE : FILE_GENERIC_READ,
                        everyone);
  std::string name = path;
  return ::SetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                 nullptr, acl, nullptr) == ERROR_SUCCESS;
}

// The file belongs to another account: its Unix owner becomes "nobody", which Wine shows as
// NT AUTHORITY\ANONYMOUS LOGON. Wine runs a Unix program that CreateProcess is given.
inline bool GiveToAnotherAccount(const std::string& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  wchar_t wide[MAX_PATH];
  if (!unixName || !::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) {
    return false;
  }
  char* unix = unixName(wide);
  if (!unix) return false;
  std::string command = "Z:\\bin\\chown nobody \"" + std::string(unix) + "\"";
  ::HeapFree(::GetProcessHeap(), 0, unix);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  // Wine cannot wait for a Unix program: the owner is watched until it changes.
  for (int i = 0; i < 600; ++i) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::string name = path;
    if (::GetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS) {
      const bool changed = ::IsWellKnownSid(owner, WinAnonymousSid);
      ::LocalFree(descriptor);
      if (changed) return true;
    }
    ::Sleep(100);
  }
  return false;
}

inline constexpr char kAnotherAccount[] = "NT AUTHORITY\\ANONYMOUS LOGON";

}  // namespace vorlix::testing
