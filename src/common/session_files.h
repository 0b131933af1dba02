#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/command_session.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace vorlix {

// The file system with every call a call of the command's session: each of them, down to a
// listing's next entry, a file's next line, a write and a close, throws Cancelled once the
// command is to stop. Deletions are clean-up and still go through.
class SessionFiles final : public platform::FileSystem {
 public:
  SessionFiles(platform::FileSystem& system, CommandSession& session)
      : system_(system), session_(session) {}

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

 private:
  platform::FileSystem& system_;
  CommandSession& session_;
};

// The ini file functions, each a call of the command's session.
class SessionProfile final : public platform::PrivateProfile {
 public:
  SessionProfile(platform::PrivateProfile& system, CommandSession& session)
      : system_(system), session_(session) {}

  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  void WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> ReadSection(const std::string& file,
                                       const std::string& section) override;
  std::vector<std::string> ReadSections(const std::string& file) override;
  void DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  void EraseSection(const std::string& file, const std::string& section) override;
  void Flush(const std::string& file) override;

 private:
  platform::PrivateProfile& system_;
  CommandSession& session_;
};

}  // namespace vorlix
