#pragma once

#include "platform/file_system.h"

namespace vorlix::platform::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  PathAttributes Attributes(const std::string& path) override;
  SearchStart FindFirst(const std::string& pattern) override;
  std::optional<DosDateTime> FileTimeToDos(FileTime time) override;
  FileTime FileTimeToLocal(FileTime time) override;
  std::unique_ptr<TextWriter> CreateText(const std::string& path) override;
  std::unique_ptr<TextWriter> CreateScratchText(const std::string& path) override;
  std::unique_ptr<TextReader> OpenText(const std::string& path) override;
  std::string ReadAll(const std::string& path) override;
  FileWithAccess ReadWithAccess(const std::string& path) override;
  void MakePrivate(const std::string& path) override;
  std::optional<std::string> AccountSid(const std::string& name) override;
  bool Delete(const std::string& path) override;
  void Replace(const std::string& from, const std::string& to) override;
  bool MoveToNewName(const std::string& from, const std::string& to) override;
  std::string TempFolder() override;
  std::string CreateTempFile(const std::string& folder, const std::string& prefix) override;
  std::string FullPath(const std::string& path) override;
  std::string ExecutablePath() override;
};

}  // namespace vorlix::platform::win32
