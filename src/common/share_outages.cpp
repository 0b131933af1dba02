#include "common/share_outages.h"

#include <algorithm>
#include <utility>

#include "common/short_string.h"
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

// Hands the report's lines on to the file and tells the file system which section is written.
class SectionTap final : public platform::TextWriter {
 public:
  SectionTap(std::unique_ptr<platform::TextWriter> file, ShareOutages& outages)
      : file_(std::move(file)), outages_(outages) {}
  void Write(std::string_view bytes) override {
    file_->Write(bytes);
    outages_.Wrote(bytes);
  }
  void Close() override { file_->Close(); }

 private:
  std::unique_ptr<platform::TextWriter> file_;
  ShareOutages& outages_;
};

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
  const std::string text = Normalised(path);
  if (!text.starts_with("\\\\")) return {};
  const std::size_t server = text.find('\\', 2);
  if (server == std::string::npos || server == 2) return {};
  const std::size_t share = text.find('\\', server + 1);
  if (share == server + 1) return {};
  return text.substr(0, share);
}

std::string WaitingText(const CallInProgress& call, std::chrono::steady_clock::time_point now) {
  const auto waited = std::chrono::duration_cast<std::chrono::seconds>(now - call.since).count();
  if (waited < 1) return {};
  std::string text = call.section.empty() ? std::string() : call.section + "  ";
  return text + call.path + "  (" + std::to_string(waited) + " s)";
}

// Marks the call in progress for Current(), from its start to its end.
class ShareOutages::Call {
 public:
  Call(ShareOutages& outages, const std::string& path) : outages_(outages) {
    const std::lock_guard lock(outages_.mutex_);
    outages_.current_ = CallInProgress{outages_.section_, path, std::chrono::steady_clock::now()};
  }
  ~Call() {
    const std::lock_guard lock(outages_.mutex_);
    outages_.current_.reset();
  }
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

 private:
  ShareOutages& outages_;
};

void ShareOutages::Forget() {
  const std::lock_guard lock(mutex_);
  outages_.clear();
  letters_.clear();
  reportFiles_.clear();
  section_.clear();
}

void ShareOutages::Cancel() { cancelled_ = true; }

std::optional<CallInProgress> ShareOutages::Current() const {
  const std::lock_guard lock(mutex_);
  return current_;
}

void ShareOutages::Wrote(std::string_view bytes) {
  const std::string_view line = bytes.substr(0, bytes.find_first_of("\r\n"));
  if (line.empty() || line.front() == ' ') return;
  const std::lock_guard lock(mutex_);
  section_ = Short(line);
}

std::string ShareOutages::ShareKey(const std::string& path) {
  const std::string text = Normalised(path);
  if (text.starts_with("\\\\")) return ShareOfPath(text);
  if (text.size() < 2 || text[1] != ':') return {};
  const std::string letter = text.substr(0, 2);
  {
    const std::lock_guard lock(mutex_);
    const auto known = letters_.find(letter);
    if (known != letters_.end()) return known->second.empty() ? letter : known->second;
  }
  const auto connection = network_.Connection(std::string{AsciiUpper(letter[0]), ':'});
  const std::string share = connection ? ShareOfPath(*connection) : std::string();
  const std::lock_guard lock(mutex_);
  letters_[letter] = share;
  return share.empty() ? letter : share;
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
  if (cancelled_) throw Cancelled();
  if (const auto code = KnownOutage(path)) throw InOutError(path, *code);
}

platform::PathAttributes ShareOutages::Attributes(const std::string& path) {
  if (cancelled_) throw Cancelled();
  if (const auto code = KnownOutage(path)) return {0, *code};
  const Call call(*this, path);
  const platform::PathAttributes found = system_.Attributes(path);
  if (found.error != 0) Learn(path, found.error);
  return found;
}

platform::SearchStart ShareOutages::FindFirst(const std::string& pattern) {
  if (cancelled_) throw Cancelled();
  if (const auto code = KnownOutage(pattern)) return {nullptr, *code};
  const Call call(*this, pattern);
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
  const Call call(*this, path);
  try {
    return asking();
  } catch (const OsError& error) {
    Learn(path, error.code());
    throw;
  }
}

std::unique_ptr<platform::TextWriter> ShareOutages::CreateText(const std::string& path) {
  auto writer = Ask(path, [&] { return system_.CreateText(path); });
  const std::lock_guard lock(mutex_);
  if (!reportFiles_.count(AsciiLower(path))) return writer;
  return std::make_unique<SectionTap>(std::move(writer), *this);
}

std::unique_ptr<platform::TextReader> ShareOutages::OpenText(const std::string& path) {
  return Ask(path, [&] { return system_.OpenText(path); });
}

std::string ShareOutages::ReadAll(const std::string& path) {
  return Ask(path, [&] { return system_.ReadAll(path); });
}

bool ShareOutages::Delete(const std::string& path) {
  if (KnownOutage(path)) return false;
  const Call call(*this, path);
  return system_.Delete(path);
}

template <typename Move>
auto ShareOutages::Moving(const std::string& from, const std::string& to, Move move) {
  Begin(from);
  Begin(to);
  const Call call(*this, to);
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
  const bool report = AsciiLower(folder) == AsciiLower(system_.TempFolder());
  if (report) Forget();
  std::string made = Ask(folder, [&] { return system_.CreateTempFile(folder, prefix); });
  if (report) {
    const std::lock_guard lock(mutex_);
    reportFiles_.insert(AsciiLower(made));
  }
  return made;
}

}  // namespace vorlix
