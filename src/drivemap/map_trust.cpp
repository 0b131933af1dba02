#include "drivemap/map_trust.h"

#include <string_view>

#include "common/short_string.h"
#include "common/text.h"
#include "drivemap/drive_map_texts.h"

namespace vorlix::drivemap {

namespace {

constexpr std::string_view kAdministrators = "S-1-5-32-544";
constexpr std::string_view kLocalSystem = "S-1-5-18";
// Stands for whoever owns the object.
constexpr std::string_view kOwnerRights = "S-1-3-4";

constexpr std::uint32_t kChangeRights = platform::kRightWriteData | platform::kRightAppendData |
                                        platform::kRightWriteDac | platform::kRightWriteOwner |
                                        platform::kRightGenericAll | platform::kRightGenericWrite;

}  // namespace

std::optional<Untrusted> WhoElseMayChange(const platform::FileAccessList& access,
                                          const std::optional<std::string>& mapOwner) {
  const auto trusted = [&](const std::string& sid) {
    return sid == access.reader.sid || sid == kAdministrators || sid == kLocalSystem ||
           (mapOwner && sid == *mapOwner);
  };
  if (!trusted(access.owner.sid)) return Untrusted{access.owner, true};
  // A denial is not weighed against a grant: any grant to another account is refused.
  for (const platform::AccessEntry& entry : access.entries) {
    if (entry.kind == platform::AccessEntry::Kind::Denies || entry.inheritOnly) continue;
    if ((entry.rights & kChangeRights) == 0) continue;
    if (trusted(entry.trustee.sid) || entry.trustee.sid == kOwnerRights) continue;
    return Untrusted{entry.trustee, false};
  }
  return std::nullopt;
}

std::string RefusalText(const std::string& fileName, const Untrusted& untrusted, bool dryRun) {
  return Short(Join(
      {texts::kFilePrefix, fileName, untrusted.owner ? texts::kIsOwnedBy : texts::kMayBeChangedBy,
       untrusted.account.name, dryRun ? texts::kWouldNotBeUsed : texts::kNotUsedNothingWritten,
       "\r\n\r\n", texts::kMakeMapAgain}));
}

}  // namespace vorlix::drivemap
