#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/network_names.h"

namespace vorlix {

// True for a system code that says a server did not answer, as opposed to an answer such as
// "not found" or "access denied".
bool MeansNoAnswer(std::uint32_t code);

// "\\server\share" of a network path, in lower case; empty for any other path.
std::string ShareOfPath(std::string_view path);

// The file system as one command sees it. A server that does not answer costs one wait: after
// the first call under \\server\share (or a drive letter connected to it) fails with a code that
// means no answer, every later call there fails at once with the same code, without asking the
// system, and a deletion there is not sent. Answers are never remembered. The drive letters'
// shares are asked of `network`, which remembers them for the command.
class ShareOutages final : public platform::FileSystem {
 public:
  ShareOutages(platform::FileSystem& system, platform::NetworkNames& network)
      : system_(system), network_(network) {}

  // A new command asks every server again.
  void Forget();

  platform::PathAttributes Attributes(const std::string& path) override;
  platform::SearchStart FindFirst(const std::string& pattern) override;
  std::optional<platform::DosDateTime> FileTimeToDos(platform::FileTime time) override {
    return system_.FileTimeToDos(time);
  }
  platform::FileTime FileTimeToLocal(platform::FileTime time) override {
    return system_.FileTimeToLocal(time);
  }
  std::unique_ptr<platform::TextWriter> CreateText(const std::string& path) override;
  std::unique_ptr<platform::TextWriter> CreateScratchText(const std::string& path) override;
  std::unique_ptr<platform::TextReader> OpenText(const std::string& path) override;
  std::string ReadAll(const std::string& path) override;
  platform::FileWithAccess ReadWithAccess(const std::string& path) override;
  void MakePrivate(const std::string& path) override;
  std::optional<std::string> AccountSid(const std::string& name) override {
    return system_.AccountSid(name);
  }
  bool Delete(const std::string& path) override;
  void Replace(const std::string& from, const std::string& to) override;
  bool MoveToNewName(const std::string& from, const std::string& to) override;
  std::string TempFolder() override { return system_.TempFolder(); }
  std::string CreateTempFile(const std::string& folder, const std::string& prefix) override;
  std::string FullPath(const std::string& path) override { return system_.FullPath(path); }
  std::string ExecutablePath() override { return system_.ExecutablePath(); }

  // The share's code when a call under it already went unanswered in this report.
  std::optional<std::uint32_t> KnownOutage(const std::string& path);
  // Remembers the share of the path when the code means no answer.
  void Learn(const std::string& path, std::uint32_t code);

 private:
  // The share of a network path, or of the drive letter it is on.
  std::string ShareKey(const std::string& path);
  // Starts a call: throws the remembered failure of the path's share.
  void Begin(const std::string& path);
  // Asks the system about a path unless its share is known not to answer; learns from a failure.
  template <typename Asking>
  auto Ask(const std::string& path, Asking asking);
  // A move's two paths: a failure is learnt only when both lie on one share.
  template <typename Move>
  auto Moving(const std::string& from, const std::string& to, Move move);

  platform::FileSystem& system_;
  platform::NetworkNames& network_;
  std::mutex mutex_;
  std::map<std::string, std::uint32_t> outages_;
};

}  // namespace vorlix
