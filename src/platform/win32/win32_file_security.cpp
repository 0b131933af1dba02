#include "platform/win32/win32_file_security.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "platform/errors.h"
#include "platform/win32/handles.h"
#include "platform/win32/last_error.h"

namespace vorlix::platform::win32 {

namespace {

std::string SidText(PSID sid) {
  LPSTR text = nullptr;
  if (!::ConvertSidToStringSidA(sid, &text)) return {};
  const UniqueLocal owner(text);
  return text;
}

// "DOMAIN\name", the bare name for an account without a domain (Everyone), or the identifier
// when the system knows no name for it.
Account AccountOf(PSID sid) {
  Account account{SidText(sid), {}};
  char name[256];
  char domain[256];
  DWORD nameLength = sizeof name;
  DWORD domainLength = sizeof domain;
  SID_NAME_USE use;
  if (::LookupAccountSidA(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) {
    // The lengths are not counted alike by every system: the names end where their text does.
    account.name = domain[0] != '\0' ? std::string(domain) + "\\" + name : std::string(name);
  } else {
    account.name = account.sid;
  }
  return account;
}

// The account the program runs as.
std::vector<BYTE> CurrentUserSid() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) {
    ThrowLastError<InOutError>("the program's own account");
  }
  const UniqueFile token(raw);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  if (!::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) {
    ThrowLastError<InOutError>("the program's own account");
  }
  const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
  return std::vector<BYTE>(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + ::GetLengthSid(sid));
}

std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
  std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
  DWORD size = static_cast<DWORD>(sid.size());
  if (!::CreateWellKnownSid(type, nullptr, sid.data(), &size)) {
    ThrowLastError<InOutError>("a well-known account");
  }
  sid.resize(size);
  return sid;
}

AccessEntry::Kind KindOf(BYTE type) {
  switch (type) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_COMPOUND_ACE_TYPE:
    case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
      return AccessEntry::Kind::Allows;
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
      return AccessEntry::Kind::Denies;
    default:
      return AccessEntry::Kind::Other;
  }
}

// The trustee of an entry whose layout is known; an entry of another layout names nobody, so
// that any right it grants counts as granted to a stranger.
std::optional<PSID> TrusteeOf(const ACE_HEADER* header) {
  switch (header->AceType) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
      return PSID(&reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header)->SidStart);
    case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE: {
      const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_OBJECT_ACE*>(header);
      auto* at = reinterpret_cast<const BYTE*>(&ace->ObjectType);
      if (ace->Flags & ACE_OBJECT_TYPE_PRESENT) at += sizeof(GUID);
      if (ace->Flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) at += sizeof(GUID);
      return PSID(const_cast<BYTE*>(at));
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

FileAccessList AccessOfOpenFile(HANDLE file, const std::string& path) {
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR raw = nullptr;
  const DWORD error = ::GetSecurityInfo(file, SE_FILE_OBJECT,
                                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &owner, nullptr, &dacl, nullptr, &raw);
  if (error != ERROR_SUCCESS) throw InOutError(path, error);
  const UniqueLocal descriptor(raw);
  FileAccessList list;
  list.owner = AccountOf(owner);
  std::vector<BYTE> reader = CurrentUserSid();
  list.reader = AccountOf(reader.data());
  if (!dacl) {
    std::vector<BYTE> everyone = WellKnownSid(WinWorldSid);
    list.entries.push_back({AccountOf(everyone.data()), AccessEntry::Kind::Allows, GENERIC_ALL});
    return list;
  }
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* raw_ace = nullptr;
    if (!::GetAce(dacl, i, &raw_ace)) ThrowLastError<InOutError>(path);
    const auto* header = static_cast<const ACE_HEADER*>(raw_ace);
    AccessEntry entry;
    entry.kind = KindOf(header->AceType);
    entry.rights = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header)->Mask;
    entry.inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
    if (const auto trustee = TrusteeOf(header))
      entry.trustee = AccountOf(*trustee);
    else
      entry.trustee = {"", "an access entry of type " + std::to_string(header->AceType)};
    list.entries.push_back(std::move(entry));
  }
  return list;
}

void MakeFilePrivate(const std::string& path) {
  const std::vector<BYTE> full[] = {CurrentUserSid(), WellKnownSid(WinBuiltinAdministratorsSid),
                                    WellKnownSid(WinLocalSystemSid)};
  const std::vector<BYTE> everyone = WellKnownSid(WinWorldSid);
  DWORD size = sizeof(ACL);
  for (const auto* sid : {&full[0], &full[1], &full[2], &everyone}) {
    size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + static_cast<DWORD>(sid->size());
  }
  std::vector<BYTE> buffer(size);
  const auto acl = reinterpret_cast<PACL>(buffer.data());
  if (!::InitializeAcl(acl, size, ACL_REVISION)) ThrowLastError<InOutError>(path);
  for (const auto& sid : full) {
    if (!::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, const_cast<BYTE*>(sid.data()))) {
      ThrowLastError<InOutError>(path);
    }
  }
  if (!::AddAccessAllowedAce(acl, ACL_REVISION, FILE_GENERIC_READ,
                             const_cast<BYTE*>(everyone.data()))) {
    ThrowLastError<InOutError>(path);
  }
  std::string name = path;
  const DWORD error = ::SetNamedSecurityInfoA(
      name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
      nullptr, nullptr, acl, nullptr);
  if (error != ERROR_SUCCESS) throw InOutError(path, error);
}

std::optional<std::string> SidOfAccount(const std::string& name) {
  std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
  DWORD sidSize = static_cast<DWORD>(sid.size());
  char domain[256];
  DWORD domainLength = sizeof domain;
  SID_NAME_USE use;
  if (name.empty() || !::LookupAccountNameA(nullptr, name.c_str(), sid.data(), &sidSize, domain,
                                            &domainLength, &use)) {
    return std::nullopt;
  }
  return SidText(sid.data());
}

}  // namespace vorlix::platform::win32
