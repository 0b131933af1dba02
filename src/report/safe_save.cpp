#include "report/safe_save.h"

namespace vorlix::report {

std::string AsCrLfLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    out.append(text.substr(start, stop - start));
    out.append("\r\n");
    start = end + 1;
  }
  return out;
}

void SaveFileSafely(platform::FileSystem& files, const std::string& target,
                    std::string_view content) {
  const auto slash = target.find_last_of("\\/");
  const std::string folder =
      slash == std::string::npos ? files.FullPath(".") : target.substr(0, slash + 1);
  // The new file is made in the target's folder so that the final move stays on one volume.
  const std::string fresh = files.CreateTempFile(folder, "Kx");
  try {
    auto writer = files.CreateText(fresh);
    writer->Write(content);
    writer->Close();
    writer.reset();
    files.Replace(fresh, target);
  } catch (...) {
    files.Delete(fresh);
    throw;
  }
}

}  // namespace vorlix::report
