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

// A name already taken (a file left by an interrupted run, or a link planted there) is left
// alone and the next one is tried; each name is on record before the file is made.
bool OutputTree::OpenTemporaryFile(OutputFile& file, const PathComponents& components) {
  file.finalName_ = RelativeName(components, components.size());
  file.finalPath_ = Join(components, components.size());
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string suffix = NumberedSuffix(kTempSuffix, attempt);
    file.tempPath_ = file.finalPath_ + NativeSuffix(suffix);
    if (NameTaken(file.tempPath_)) continue;
    if (!journal_.NewTemporary(file.finalName_ + suffix)) return JournalFailure();
    if (CreateNewFile(file)) return true;
    const std::string why = LastSystemError();
    journal_.ForgetTemporary(file.finalName_ + suffix);
    if (!NameTaken(file.tempPath_)) return Fail("cannot create " + PathText(file.tempPath_) + ": " + why);
  }
  return Fail("cannot create " + PathText(file.tempPath_) + ": every temporary name is taken");
}

bool OutputTree::PutInPlace(OutputFile& file) {
  const NativePath& finalPath = file.finalPath_;
  const std::string& finalName = file.finalName_;
  if (IsFolder(finalPath)) return Fail("cannot replace the folder " + PathText(finalPath) + " with a file");
  if (NameTaken(finalPath)) {
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
  } else if (!journal_.NewFile(finalName)) {
    return JournalFailure();
  }
  if (!RenameNoReplace(file.tempPath_, finalPath)) {
    return Fail("cannot replace " + PathText(finalPath) + ": " + LastSystemError());
  }
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
