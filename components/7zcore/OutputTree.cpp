// The journalled steps of OutputTree that are the same on every platform.
#include "OutputTree.h"

#include "SafeName.h"

namespace zk7z {

namespace {

constexpr char kTempSuffix[] = ".zk7z~part";
constexpr char kAsideSuffix[] = ".zk7z~old";
constexpr int kTemporaryNameAttempts = 16;

NativePath NativeSuffix(const std::string& suffix) { return NativePath(suffix.begin(), suffix.end()); }

std::string NumberedSuffix(const char* suffix, int attempt) {
  return attempt == 0 ? std::string(suffix) : suffix + std::to_string(attempt);
}

}  // namespace

std::string RelativeName(const PathComponents& components, size_t count) {
  std::string name;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) name += '\\';
    name += Utf16ToUtf8Lossy(components[i]);
  }
  return name;
}

bool OutputTree::JournalFailure() {
  if (journal_.stopped()) return Fail("stopped");
  return Fail("cannot write the unpack journal " + PathText(UnpackJournal::PathFor(root_)) + ": " +
              LastSystemError());
}

bool OutputTree::StartJournal() {
  std::string why;
  if (UnpackJournal::Heal(root_, &why) == UnpackJournal::HealResult::kFailed) return Fail(why);
  if (!journal_.Begin(root_, &why)) return Fail(why);
  return true;
}

bool OutputTree::RefuseReparsePoint(const NativePath& path) {
  return Fail("refusing to write through the link or junction " + PathText(path));
}

bool OutputTree::MakeDirectories(const PathComponents& components, size_t count, bool* made) {
  bool ignored = false;
  if (!made) made = &ignored;
  if (count == 0) {
    *made = rootMade_;
    return true;
  }
  const std::lock_guard<std::mutex> lock(folderMutex_);
  const auto known = folders_.find(RelativeName(components, count));
  if (known == folders_.end()) return MakeFolders(components, count, made);
  *made = known->second;
  return true;
}

bool OutputTree::MakeFolders(const PathComponents& components, size_t count, bool* made) {
  bool parentMade = rootMade_;
  for (size_t i = 1; i <= count; ++i) {
    const std::string name = RelativeName(components, i);
    const auto known = folders_.find(name);
    if (known != folders_.end()) {
      parentMade = known->second;
      continue;
    }
    const NativePath path = Join(components, i);
    if ((parentMade || !NameTaken(path)) && !journal_.NewFolder(name)) return JournalFailure();
    const FolderResult result = MakeFolder(path);
    if (result == FolderResult::kFailed) {
      return Fail("cannot create folder " + PathText(path) + ": " + LastSystemError());
    }
    if (result == FolderResult::kExisted) {
      // A junction or symbolic link inside the target would send the files elsewhere.
      const NameKind kind = KindOfName(path);
      if (kind == NameKind::kLink) return RefuseReparsePoint(path);
      if (kind != NameKind::kFolder) return Fail("cannot create folder " + PathText(path) + ": a file has the name");
    }
    parentMade = result == FolderResult::kMade;
    folders_.emplace(name, parentMade);
  }
  *made = parentMade;
  return true;
}

bool OutputTree::BeginFile(OutputFile& file, const PathComponents& components) {
  AbortFile(file);
  if (!MakeDirectories(components, components.size() - 1, &file.inNewFolder_)) return false;
  return OpenTemporaryFile(file, components);
}

// A name already taken (a file left by an interrupted run, or a link planted there) is left
// alone and the next one is tried; each name is on record before the file is made. In a folder
// this run made only the run's own names can be taken, and the create itself finds them.
bool OutputTree::OpenTemporaryFile(OutputFile& file, const PathComponents& components) {
  file.finalName_ = RelativeName(components, components.size());
  file.finalPath_ = Join(components, components.size());
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string suffix = NumberedSuffix(kTempSuffix, attempt);
    file.tempPath_ = file.finalPath_ + NativeSuffix(suffix);
    if (!file.inNewFolder_ && NameTaken(file.tempPath_)) continue;
    if (!journal_.NewTemporary(file.finalName_ + suffix, &file.tempRecord_)) return JournalFailure();
    if (CreateNewFile(file)) return true;
    const std::string why = LastSystemError();
    journal_.SettleTemporary(file.tempRecord_);
    if (!NameTaken(file.tempPath_)) return Fail("cannot create " + PathText(file.tempPath_) + ": " + why);
  }
  return Fail("cannot create " + PathText(file.tempPath_) + ": every temporary name is taken");
}

bool OutputTree::PutInPlace(OutputFile& file) {
  const NativePath& finalPath = file.finalPath_;
  const std::string& finalName = file.finalName_;
  if (file.inNewFolder_) {
    if (!journal_.NewFile(finalName)) return JournalFailure();
    if (RenameNoReplace(file.tempPath_, finalPath)) {
      journal_.SettleTemporary(file.tempRecord_);
      return true;
    }
    // Only a member of the same name, file or folder, can be in the way.
    const std::string why = LastSystemError();
    if (!NameTaken(finalPath)) return Fail("cannot replace " + PathText(finalPath) + ": " + why);
  }
  switch (KindOfName(finalPath)) {
    case NameKind::kLink:
      return RefuseReparsePoint(finalPath);
    case NameKind::kFolder:
      return Fail("cannot replace the folder " + PathText(finalPath) + " with a file");
    case NameKind::kFile: {
      int attempt = 0;
      NativePath aside;
      std::string suffix;
      do {
        suffix = NumberedSuffix(kAsideSuffix, attempt);
        aside = finalPath + NativeSuffix(suffix);
      } while (NameTaken(aside) && ++attempt < kTemporaryNameAttempts);
      if (!journal_.MoveAside(finalName, finalName + suffix)) return JournalFailure();
      if (!RenameNoReplace(finalPath, aside)) {
        return Fail("cannot replace " + PathText(finalPath) + ": " + LastSystemError());
      }
      break;
    }
    case NameKind::kMissing:
      if (!journal_.NewFile(finalName)) return JournalFailure();
      break;
  }
  if (!RenameNoReplace(file.tempPath_, finalPath)) {
    return Fail("cannot replace " + PathText(finalPath) + ": " + LastSystemError());
  }
  journal_.SettleTemporary(file.tempRecord_);
  return true;
}

bool OutputTree::Fail(const std::string& text) {
  const std::lock_guard<std::mutex> lock(errorMutex_);
  if (error_.empty()) error_ = text;
  return false;
}

bool OutputTree::Commit() {
  std::string why;
  if (journal_.Commit(&why)) return true;
  error_ = why;
  return false;
}

bool OutputTree::Rollback() {
  if (!journal_.active()) return true;
  std::string why;
  if (journal_.Rollback(&why)) return true;
  error_ = why;
  return false;
}

}  // namespace zk7z
