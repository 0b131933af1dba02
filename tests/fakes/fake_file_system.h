#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorlix::fakes {

// An in-memory file system with Windows-style paths (case-insensitive, backslashes) and
// switches for the faults a real one cannot be made to show on demand.
class FakeFileSystem final : public platform::FileSystem {
 public:
  struct Node {
    std::string name;  // as created
    bool folder = false;
    std::string content;
    std::uint32_t attributes = 0;
    platform::FileTime creation{0x5C6E0000u, 0x01CA8A75u};  // 1 Jan 2010 00:00:00 (UTC)
    platform::FileTime lastWrite{0x5C6E0000u, 0x01CA8A75u};
    std::uint64_t size = 0;  // for folders and faked sizes; files use content.size()
    std::optional<platform::FileAccessList> access;  // none: what its folder gives
  };

  FakeFileSystem();

  // Set-up helpers; parent folders are created as needed.
  void AddFolder(const std::string& path, std::uint32_t attributes = platform::kAttrDirectory);
  void AddFile(const std::string& path, const std::string& content,
               std::uint32_t attributes = platform::kAttrArchive);
  Node* Find(const std::string& path);
  std::vector<std::string> FilesUnder(const std::string& folder) const;
  // Every file by its key (its full path in lower case), in the order they were made.
  std::vector<std::string> AllFiles() const;

  // Faults, by path (case-insensitive) or by folder for creation.
  std::set<std::string> failCreateIn;  // folders where creating a file fails
  std::set<std::string> failRead;      // files that cannot be opened for reading
  std::set<std::string> failDelete;    // files whose deletion fails
  std::set<std::string> failReplace;   // targets that cannot be replaced
  std::set<std::string> failSearchIn;  // folders that cannot be listed (ERROR_ACCESS_DENIED)
  // Keys of shares (or drive letters) whose server does not answer: every path under one fails
  // with ERROR_BAD_NETPATH.
  std::set<std::string> unanswered;
  long writeBudget = -1;  // bytes that may still be written; -1 unlimited
  bool failDosConversion = false;
  std::uint32_t createError = 5;   // ERROR_ACCESS_DENIED
  std::uint32_t writeError = 112;  // ERROR_DISK_FULL
  std::string currentFolder = "C:\\Work";
  std::string executable = "C:\\Tools\\Vorlix.exe";
  std::string tempFolder = "C:\\Temp\\";
  std::int64_t localBiasSeconds = 0;  // local time minus UTC
  // Called when a temporary file has been made: another writer at the same moment.
  std::function<void()> onCreateTemp;
  // Files whose reading gives this text instead of what was written (lower-case full paths).
  std::map<std::string, std::string> readsAs;
  // The code ExecutablePath fails with; 0 when it gives `executable`.
  std::uint32_t executableError = 0;

  // The account the program runs as, and the accounts the system knows by name (lower case).
  platform::Account user{"S-1-5-21-7-7-7-1001", "CORP\\anna"};
  std::map<std::string, std::string> accountSids{{"corp\\anna", "S-1-5-21-7-7-7-1001"},
                                                 {"corp\\ben", "S-1-5-21-7-7-7-1002"}};
  // What a file without an access list of its own gets from its folder: owned by `user`, who
  // may write it, and Everyone may read it.
  platform::FileAccessList inherited;
  // The list MakePrivate gives: owned by `user`, full control for it, the Administrators and
  // SYSTEM, reading for Everyone.
  platform::FileAccessList Private() const;
  platform::FileAccessList& AccessOf(const std::string& path);

  platform::PathAttributes Attributes(const std::string& path) override;
  platform::SearchStart FindFirst(const std::string& pattern) override;
  std::optional<platform::DosDateTime> FileTimeToDos(platform::FileTime time) override;
  platform::FileTime FileTimeToLocal(platform::FileTime time) override;
  std::unique_ptr<platform::TextWriter> CreateText(const std::string& path) override;
  std::unique_ptr<platform::TextWriter> CreateScratchText(const std::string& path) override;
  std::unique_ptr<platform::TextReader> OpenText(const std::string& path) override;
  std::string ReadAll(const std::string& path) override;
  platform::FileWithAccess ReadWithAccess(const std::string& path) override;
  void MakePrivate(const std::string& path) override;
  std::optional<std::string> AccountSid(const std::string& name) override;
  bool Delete(const std::string& path) override;
  void Replace(const std::string& from, const std::string& to) override;
  bool MoveToNewName(const std::string& from, const std::string& to) override;
  std::string TempFolder() override;
  std::string CreateTempFile(const std::string& folder, const std::string& prefix) override;
  std::string FullPath(const std::string& path) override;
  std::string ExecutablePath() override;

  static std::string Key(const std::string& path);  // normalised lookup key
  static std::string Parent(const std::string& path);

 private:
  bool Unanswered(const std::string& path) const;
  std::map<std::string, Node> nodes_;
  std::vector<std::string> order_;  // creation order of keys: the search order
  unsigned tempCounter_ = 0;
  friend class FakeWriter;
};

}  // namespace vorlix::fakes
