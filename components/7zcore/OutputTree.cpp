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
bool OutputTree::OpenTemporaryFile(const PathComponents& components) {
  finalName_ = RelativeName(components, components.size());
  finalPath_ = Join(components, components.size());
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string suffix = NumberedSuffix(kTempSuffix, attempt);
    tempPath_ = finalPath_ + NativeSuffix(suffix);
    if (NameTaken(tempPath_)) continue;
    if (!journal_.NewTemporary(finalName_ + suffix)) return JournalFailure();
    if (CreateNewFile(tempPath_)) return true;
    const std::string why = LastSystemError();
    journal_.ForgetTemporary();
    if (!NameTaken(tempPath_)) return Fail("cannot create " + PathText(tempPath_) + ": " + why);
  }
  return Fail("cannot create " + PathText(tempPath_) + ": every temporary name is taken");
}

bool OutputTree::PutInPlace() {
  if (IsFolder(finalPath_)) return Fail("cannot replace the folder " + PathText(finalPath_) + " with a file");
  if (NameTaken(finalPath_)) {
    int attempt = 0;
    NativePath aside;
    std::string suffix;
    do {
      suffix = NumberedSuffix(kAsideSuffix, attempt);
      aside = finalPath_ + NativeSuffix(suffix);
    } while (NameTaken(aside) && ++attempt < kTemporaryNameAttempts);
    if (!journal_.MoveAside(finalName_, finalName_ + suffix)) return JournalFailure();
    if (!RenameNoReplace(finalPath_, aside)) {
      return Fail("cannot replace " + PathText(finalPath_) + ": " + LastSystemError());
    }
  } else if (!journal_.NewFile(finalName_)) {
    return JournalFailure();
  }
  if (!RenameNoReplace(tempPath_, finalPath_)) {
    return Fail("cannot replace " + PathText(finalPath_) + ": " + LastSystemError());
  }
  return true;
}

bool OutputTree::Commit() {
  std::string why;
  return journal_.Commit(&why) || Fail(why);
}

bool OutputTree::Rollback() {
  AbortFile();
  if (!journal_.active()) return true;
  std::string why;
  return journal_.Rollback(&why) || Fail(why);
}

}  // namespace zk7z
