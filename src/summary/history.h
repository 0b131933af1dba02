#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "summary/summary.h"

namespace vorlix::summary {

// "folder\name"; a folder that ends in a separator, or none, takes the name as it is.
std::string JoinedPath(std::string_view folder, std::string_view name);

// The files found, kept compact: a year of a collecting share is some 730,000 names, each
// kept once in large blocks rather than as a string of its own.
class FoundFiles {
 public:
  // A folder the files after it lie in; its index.
  std::uint32_t AddFolder(std::string folder);
  void Add(std::uint32_t folder, std::string_view name, std::uint64_t size);
  // Orders the files from `first` on by name, without case.
  void SortFrom(std::size_t first);
  // Keeps the files for which `keep` is true, in their order.
  void Keep(const std::function<bool(std::size_t)>& keep);

  std::size_t size() const { return entries_.size(); }
  std::string_view Name(std::size_t file) const;
  std::uint32_t FolderOf(std::size_t file) const { return entries_[file].folder; }
  const std::string& Folder(std::uint32_t folder) const { return folders_[folder]; }
  std::size_t Folders() const { return folders_.size(); }
  std::string Path(std::size_t file) const {
    return JoinedPath(folders_[FolderOf(file)], Name(file));
  }
  std::uint64_t Size(std::size_t file) const { return entries_[file].size; }

 private:
  struct Entry {
    std::uint32_t folder;
    std::uint32_t block;
    std::uint32_t offset;
    std::uint32_t length;
    std::uint64_t size;
  };
  std::vector<std::string> folders_;
  std::vector<std::string> blocks_;  // the names, back to back
  std::vector<Entry> entries_;
};

// "cannot be read (system error 5)".
std::string SystemError(std::string_view what, std::uint32_t code);

// The rows, the trend and the skipped files of the files found. Each file is read at most
// once; by default only those that a row or a day of the trend needs.
void BuildRows(platform::FileSystem& files, const FoundFiles& found, const SummaryOptions& options,
               Summary& summary);

}  // namespace vorlix::summary
