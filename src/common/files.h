#pragma once

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

// Writes a whole file into a new file beside the target and then puts it in the target's place,
// so that a failure half-way never leaves an existing file truncated. Throws InOutError.
void SaveFileSafely(platform::FileSystem& files, const std::string& target,
                    std::string_view content);

}  // namespace vorlix
