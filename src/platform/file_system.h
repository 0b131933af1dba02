#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlix::platform {

// Attribute bits as the file system reports them.
enum FileAttribute : std::uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrVolumeLabel = 0x08,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrReparsePoint = 0x400,  // a junction or symbolic link
};

// Access rights of a file's access list that let an account change the file: write or append
// to it, change its access list, or take ownership. Generic rights include them.
enum AccessRight : std::uint32_t {
  kRightWriteData = 0x2,
  kRightAppendData = 0x4,
  kRightWriteDac = 0x40000,
  kRightWriteOwner = 0x80000,
  kRightGenericAll = 0x10000000,
  kRightGenericWrite = 0x40000000,
};

// An account or group by its security identifier ("S-1-5-32-544") and the name the system gives
// it ("BUILTIN\Administrators"; the identifier again when the system knows no name).
struct Account {
  std::string sid;
  std::string name;
};

// One entry of a file's access list.
struct AccessEntry {
  enum class Kind { Allows, Denies, Other };
  Account trustee;
  Kind kind = Kind::Allows;
  std::uint32_t rights = 0;  // the access mask as stored
  bool inheritOnly = false;  // for what a folder's children inherit, not for the object itself
};

// Who owns a file and what its access list grants, as read by `reader`, the account the program
// runs as. A file without an access list lets everyone do everything: it has one entry for
// Everyone with every right.
struct FileAccessList {
  Account owner;
  std::vector<AccessEntry> entries;
  Account reader;
};

// A file's whole content and its access list, both from one open handle that no other program
// could write, rename or delete through while it was held: the list belongs to the content.
struct FileWithAccess {
  FileAccessList access;
  std::string content;
};

// The system's 64-bit file time in its two halves.
struct FileTime {
  std::uint32_t low = 0;
  std::uint32_t high = 0;
};

struct DosDateTime {
  std::uint16_t date = 0;
  std::uint16_t time = 0;
};

struct DirEntry {
  std::string name;  // no folder part
  std::uint32_t attributes = 0;
  FileTime creation;
  FileTime lastWrite;
  std::uint64_t size = 0;
};

// One open directory search; the search handle is closed on destruction.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // The next entry in the order the file system returns them; nullopt at the end.
  virtual std::optional<DirEntry> Next() = 0;
  // After Next() gave nullopt: the system's code that ended the search (18, no more files, at a
  // normal end).
  virtual std::uint32_t EndError() const { return kNoMoreFiles; }

  static constexpr std::uint32_t kNoMoreFiles = 18;
};

// A path's attributes, or the system's code when they could not be had.
struct PathAttributes {
  std::uint32_t attributes = 0;
  std::uint32_t error = 0;  // 0 when the path was found
};

struct SearchStart {
  std::unique_ptr<DirectorySearch> search;  // null when the search could not start
  std::uint32_t error = 0;                  // the system's code when it could not
};

// A text file open for writing. Bytes go out unchanged; every write is verified.
class TextWriter {
 public:
  virtual ~TextWriter() = default;
  virtual void Write(std::string_view bytes) = 0;  // throws InOutError
  virtual void Close() = 0;                        // writes out what is held; throws InOutError
};

// A text file open for reading, line by line.
class TextReader {
 public:
  virtual ~TextReader() = default;
  // The next line without its line end (CR LF or LF); nullopt at the end. Throws InOutError.
  virtual std::optional<std::string> ReadLine() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // What the system says of a path: its attributes, or why it could not tell.
  virtual PathAttributes Attributes(const std::string& path) = 0;
  bool FolderExists(const std::string& path) {
    const PathAttributes found = Attributes(path);
    return found.error == 0 && (found.attributes & kAttrDirectory) != 0;
  }
  bool FileExists(const std::string& path) {  // a folder is not a file
    const PathAttributes found = Attributes(path);
    return found.error == 0 && (found.attributes & kAttrDirectory) == 0;
  }

  // Starts a search for a pattern (a path, possibly with wildcards). Every kind of entry is
  // returned; filtering is the caller's.
  virtual SearchStart FindFirst(const std::string& pattern) = 0;

  // The system's conversion, without local time; nullopt when it fails.
  virtual std::optional<DosDateTime> FileTimeToDos(FileTime time) = 0;
  // A file time turned into local time, as the system does it.
  virtual FileTime FileTimeToLocal(FileTime time) = 0;

  // Creates (or truncates) a file for writing. Throws InOutError.
  virtual std::unique_ptr<TextWriter> CreateText(const std::string& path) = 0;
  // Creates (or truncates) a scratch file for writing that the system deletes once it is closed,
  // also when the program ends around a call that never returned. Throws InOutError.
  virtual std::unique_ptr<TextWriter> CreateScratchText(const std::string& path) = 0;
  // Opens an existing file for reading. Throws InOutError.
  virtual std::unique_ptr<TextReader> OpenText(const std::string& path) = 0;
  // The whole content of a file. Throws InOutError.
  virtual std::string ReadAll(const std::string& path) = 0;
  // The whole content of a file with its owner and access list. Throws InOutError.
  virtual FileWithAccess ReadWithAccess(const std::string& path) = 0;
  // Gives a file an access list of its own, inheriting nothing from its folder: full control for
  // the account the program runs as, the Administrators and SYSTEM, reading for everyone else.
  // Throws InOutError.
  virtual void MakePrivate(const std::string& path) = 0;
  // The security identifier of an account or group given by name ("DOMAIN\user"); nullopt when
  // the system knows none of that name.
  virtual std::optional<std::string> AccountSid(const std::string& name) = 0;
  // True when the system reports success.
  virtual bool Delete(const std::string& path) = 0;
  // Forces a file to disk and moves it over another, replacing it in one step. Throws
  // InOutError.
  virtual void Replace(const std::string& from, const std::string& to) = 0;
  // Forces a file to disk and gives it a name no file or folder has, in one step that never
  // replaces anything: false when the name is taken. Throws InOutError for other failures.
  virtual bool MoveToNewName(const std::string& from, const std::string& to) = 0;

  // The folder for temporary files, as the system gives it.
  virtual std::string TempFolder() = 0;
  // Lets the system create a new, empty file with a unique name in a folder. Throws InOutError.
  virtual std::string CreateTempFile(const std::string& folder, const std::string& prefix) = 0;

  // The path made absolute, relative to the current folder.
  virtual std::string FullPath(const std::string& path) = 0;
  // The full path of the running program, never cut. Throws InOutError when the system cannot
  // give it.
  virtual std::string ExecutablePath() = 0;
};

}  // namespace vorlix::platform
