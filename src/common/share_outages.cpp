#include "common/share_outages.h"

#include <algorithm>
#include <utility>

#include "common/place.h"
#include "common/text.h"
#include "platform/errors.h"

namespace vorlix {

namespace {

// Codes the system gives when a server or the way to it is gone, not when it said no.
constexpr std::uint32_t kNoAnswerCodes[] = {
    51,    // ERROR_REM_NOT_LIST
    53,    // ERROR_BAD_NETPATH
    59,    // ERROR_UNEXP_NET_ERR
    64,    // ERROR_NETNAME_DELETED
    121,   // ERROR_SEM_TIMEOUT
    995,   // ERROR_OPERATION_ABORTED: the call was cancelled before its server answered
    1222,  // ERROR_NO_NETWORK
    1231,  // ERROR_NETWORK_UNREACHABLE
    1232,  // ERROR_HOST_UNREACHABLE
    1233,  // ERROR_PROTOCOL_UNREACHABLE
    1234,  // ERROR_PORT_UNREACHABLE
    1460,  // ERROR_TIMEOUT
};

constexpr std::string_view kLongUncPrefix = "\\\\?\\unc\\";
constexpr std::string_view kLongPrefix = "\\\\?\\";

std::string Normalised(std::string_view path) {
  std::string text = AsciiLower(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  if (text.starts_with(kLongUncPrefix)) return "\\\\" + text.substr(kLongUncPrefix.size());
  if (text.starts_with(kLongPrefix)) return text.substr(kLongPrefix.size());
  return text;
}

// Remembers a failed search's end when the server stopped answering half-way.
class LearningSearch final : public platform::DirectorySearch {
 public:
  LearningSearch(std::unique_ptr<platform::DirectorySearch> search, ShareOutages& outages,
                 std::string pattern)
      : search_(std::move(search)), outages_(outages), pattern_(std::move(pattern)) {}
  std::optional<platform::DirEntry> Next() override {
    auto entry = search_->Next();
    if (!entry) outages_.Learn(pattern_, search_->EndError());
    return entry;
  }
  std::uint32_t EndError() const override { return search_->EndError(); }

 private:
  std::unique_ptr<platform::DirectorySearch> search_;
  ShareOutages& outages_;
  std::string pattern_;
};

}  // namespace

bool MeansNoAnswer(std::uint32_t code) {
  return std::find(std::begin(kNoAnswerCodes), std::end(kNoAnswerCodes), code) !=
         std::end(kNoAnswerCodes);
}

std::string ShareOfPath(std::string_view path) {
  const Place place = PlaceOf(Normalised(path));
  return place.kind == Place::Kind::Share ? place.name : std::string();
}

void ShareOutages::Forget() {
  const std::lock_guard lock(mutex_);
  outages_.clear();
}

std::string ShareOutages::ShareKey(const std::string& path) {
  const Place place = PlaceOf(Normalised(path));
  if (place.kind != Place::Kind::Drive) return place.name;
  const auto connection = network_.Connection(place.name);
  const std::string share = connection ? ShareOfPath(*connection) : std::string();
  return share.empty() ? place.name : share;
}

std::optional<std::uint32_t> ShareOutages::KnownOutage(const std::string& path) {
  {
    // Nothing is asked of the network while every server has answered.
    const std::lock_guard lock(mutex_);
    if (outages_.empty()) return std::nullopt;
  }
  const std::string key = ShareKey(path);
  const std::lock_guard lock(mutex_);
  const auto found = outages_.find(key);
  if (key.empty() || found == outages_.end()) return std::nullopt;
  return found->second;
}

void ShareOutages::Learn(const std::string& path, std::uint32_t code) {
  if (!MeansNoAnswer(code)) return;
  const std::string key = ShareKey(path);
  if (key.empty()) return;
  const std::lock_guard lock(mutex_);
  outages_.emplace(key, code);
}

void ShareOutages::Begin(const std::string& path) {
  if (const auto code = KnownOutage(path)) throw InOutError(path, *code);
}

platform::PathAttributes ShareOutages::Attributes(const std::string& path) {
  if (const auto code = KnownOutage(path)) return {0, *code};
  const platform::PathAttributes found = system_.Attributes(path);
  if (found.error != 0) Learn(path, found.error);
  return found;
}

platform::SearchStart ShareOutages::FindFirst(const std::string& pattern) {
  if (const auto code = KnownOutage(pattern)) return {nullptr, *code};
  platform::SearchStart start = system_.FindFirst(pattern);
  if (!start.search) {
    Learn(pattern, start.error);
    return start;
  }
  start.search = std::make_unique<LearningSearch>(std::move(start.search), *this, pattern);
  return start;
}

template <typename Asking>
auto ShareOutages::Ask(const std::string& path, Asking asking) {
  Begin(path);
  try {
    return asking();
  } catch (const OsError& error) {
    Learn(path, error.code());
    throw;
  }
}

std::unique_ptr<platform::TextWriter> ShareOutages::CreateText(const std::string& path) {
  return Ask(path, [&] { return system_.CreateText(path); });
}

std::unique_ptr<platform::TextWriter> ShareOutages::CreateScratchText(const std::string& path) {
  return Ask(path, [&] { return system_.CreateScratchText(path); });
}

std::unique_ptr<platform::TextReader> ShareOutages::OpenText(const std::string& path) {
  return Ask(path, [&] { return system_.OpenText(path); });
}

std::string ShareOutages::ReadAll(const std::string& path) {
  return Ask(path, [&] { return system_.ReadAll(path); });
}

platform::FileWithAccess ShareOutages::ReadWithAccess(const std::string& path) {
  return Ask(path, [&] { return system_.ReadWithAccess(path); });
}

void ShareOutages::MakePrivate(const std::string& path) {
  Ask(path, [&] { system_.MakePrivate(path); });
}

bool ShareOutages::Delete(const std::string& path) {
  if (KnownOutage(path)) return false;
  return system_.Delete(path);
}

template <typename Move>
auto ShareOutages::Moving(const std::string& from, const std::string& to, Move move) {
  Begin(from);
  Begin(to);
  try {
    return move();
  } catch (const OsError& error) {
    // Which of the two did not answer is known only when both lie on one share.
    if (ShareKey(from) == ShareKey(to)) Learn(to, error.code());
    throw;
  }
}

void ShareOutages::Replace(const std::string& from, const std::string& to) {
  Moving(from, to, [&] { system_.Replace(from, to); });
}

bool ShareOutages::MoveToNewName(const std::string& from, const std::string& to) {
  return Moving(from, to, [&] { return system_.MoveToNewName(from, to); });
}

std::string ShareOutages::CreateTempFile(const std::string& folder, const std::string& prefix) {
  return Ask(folder, [&] { return system_.CreateTempFile(folder, prefix); });
}

}  // namespace vorlix
