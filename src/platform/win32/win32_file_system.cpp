#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <vector>

#include "platform/errors.h"
#include "platform/text_lines.h"
#include "platform/win32/handles.h"
#include "platform/win32/last_error.h"
#include "platform/win32/win32_file_security.h"

namespace vorlix::platform::win32 {

namespace {

DirEntry ToEntry(const WIN32_FIND_DATAA& data) {
  DirEntry entry;
  entry.name = data.cFileName;
  entry.attributes = data.dwFileAttributes;
  entry.creation = {data.ftCreationTime.dwLowDateTime, data.ftCreationTime.dwHighDateTime};
  entry.lastWrite = {data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime};
  entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return entry;
}

// Wine keeps the names of a closed search until the process starts its next one; a search of one
// local name lets a large folder's names go at once.
void ForgetClosedListing() {
  char self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  WIN32_FIND_DATAA data;
  const UniqueFind search(NullIfInvalid(::FindFirstFileA(self, &data)));
}

class Win32Search final : public DirectorySearch {
 public:
  Win32Search(UniqueFind find, const WIN32_FIND_DATAA& first)
      : find_(std::move(find)), pending_(ToEntry(first)) {}
  ~Win32Search() override { Close(); }
  Win32Search(const Win32Search&) = delete;
  Win32Search& operator=(const Win32Search&) = delete;

  std::optional<DirEntry> Next() override {
    if (pending_) return std::exchange(pending_, std::nullopt);
    if (!find_.valid()) return std::nullopt;
    WIN32_FIND_DATAA data;
    if (!::FindNextFileA(find_.get(), &data)) {
      endError_ = ::GetLastError();
      Close();
      return std::nullopt;
    }
    return ToEntry(data);
  }

  std::uint32_t EndError() const override { return endError_; }

 private:
  void Close() {
    if (!find_.valid()) return;
    find_.reset();
    ForgetClosedListing();
  }

  UniqueFind find_;
  std::optional<DirEntry> pending_;
  std::uint32_t endError_ = ERROR_NO_MORE_FILES;
};

// Buffered writer: the report writes many short lines, and one system call per line is slow.
class Win32TextWriter final : public TextWriter {
 public:
  Win32TextWriter(UniqueFile file, std::string path)
      : file_(std::move(file)), path_(std::move(path)) {
    buffer_.reserve(kBufferSize);
  }
  ~Win32TextWriter() override {
    try {
      Flush();
    } catch (const InOutError&) {
      // Destruction after a failure: the error was or will be reported by Close or Write.
    }
  }

  void Write(std::string_view bytes) override {
    if (buffer_.size() + bytes.size() > kBufferSize) Flush();
    if (bytes.size() >= kBufferSize) {
      WriteOut(bytes);
    } else {
      buffer_.append(bytes);
    }
  }

  // Our buffer goes out; the system's own cache is left to it. Only a file that replaces
  // another is forced to disk (Replace), since temporary and test files are deleted at once.
  void Close() override {
    Flush();
    file_.reset();
  }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  void Flush() {
    if (buffer_.empty()) return;
    std::string pending;
    pending.swap(buffer_);
    buffer_.reserve(kBufferSize);
    WriteOut(pending);
  }

  void WriteOut(std::string_view bytes) {
    if (!file_.valid()) throw InOutError(path_, ERROR_INVALID_HANDLE);
    while (!bytes.empty()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) {
        ThrowLastError<InOutError>(path_);
      }
      if (written == 0) throw InOutError(path_, ERROR_WRITE_FAULT);
      bytes.remove_prefix(written);
    }
  }

  UniqueFile file_;
  std::string path_;
  std::string buffer_;
};

}  // namespace

PathAttributes Win32FileSystem::Attributes(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {0, ::GetLastError()};
  return {attributes, 0};
}

SearchStart Win32FileSystem::FindFirst(const std::string& pattern) {
  WIN32_FIND_DATAA data;
  UniqueFind find(NullIfInvalid(::FindFirstFileA(pattern.c_str(), &data)));
  if (!find.valid()) return {nullptr, ::GetLastError()};
  return {std::make_unique<Win32Search>(std::move(find), data), 0};
}

std::optional<DosDateTime> Win32FileSystem::FileTimeToDos(FileTime time) {
  const FILETIME ft{time.low, time.high};
  WORD date = 0;
  WORD dosTime = 0;
  if (!::FileTimeToDosDateTime(&ft, &date, &dosTime)) return std::nullopt;
  return DosDateTime{date, dosTime};
}

FileTime Win32FileSystem::FileTimeToLocal(FileTime time) {
  const FILETIME ft{time.low, time.high};
  FILETIME local{};
  if (!::FileTimeToLocalFileTime(&ft, &local)) return time;
  return {local.dwLowDateTime, local.dwHighDateTime};
}

std::unique_ptr<TextWriter> Win32FileSystem::CreateText(const std::string& path) {
  UniqueFile file(NullIfInvalid(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file.valid()) ThrowLastError<InOutError>(path);
  return std::make_unique<Win32TextWriter>(std::move(file), path);
}

std::unique_ptr<TextWriter> Win32FileSystem::CreateScratchText(const std::string& path) {
  UniqueFile file(NullIfInvalid(
      ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr)));
  if (!file.valid()) ThrowLastError<InOutError>(path);
  return std::make_unique<Win32TextWriter>(std::move(file), path);
}

std::unique_ptr<TextReader> Win32FileSystem::OpenText(const std::string& path) {
  return std::make_unique<TextLines>(ReadAll(path));
}

namespace {

std::string ReadRest(HANDLE file, const std::string& path) {
  std::string content;
  char chunk[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, chunk, sizeof chunk, &read, nullptr)) {
      ThrowLastError<InOutError>(path);
    }
    if (read == 0) break;
    content.append(chunk, read);
  }
  return content;
}

}  // namespace

std::string Win32FileSystem::ReadAll(const std::string& path) {
  UniqueFile file(NullIfInvalid(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file.valid()) ThrowLastError<InOutError>(path);
  return ReadRest(file.get(), path);
}

FileWithAccess Win32FileSystem::ReadWithAccess(const std::string& path) {
  // Shared for reading only: while it is held nobody writes, renames or deletes it.
  UniqueFile file(NullIfInvalid(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file.valid()) ThrowLastError<InOutError>(path);
  FileWithAccess read;
  read.access = AccessOfOpenFile(file.get(), path);
  read.content = ReadRest(file.get(), path);
  return read;
}

void Win32FileSystem::MakePrivate(const std::string& path) { MakeFilePrivate(path); }

std::optional<std::string> Win32FileSystem::AccountSid(const std::string& name) {
  return SidOfAccount(name);
}

bool Win32FileSystem::Delete(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

namespace {

// The new content is on disk before it takes a name.
void FlushToDisk(const std::string& path) {
  UniqueFile file(NullIfInvalid(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file.valid() || !::FlushFileBuffers(file.get())) throw InOutError(path, ::GetLastError());
}

}  // namespace

void Win32FileSystem::Replace(const std::string& from, const std::string& to) {
  FlushToDisk(from);
  if (!::MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowLastError<InOutError>(to);
  }
}

bool Win32FileSystem::MoveToNewName(const std::string& from, const std::string& to) {
  FlushToDisk(from);
  // Without MOVEFILE_REPLACE_EXISTING the system claims the name or refuses: no other writer
  // can take it between a check and the move.
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return false;
  throw InOutError(to, error);
}

std::string Win32FileSystem::TempFolder() {
  char buffer[256];
  const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) {
    throw InOutError("temporary folder", length == 0 ? ::GetLastError() : ERROR_BUFFER_OVERFLOW);
  }
  return std::string(buffer, length);
}

std::string Win32FileSystem::CreateTempFile(const std::string& folder, const std::string& prefix) {
  char buffer[MAX_PATH];
  if (::GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, buffer) == 0) {
    ThrowLastError<InOutError>(folder);
  }
  return buffer;
}

std::string Win32FileSystem::FullPath(const std::string& path) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return path;
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

std::string Win32FileSystem::ExecutablePath() {
  // A path fills the buffer to its end when it was cut; the longest path the system has fits in
  // the last size tried.
  constexpr std::size_t kLongestPath = 32768;
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) ThrowLastError<InOutError>("the program's own path");
    if (length < buffer.size()) return std::string(buffer.data(), length);
    if (buffer.size() >= kLongestPath) {
      throw InOutError("the program's own path", ERROR_INSUFFICIENT_BUFFER);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace vorlix::platform::win32
