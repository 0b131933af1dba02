#include "common/files.h"

#include <utility>

#include "common/family.h"
#include "common/short_string.h"

namespace vorlix {

std::string NewTempFileName(platform::FileSystem& files) {
  return Short(files.CreateTempFile(Short(files.TempFolder()), std::string(family::kTempPrefix)));
}

TempFile::TempFile(platform::FileSystem& files, std::string path)
    : files_(files), path_(std::move(path)) {}

TempFile::~TempFile() {
  if (!kept_) files_.Delete(path_);
}

void SaveFileSafely(platform::FileSystem& files, const std::string& target,
                    std::string_view content) {
  const auto slash = target.find_last_of("\\/");
  const std::string folder =
      slash == std::string::npos ? files.FullPath(".") : target.substr(0, slash + 1);
  // The new file is made in the target's folder so that the final move stays on one volume.
  TempFile fresh(files, files.CreateTempFile(folder, std::string(family::kTempPrefix)));
  {
    auto writer = files.CreateText(fresh.path());
    writer->Write(content);
    writer->Close();
  }
  files.Replace(fresh.path(), target);
  fresh.Keep();
}

}  // namespace vorlix
