// Whether an elevated run may trust a drive map: who owns it and whom its access list lets
// change it.
#include "drivemap/map_trust.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vorlix::drivemap {
namespace {

using platform::AccessEntry;
using Kind = platform::AccessEntry::Kind;

const platform::Account kAnna{"S-1-5-21-7-7-7-1001", "CORP\\anna"};
const platform::Account kBen{"S-1-5-21-7-7-7-1002", "CORP\\ben"};
const platform::Account kAdmins{"S-1-5-32-544", "BUILTIN\\Administrators"};
const platform::Account kSystem{"S-1-5-18", "NT AUTHORITY\\SYSTEM"};
const platform::Account kEveryone{"S-1-1-0", "Everyone"};
const platform::Account kUsers{"S-1-5-32-545", "BUILTIN\\Users"};
const platform::Account kAuthenticated{"S-1-5-11", "NT AUTHORITY\\Authenticated Users"};
const platform::Account kOwnerRights{"S-1-3-4", "OWNER RIGHTS"};
const platform::Account kCreatorOwner{"S-1-3-0", "CREATOR OWNER"};

constexpr std::uint32_t kFull = 0x1F01FF;
constexpr std::uint32_t kReadAndExecute = 0x1200A9;
constexpr std::uint32_t kDelete = 0x10000;

AccessEntry Allow(const platform::Account& who, std::uint32_t rights, bool inheritOnly = false) {
  return {who, Kind::Allows, rights, inheritOnly};
}

TEST(MapTrust, OnlyTheTrustedMayOwnOrChangeTheMap) {
  const std::vector<AccessEntry> privateList = {Allow(kAnna, kFull), Allow(kAdmins, kFull),
                                                Allow(kSystem, kFull),
                                                Allow(kEveryone, kReadAndExecute)};
  struct Row {
    const char* what;
    platform::Account owner;
    std::vector<AccessEntry> entries;
    std::optional<std::string> mapOwner;
    std::optional<std::string> refused;  // the account named
    bool byOwnership = false;
  } rows[] = {
      {"the list store-map gives", kAnna, privateList, {}, {}},
      {"owned by the Administrators", kAdmins, privateList, {}, {}},
      {"owned by SYSTEM", kSystem, privateList, {}, {}},
      {"owned by another user", kBen, privateList, {}, "CORP\\ben", true},
      {"owned by the user --map-owner names", kBen, privateList, kBen.sid, {}},
      {"owned by another than --map-owner names", kBen, privateList, kAnna.sid, "CORP\\ben", true},
      {"the owner comes first", kBen, {Allow(kEveryone, kFull)}, {}, "CORP\\ben", true},
      {"Everyone may write", kAnna, {Allow(kEveryone, 0x2)}, {}, "Everyone"},
      {"Users may append", kAnna, {Allow(kUsers, 0x4)}, {}, "BUILTIN\\Users"},
      {"Authenticated Users may change the list",
       kAnna,
       {Allow(kAuthenticated, 0x40000)},
       {},
       "NT AUTHORITY\\Authenticated Users"},
      {"another user may take ownership", kAnna, {Allow(kBen, 0x80000)}, {}, "CORP\\ben"},
      {"generic write", kAnna, {Allow(kUsers, 0x40000000)}, {}, "BUILTIN\\Users"},
      {"generic all", kAnna, {Allow(kUsers, 0x10000000)}, {}, "BUILTIN\\Users"},
      {"reading, deleting and attributes change nothing",
       kAnna,
       {Allow(kEveryone, kReadAndExecute | kDelete | 0x100 | 0x10)},
       {},
       {}},
      {"for the folder's children only", kAnna, {Allow(kUsers, kFull, true)}, {}, {}},
      {"a denial is no grant", kAnna, {{kUsers, Kind::Denies, kFull, false}}, {}, {}},
      {"a denial does not cancel another grant",
       kAnna,
       {{kUsers, Kind::Denies, kFull, false}, Allow(kEveryone, 0x2)},
       {},
       "Everyone"},
      {"an entry of an unknown kind counts as a grant",
       kAnna,
       {{{"", "an access entry of type 17"}, Kind::Other, 0x2, false}},
       {},
       "an access entry of type 17"},
      {"the owner's own rights", kAnna, {Allow(kOwnerRights, kFull)}, {}, {}},
      {"CREATOR OWNER on the file itself",
       kAnna,
       {Allow(kCreatorOwner, kFull)},
       {},
       "CREATOR OWNER"},
      {"the --map-owner user may write", kAnna, {Allow(kBen, kFull)}, kBen.sid, {}},
      {"--map-owner lets no one else write",
       kBen,
       {Allow(kBen, kFull), Allow(kUsers, 0x2)},
       kBen.sid,
       "BUILTIN\\Users"},
      {"another user without --map-owner", kAnna, {Allow(kBen, kFull)}, {}, "CORP\\ben"},
  };
  for (const Row& row : rows) {
    const platform::FileAccessList access{row.owner, row.entries, kAnna};
    const auto untrusted = WhoElseMayChange(access, row.mapOwner);
    ASSERT_EQ(untrusted.has_value(), row.refused.has_value()) << row.what;
    if (!untrusted) continue;
    EXPECT_EQ(untrusted->account.name, *row.refused) << row.what;
    EXPECT_EQ(untrusted->owner, row.byOwnership) << row.what;
  }
}

TEST(MapTrust, TheRefusalNamesTheFileTheAccountAndTheWayBack) {
  const std::string again =
      "\r\n\r\nStore it again as the normal user ('Store drive map...' or 'vorlixc store-map'): "
      "then only its owner, the Administrators and SYSTEM may change it.";
  EXPECT_EQ(RefusalText("C:\\Tools\\Vorlix.txt", {kEveryone, false}, false),
            "File :'C:\\Tools\\Vorlix.txt' may be changed by Everyone, so nothing was converted." +
                again);
  EXPECT_EQ(RefusalText("C:\\Tools\\Vorlix.txt", {kBen, true}, true),
            "File :'C:\\Tools\\Vorlix.txt' is owned by CORP\\ben, so a conversion would not use "
            "it." +
                again);
}

}  // namespace
}  // namespace vorlix::drivemap
