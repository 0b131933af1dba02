#include "fakes/fake_file_system.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/text.h"
#include "platform/errors.h"
#include "platform/text_lines.h"

namespace vorlix::fakes {

using platform::DirEntry;
using platform::FileTime;

namespace {

bool Wild(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// A name against a pattern of "*" and "?", without case; "*.*" matches every name, as the
// system's search does.
bool Matches(const std::string& pattern, const std::string& name) {
  return pattern == "*.*" || MatchesWildcard(pattern, name);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class VectorSearch final : public platform::DirectorySearch {
 public:
  explicit VectorSearch(std::vector<DirEntry> entries) : entries_(std::move(entries)) {}
  std::optional<DirEntry> Next() override {
    if (next_ >= entries_.size()) return std::nullopt;
    return entries_[next_++];
  }

 private:
  std::vector<DirEntry> entries_;
  std::size_t next_ = 0;
};

DirEntry EntryOf(const FakeFileSystem::Node& node, const std::string& name) {
  DirEntry entry;
  entry.name = name;
  entry.attributes = node.attributes;
  entry.creation = node.creation;
  entry.lastWrite = node.lastWrite;
  entry.size = node.folder ? 0 : (node.size ? node.size : node.content.size());
  return entry;
}

}  // namespace

class FakeWriter final : public platform::TextWriter {
 public:
  FakeWriter(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  void Write(std::string_view bytes) override {
    if (fs_.writeBudget >= 0) {
      if (static_cast<long>(bytes.size()) > fs_.writeBudget) {
        Node()->content.append(bytes.substr(0, static_cast<std::size_t>(fs_.writeBudget)));
        fs_.writeBudget = 0;
        throw InOutError(path_, fs_.writeError);
      }
      fs_.writeBudget -= static_cast<long>(bytes.size());
    }
    Node()->content.append(bytes);
  }
  void Close() override {}

 private:
  FakeFileSystem::Node* Node() {
    auto* node = fs_.Find(path_);
    if (!node) throw InOutError(path_, 6);
    return node;
  }
  FakeFileSystem& fs_;
  std::string path_;
};

// Deletes its file when it is closed or dropped, as the system does with a scratch file.
class ScratchWriter final : public platform::TextWriter {
 public:
  ScratchWriter(FakeFileSystem& fs, std::string path)
      : fs_(fs), path_(std::move(path)), file_(fs, path_) {}
  ~ScratchWriter() override { fs_.Delete(path_); }
  ScratchWriter(const ScratchWriter&) = delete;
  ScratchWriter& operator=(const ScratchWriter&) = delete;
  void Write(std::string_view bytes) override { file_.Write(bytes); }
  void Close() override {
    file_.Close();
    fs_.Delete(path_);
  }

 private:
  FakeFileSystem& fs_;
  std::string path_;
  FakeWriter file_;
};

namespace {

constexpr std::uint32_t kFullControl = 0x1F01FF;
constexpr std::uint32_t kReadAndExecute = 0x1200A9;
constexpr std::uint32_t kRead = 0x120089;
const platform::Account kAdministrators{"S-1-5-32-544", "BUILTIN\\Administrators"};
const platform::Account kSystem{"S-1-5-18", "NT AUTHORITY\\SYSTEM"};
const platform::Account kEveryone{"S-1-1-0", "Everyone"};

using Allowed = platform::AccessEntry;

}  // namespace

FakeFileSystem::FakeFileSystem()
    : inherited{user,
                {Allowed{kSystem, Allowed::Kind::Allows, kFullControl},
                 Allowed{user, Allowed::Kind::Allows, kFullControl},
                 Allowed{kEveryone, Allowed::Kind::Allows, kReadAndExecute}},
                user} {
  AddFolder("C:\\");
  AddFolder(currentFolder);
  AddFolder(tempFolder);
  AddFolder(Parent(executable));
  AddFile(executable, "MZ");
}

std::string FakeFileSystem::Key(const std::string& path) {
  std::string key = path;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  return key;
}

std::string FakeFileSystem::Parent(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
  const auto slash = trimmed.find_last_of('\\');
  if (slash == std::string::npos) return "";
  if (slash == 2 && trimmed.size() > 1 && trimmed[1] == ':') return trimmed.substr(0, 3);
  return trimmed.substr(0, slash);
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
  const std::string parent = Parent(path);
  if (!parent.empty() && Key(parent) != Key(path) && !Find(parent)) AddFolder(parent);
  const std::string key = Key(path);
  if (nodes_.count(key) == 0) order_.push_back(key);
  Node& node = nodes_[key];
  node.name = NameOf(key.size() <= 3 ? path : path.substr(0, path.find_last_not_of('\\') + 1));
  node.folder = true;
  node.attributes = attributes | platform::kAttrDirectory;
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content,
                             std::uint32_t attributes) {
  const std::string parent = Parent(path);
  if (!parent.empty() && !Find(parent)) AddFolder(parent);
  const std::string key = Key(path);
  if (nodes_.count(key) == 0) order_.push_back(key);
  Node& node = nodes_[key];
  node.name = NameOf(path);
  node.folder = false;
  node.content = content;
  node.attributes = attributes;
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
  const auto found = nodes_.find(Key(FullPath(path)));
  return found == nodes_.end() ? nullptr : &found->second;
}

std::vector<std::string> FakeFileSystem::FilesUnder(const std::string& folder) const {
  std::vector<std::string> names;
  const std::string parent = Key(folder);
  for (const auto& key : order_) {
    const auto& node = nodes_.at(key);
    if (!node.folder && Key(Parent(key)) == parent) names.push_back(node.name);
  }
  return names;
}

std::vector<std::string> FakeFileSystem::AllFiles() const {
  std::vector<std::string> paths;
  for (const auto& key : order_) {
    if (!nodes_.at(key).folder) paths.push_back(key);
  }
  return paths;
}

bool FakeFileSystem::Unanswered(const std::string& path) const {
  const std::string key = Key(path);
  for (const std::string& share : unanswered) {
    if (key.starts_with(share) && (key.size() == share.size() || key[share.size()] == '\\')) {
      return true;
    }
  }
  return false;
}

platform::PathAttributes FakeFileSystem::Attributes(const std::string& path) {
  if (Unanswered(path)) return {0, 53};  // ERROR_BAD_NETPATH
  const Node* node = Find(path);
  // A name ending in a backslash is looked for as a folder, as the system does.
  if (!node || (!node->folder && !path.empty() && path.back() == '\\')) return {0, 2};
  return {node->folder ? node->attributes | platform::kAttrDirectory : node->attributes, 0};
}

platform::SearchStart FakeFileSystem::FindFirst(const std::string& pattern) {
  if (Unanswered(pattern)) return {nullptr, 53};
  const std::string full = FullPath(pattern);
  const std::string name = NameOf(full);
  if (Wild(name)) {
    const std::string folder = full.substr(0, full.size() - name.size());
    const Node* dir = Find(folder);
    if (!dir || !dir->folder) return {nullptr, 3};  // ERROR_PATH_NOT_FOUND
    if (failSearchIn.count(Key(folder))) return {nullptr, 5};
    std::vector<DirEntry> entries;
    const std::string parent = Key(folder);
    if (parent.size() > 3 && Matches(name, ".")) {
      entries.push_back(EntryOf(*dir, "."));
      entries.push_back(EntryOf(*dir, ".."));
    }
    for (const auto& key : order_) {
      if (key != parent && Key(Parent(key)) == parent && Matches(name, nodes_.at(key).name)) {
        entries.push_back(EntryOf(nodes_.at(key), nodes_.at(key).name));
      }
    }
    if (entries.empty()) return {nullptr, 2};
    return {std::make_unique<VectorSearch>(std::move(entries)), 0};
  }
  if (!full.empty() && full.back() == '\\') return {nullptr, 2};  // ERROR_FILE_NOT_FOUND
  const Node* node = Find(full);
  if (!node) return {nullptr, Find(Parent(full)) ? 2u : 3u};
  if (Key(full).size() <= 3) return {nullptr, 2};  // a root has no entry of its own
  return {std::make_unique<VectorSearch>(std::vector<DirEntry>{EntryOf(*node, node->name)}), 0};
}

std::optional<platform::DosDateTime> FakeFileSystem::FileTimeToDos(FileTime time) {
  if (failDosConversion) return std::nullopt;
  const std::uint64_t ticks = (static_cast<std::uint64_t>(time.high) << 32) | time.low;
  std::int64_t seconds = static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
  std::int64_t days = seconds / 86400;
  const std::int64_t rest = seconds % 86400;
  // Civil date from days since 1970-01-01.
  days += 719468;
  const std::int64_t era = days / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t year = yoe + era * 400;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
  if (month <= 2) ++year;
  if (year < 1980 || year > 2107) return std::nullopt;
  platform::DosDateTime dos;
  dos.date = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  dos.time = static_cast<std::uint16_t>(((rest / 3600) << 11) | (((rest / 60) % 60) << 5) |
                                        ((rest % 60) / 2));
  return dos;
}

FileTime FakeFileSystem::FileTimeToLocal(FileTime time) {
  const std::uint64_t ticks = (static_cast<std::uint64_t>(time.high) << 32) | time.low;
  const std::uint64_t local = ticks + static_cast<std::uint64_t>(localBiasSeconds * 10000000LL);
  return {static_cast<std::uint32_t>(local), static_cast<std::uint32_t>(local >> 32)};
}

std::unique_ptr<platform::TextWriter> FakeFileSystem::CreateText(const std::string& path) {
  const std::string parent = Parent(FullPath(path));
  if (failCreateIn.count(Key(parent)) || !FolderExists(parent)) {
    throw InOutError(path, FolderExists(parent) ? createError : 3);
  }
  Node* existing = Find(path);
  if (existing && existing->folder) throw InOutError(path, 5);
  AddFile(FullPath(path), "");
  return std::make_unique<FakeWriter>(*this, FullPath(path));
}

std::unique_ptr<platform::TextWriter> FakeFileSystem::CreateScratchText(const std::string& path) {
  CreateText(path);
  return std::make_unique<ScratchWriter>(*this, FullPath(path));
}

std::unique_ptr<platform::TextReader> FakeFileSystem::OpenText(const std::string& path) {
  return std::make_unique<platform::TextLines>(ReadAll(path));
}

std::string FakeFileSystem::ReadAll(const std::string& path) {
  if (failRead.count(Key(FullPath(path)))) throw InOutError(path, 5);
  const Node* node = Find(path);
  if (!node || node->folder) throw InOutError(path, 2);
  const auto replaced = readsAs.find(Key(FullPath(path)));
  return replaced != readsAs.end() ? replaced->second : node->content;
}

platform::FileAccessList FakeFileSystem::Private() const {
  return {user,
          {Allowed{user, Allowed::Kind::Allows, kFullControl},
           Allowed{kAdministrators, Allowed::Kind::Allows, kFullControl},
           Allowed{kSystem, Allowed::Kind::Allows, kFullControl},
           Allowed{kEveryone, Allowed::Kind::Allows, kRead}},
          user};
}

platform::FileAccessList& FakeFileSystem::AccessOf(const std::string& path) {
  Node* node = Find(path);
  if (!node) throw InOutError(path, 2);
  if (!node->access) node->access = inherited;
  node->access->reader = user;
  return *node->access;
}

platform::FileWithAccess FakeFileSystem::ReadWithAccess(const std::string& path) {
  std::string content = ReadAll(path);
  return {AccessOf(path), std::move(content)};
}

void FakeFileSystem::MakePrivate(const std::string& path) { AccessOf(path) = Private(); }

std::optional<std::string> FakeFileSystem::AccountSid(const std::string& name) {
  std::string key = name;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto found = accountSids.find(key);
  if (found == accountSids.end()) return std::nullopt;
  return found->second;
}

bool FakeFileSystem::Delete(const std::string& path) {
  const std::string key = Key(FullPath(path));
  if (failDelete.count(key)) return false;
  const auto found = nodes_.find(key);
  if (found == nodes_.end() || found->second.folder) return false;
  nodes_.erase(found);
  order_.erase(std::remove(order_.begin(), order_.end(), key), order_.end());
  return true;
}

void FakeFileSystem::Replace(const std::string& from, const std::string& to) {
  if (failReplace.count(Key(FullPath(to)))) throw InOutError(to, 5);
  const Node* source = Find(from);
  if (!source || source->folder) throw InOutError(from, 2);
  const std::string content = source->content;
  const auto access = source->access;
  Delete(from);
  AddFile(FullPath(to), content);
  Find(to)->access = access;
}

bool FakeFileSystem::MoveToNewName(const std::string& from, const std::string& to) {
  if (Find(to)) return false;
  Replace(from, to);
  return true;
}

std::string FakeFileSystem::TempFolder() { return tempFolder; }

std::string FakeFileSystem::CreateTempFile(const std::string& folder, const std::string& prefix) {
  if (!FolderExists(folder)) throw InOutError(folder, 267);  // ERROR_DIRECTORY
  std::string path;
  do {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", ++tempCounter_);
    path = folder + (folder.back() == '\\' ? "" : "\\") + prefix + buffer + ".tmp";
  } while (Find(path));
  AddFile(path, "");
  if (onCreateTemp) onCreateTemp();
  return path;
}

std::string FakeFileSystem::FullPath(const std::string& path) {
  if (path.size() >= 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'))) return path;
  if (!path.empty() && path[0] == '\\') return currentFolder.substr(0, 2) + path;
  return currentFolder + "\\" + path;
}

std::string FakeFileSystem::ExecutablePath() {
  if (executableError != 0) throw InOutError("the program's own path", executableError);
  return executable;
}

}  // namespace vorlix::fakes
