#include "common/files.h"

#include <cstdint>
#include <utility>

#include "common/family.h"
#include "common/short_string.h"
#include "platform/errors.h"

namespace vorlix {

std::string NewTempFileName(platform::FileSystem& files) {
  return Short(files.CreateTempFile(Short(files.TempFolder()), std::string(family::kTempPrefix)));
}

TempFile::TempFile(platform::FileSystem& files, std::string path)
    : files_(files), path_(std::move(path)) {}

TempFile::~TempFile() {
  if (!kept_) files_.Delete(path_);
}

namespace {

// The whole content in a new file of the folder, so that the final move stays on one volume and
// the file keeps the access list it was given before anything was written into it.
void WriteWhole(platform::FileSystem& files, const std::string& path, std::string_view content,
                Protection protection = Protection::Inherited) {
  if (protection == Protection::Private) files.MakePrivate(path);
  auto writer = files.CreateText(path);
  writer->Write(content);
  writer->Close();
}

std::string FolderOf(platform::FileSystem& files, const std::string& target) {
  const auto slash = target.find_last_of("\\/");
  return slash == std::string::npos ? files.FullPath(".") : target.substr(0, slash + 1);
}

constexpr std::uint32_t kFileExists = 80;  // the system's ERROR_FILE_EXISTS

}  // namespace

void SaveFileSafely(platform::FileSystem& files, const std::string& target,
                    std::string_view content, Protection protection) {
  TempFile fresh(files,
                 files.CreateTempFile(FolderOf(files, target), std::string(family::kTempPrefix)));
  WriteWhole(files, fresh.path(), content, protection);
  files.Replace(fresh.path(), target);
  fresh.Keep();
}

bool SaveNewFile(platform::FileSystem& files, const std::string& target, std::string_view content,
                 Protection protection) {
  TempFile fresh(files,
                 files.CreateTempFile(FolderOf(files, target), std::string(family::kTempPrefix)));
  WriteWhole(files, fresh.path(), content, protection);
  if (!files.MoveToNewName(fresh.path(), target)) return false;
  fresh.Keep();
  return true;
}

std::string SaveFileUnderFreeName(platform::FileSystem& files, std::string_view folder,
                                  const std::function<std::string(int copy)>& nameOf,
                                  std::string_view content) {
  std::string base = folder.empty() ? std::string(".") : std::string(folder);
  TempFile fresh(files, files.CreateTempFile(base, std::string(family::kTempPrefix)));
  if (base.back() != '\\' && base.back() != '/') base.push_back('\\');
  WriteWhole(files, fresh.path(), content);
  std::string candidate = base + nameOf(1);
  for (int copy = 2; !files.MoveToNewName(fresh.path(), candidate); ++copy) {
    if (copy > kMostCopies) throw InOutError(candidate, kFileExists);
    candidate = base + nameOf(copy);
  }
  fresh.Keep();
  return candidate;
}

}  // namespace vorlix
