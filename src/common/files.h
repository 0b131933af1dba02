#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vorlix {

// A fresh, empty file in the temporary folder, named by the system with the family's prefix.
std::string NewTempFileName(platform::FileSystem& files);

// Owns a file by name and deletes it when it goes out of scope (the result is ignored), unless
// Keep() was called: the one owner of every scratch file, so a file made on the way is never
// left behind when an error cuts the work short.
class TempFile {
 public:
  TempFile(platform::FileSystem& files, std::string path);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  // The file is someone else's now (moved into place, or deleted by the caller).
  void Keep() { kept_ = true; }

 private:
  platform::FileSystem& files_;
  std::string path_;
  bool kept_ = false;
};

// Who may change a saved file: whom its folder lets, or only the account that saved it, the
// Administrators and SYSTEM (others may read it), whatever its folder lets.
enum class Protection { Inherited, Private };

// Writes a whole file into a new file beside the target and then puts it in the target's place,
// so that a failure half-way never leaves an existing file truncated. Throws InOutError.
void SaveFileSafely(platform::FileSystem& files, const std::string& target,
                    std::string_view content, Protection protection = Protection::Inherited);

// As SaveFileSafely, but the whole file takes the target's name only when no file or folder has
// it: false, and nothing left behind, when the name is taken. Throws InOutError.
bool SaveNewFile(platform::FileSystem& files, const std::string& target, std::string_view content,
                 Protection protection = Protection::Inherited);

// Beyond this many taken names a folder is taken for broken rather than busy. A copy number
// keeps to five digits: six after a dash would read as a time of day.
inline constexpr int kMostCopies = 99999;

// Writes a whole file into `folder` as nameOf(1), or when that is taken as nameOf(2),
// nameOf(3), ...: each name is claimed in one step, so writers at the same moment never take one
// name twice nor replace a file. Returns the path written. Throws InOutError.
std::string SaveFileUnderFreeName(platform::FileSystem& files, std::string_view folder,
                                  const std::function<std::string(int copy)>& nameOf,
                                  std::string_view content);

}  // namespace vorlix
