#include "common/session_files.h"

#include <utility>

namespace vorlix {

namespace {

class SessionWriter final : public platform::TextWriter {
 public:
  SessionWriter(std::unique_ptr<platform::TextWriter> file, CommandSession& session,
                std::string path)
      : file_(std::move(file)), session_(session), path_(std::move(path)) {}
  void Write(std::string_view bytes) override {
    session_.Call(path_, [&] { file_->Write(bytes); });
  }
  void Close() override {
    session_.Call(path_, [&] { file_->Close(); });
  }

 private:
  std::unique_ptr<platform::TextWriter> file_;
  CommandSession& session_;
  std::string path_;
};

class SessionReader final : public platform::TextReader {
 public:
  SessionReader(std::unique_ptr<platform::TextReader> file, CommandSession& session,
                std::string path)
      : file_(std::move(file)), session_(session), path_(std::move(path)) {}
  std::optional<std::string> ReadLine() override {
    return session_.Call(path_, [&] { return file_->ReadLine(); });
  }

 private:
  std::unique_ptr<platform::TextReader> file_;
  CommandSession& session_;
  std::string path_;
};

class SessionSearch final : public platform::DirectorySearch {
 public:
  SessionSearch(std::unique_ptr<platform::DirectorySearch> search, CommandSession& session,
                std::string pattern)
      : search_(std::move(search)), session_(session), pattern_(std::move(pattern)) {}
  std::optional<platform::DirEntry> Next() override {
    return session_.Call(pattern_, [&] { return search_->Next(); });
  }
  std::uint32_t EndError() const override { return search_->EndError(); }

 private:
  std::unique_ptr<platform::DirectorySearch> search_;
  CommandSession& session_;
  std::string pattern_;
};

}  // namespace

platform::PathAttributes SessionFiles::Attributes(const std::string& path) {
  return session_.Call(path, [&] { return system_.Attributes(path); });
}

platform::SearchStart SessionFiles::FindFirst(const std::string& pattern) {
  platform::SearchStart start = session_.Call(pattern, [&] { return system_.FindFirst(pattern); });
  if (start.search) {
    start.search = std::make_unique<SessionSearch>(std::move(start.search), session_, pattern);
  }
  return start;
}

std::unique_ptr<platform::TextWriter> SessionFiles::CreateText(const std::string& path) {
  return std::make_unique<SessionWriter>(
      session_.Call(path, [&] { return system_.CreateText(path); }), session_, path);
}

std::unique_ptr<platform::TextWriter> SessionFiles::CreateScratchText(const std::string& path) {
  return std::make_unique<SessionWriter>(
      session_.Call(path, [&] { return system_.CreateScratchText(path); }), session_, path);
}

std::unique_ptr<platform::TextReader> SessionFiles::OpenText(const std::string& path) {
  return std::make_unique<SessionReader>(
      session_.Call(path, [&] { return system_.OpenText(path); }), session_, path);
}

std::string SessionFiles::ReadAll(const std::string& path) {
  return session_.Call(path, [&] { return system_.ReadAll(path); });
}

platform::FileWithAccess SessionFiles::ReadWithAccess(const std::string& path) {
  return session_.Call(path, [&] { return system_.ReadWithAccess(path); });
}

void SessionFiles::MakePrivate(const std::string& path) {
  session_.Call(path, [&] { system_.MakePrivate(path); });
}

bool SessionFiles::Delete(const std::string& path) {
  return session_.CleanUp(path, [&] { return system_.Delete(path); });
}

void SessionFiles::Replace(const std::string& from, const std::string& to) {
  session_.Call(to, [&] { system_.Replace(from, to); });
}

bool SessionFiles::MoveToNewName(const std::string& from, const std::string& to) {
  return session_.Call(to, [&] { return system_.MoveToNewName(from, to); });
}

std::string SessionFiles::CreateTempFile(const std::string& folder, const std::string& prefix) {
  return session_.Call(folder, [&] { return system_.CreateTempFile(folder, prefix); });
}

std::string SessionProfile::ReadString(const std::string& file, const std::string& section,
                                       const std::string& key, const std::string& fallback) {
  return session_.Call(file, [&] { return system_.ReadString(file, section, key, fallback); });
}

void SessionProfile::WriteString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& value) {
  session_.Call(file, [&] { system_.WriteString(file, section, key, value); });
}

std::vector<std::string> SessionProfile::ReadSection(const std::string& file,
                                                     const std::string& section) {
  return session_.Call(file, [&] { return system_.ReadSection(file, section); });
}

std::vector<std::string> SessionProfile::ReadSections(const std::string& file) {
  return session_.Call(file, [&] { return system_.ReadSections(file); });
}

void SessionProfile::DeleteKey(const std::string& file, const std::string& section,
                               const std::string& key) {
  session_.Call(file, [&] { system_.DeleteKey(file, section, key); });
}

void SessionProfile::EraseSection(const std::string& file, const std::string& section) {
  session_.Call(file, [&] { system_.EraseSection(file, section); });
}

void SessionProfile::Flush(const std::string& file) {
  session_.Call(file, [&] { system_.Flush(file); });
}

}  // namespace vorlix
