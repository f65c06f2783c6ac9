#include "UnpackJournal.h"

#include <set>

namespace zk7z {

namespace {

#ifdef _WIN32
constexpr wchar_t kJournalSuffix[] = L".zk7z~journal";
#else
constexpr char kJournalSuffix[] = ".zk7z~journal";
#endif
constexpr char kHeader[] = "zk7z journal 1\n";
// Far above the records of any payload; a larger file is no journal of ours.
constexpr size_t kMaxJournalBytes = 64u << 20;
constexpr char kFolder = 'D';
constexpr char kTemporary = 'T';
constexpr char kNewFile = 'N';
constexpr char kMovedAside = 'M';
constexpr char kCommitted = 'C';

// A name recorded by us: relative, no empty, "." or ".." part, no drive.
bool IsRelativeName(const std::string& name) {
  if (name.empty() || name.find(':') != std::string::npos || name.find('/') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('\\', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

// Only complete lines count: a line cut short by a crash or a full disk was never acted on.
bool ParseRecords(const std::string& text, std::vector<UnpackJournal::Record>* records) {
  if (text.compare(0, sizeof kHeader - 1, kHeader) != 0) return false;
  size_t pos = sizeof kHeader - 1;
  while (pos < text.size()) {
    const size_t end = text.find('\n', pos);
    if (end == std::string::npos) break;
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.size() == 1 && line[0] == kCommitted) {
      records->push_back({kCommitted, std::string(), std::string()});
      continue;
    }
    if (line.size() < 3 || line[1] != '\t') return false;
    UnpackJournal::Record record{line[0], line.substr(2), std::string()};
    if (record.kind == kMovedAside) {
      const size_t tab = record.name.find('\t');
      if (tab == std::string::npos) return false;
      record.aside = record.name.substr(tab + 1);
      record.name.resize(tab);
      if (!IsRelativeName(record.aside)) return false;
    } else if (record.kind != kFolder && record.kind != kTemporary && record.kind != kNewFile) {
      return false;
    }
    if (!IsRelativeName(record.name)) return false;
    records->push_back(std::move(record));
  }
  return true;
}

std::string Failure(const std::string& what, const NativePath& path) {
  return what + " " + PathText(path) + ": " + LastSystemError();
}

// Puts root back as it was before the records, last first. Keeps going past a failure so that
// as much as possible is restored; the first failure is reported.
bool Undo(const NativePath& root, const std::vector<UnpackJournal::Record>& records, std::string* error) {
  std::string first;
  auto note = [&first](const std::string& text) {
    if (first.empty()) first = text;
  };
  for (size_t i = records.size(); i-- > 0;) {
    const UnpackJournal::Record& r = records[i];
    if (r.settled) continue;
    const NativePath path = JoinRelative(root, r.name);
    switch (r.kind) {
      case kFolder:
        // What someone else put in the new folder meanwhile keeps it.
        RemoveEmptyFolder(path);
        break;
      case kTemporary:
      case kNewFile:
        // Our files are never folders: a folder there is one of the run's, named alike by the
        // archive, and goes with its own record.
        if (IsFolder(path)) break;
        if (!RemoveFileName(path)) note(Failure("cannot remove", path));
        break;
      case kMovedAside: {
        const NativePath aside = JoinRelative(root, r.aside);
        // Not moved yet: the original is still in its place.
        if (!NameTaken(aside)) break;
        if (!RemoveFileName(path) || !RenameNoReplace(aside, path)) note(Failure("cannot put back", path));
        break;
      }
      default:
        break;
    }
  }
  if (first.empty()) return true;
  *error = "the unpack could not be undone: " + first;
  return false;
}

// After the commit only the moved-aside copies (and temporaries a crash left) remain. A temporary
// name the archive also has as a member's name is that member's now.
bool Complete(const NativePath& root, const std::vector<UnpackJournal::Record>& records, std::string* error) {
  std::set<std::string> installed;
  for (const UnpackJournal::Record& r : records) {
    if (r.kind == kFolder || r.kind == kNewFile || r.kind == kMovedAside) installed.insert(r.name);
  }
  bool ok = true;
  for (const UnpackJournal::Record& r : records) {
    if (r.kind != kMovedAside && r.kind != kTemporary) continue;
    if (r.kind == kTemporary && (r.settled || installed.count(r.name) != 0)) continue;
    const NativePath path = JoinRelative(root, r.kind == kMovedAside ? r.aside : r.name);
    if (!RemoveFileName(path)) {
      if (ok) *error = Failure("cannot delete the replaced file", path);
      ok = false;
    }
  }
  return ok;
}

bool IsCommitted(const std::vector<UnpackJournal::Record>& records) {
  return !records.empty() && records.back().kind == kCommitted;
}

}  // namespace

NativePath UnpackJournal::PathFor(const NativePath& root) { return root + kJournalSuffix; }

UnpackJournal::HealResult UnpackJournal::Heal(const NativePath& folder, std::string* error) {
  const NativePath root = NormalFolderPath(folder);
  if (root.empty()) return HealResult::kNothingFound;
  const NativePath journal = PathFor(root);
  if (!NameTaken(journal)) return HealResult::kNothingFound;
  std::string text;
  std::vector<Record> records;
  if (!ReadSmallFile(journal, kMaxJournalBytes, &text) || !ParseRecords(text, &records)) {
    *error = "cannot read the unpack journal " + PathText(journal);
    return HealResult::kFailed;
  }
  const bool committed = IsCommitted(records);
  if (!(committed ? Complete(root, records, error) : Undo(root, records, error))) return HealResult::kFailed;
  if (!RemoveFileName(journal)) {
    *error = Failure("cannot delete the unpack journal", journal);
    return HealResult::kFailed;
  }
  return committed ? HealResult::kCompleted : HealResult::kUndone;
}

bool UnpackJournal::Begin(const NativePath& root, std::string* error) {
  root_ = root;
  records_.clear();
  const NativePath journal = PathFor(root);
  if (!file_.CreateNew(journal) || !file_.Append(kHeader) || !file_.Flush()) {
    *error = Failure("cannot create the unpack journal", journal);
    file_.Close();
    RemoveFileName(journal);
    return false;
  }
  return true;
}

bool UnpackJournal::Add(const Record& record, bool flush, size_t* index) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (stopped_) return false;
  if (records_.size() >= recordLimit_) {
    stopped_ = true;
    file_.Close();
    return false;
  }
  std::string line(1, record.kind);
  if (!record.name.empty()) line += '\t' + record.name;
  if (!record.aside.empty()) line += '\t' + record.aside;
  line += '\n';
  if (!file_.Append(line) || (flush && !file_.Flush())) return false;
  if (index) *index = records_.size();
  records_.push_back(record);
  return true;
}

bool UnpackJournal::NewFolder(const std::string& folder) { return Add({kFolder, folder, std::string()}, false); }

// Temporaries and new names need no flush: what a lost record leaves behind is an extra file,
// never a lost one. A file moved aside must be on record before it moves.
bool UnpackJournal::NewTemporary(const std::string& file, size_t* record) {
  return Add({kTemporary, file, std::string()}, false, record);
}

void UnpackJournal::SettleTemporary(size_t record) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (record < records_.size()) records_[record].settled = true;
}

bool UnpackJournal::NewFile(const std::string& file) { return Add({kNewFile, file, std::string()}, false); }

bool UnpackJournal::MoveAside(const std::string& file, const std::string& aside) {
  return Add({kMovedAside, file, aside}, true);
}

bool UnpackJournal::Commit(std::string* error) {
  if (!Add({kCommitted, std::string(), std::string()}, true)) {
    *error = Failure("cannot write the unpack journal", PathFor(root_));
    return false;
  }
  file_.Close();
  // The run is done from here on; what cannot be deleted now is left to the next run's heal.
  std::string ignored;
  if (Complete(root_, records_, &ignored)) RemoveFileName(PathFor(root_));
  return true;
}

bool UnpackJournal::Rollback(std::string* error) {
  if (stopped_) return false;
  file_.Close();
  if (!Undo(root_, records_, error)) return false;
  records_.clear();
  if (!RemoveFileName(PathFor(root_))) {
    *error = Failure("cannot delete the unpack journal", PathFor(root_));
    return false;
  }
  return true;
}

std::vector<std::string> UnpackJournal::InstalledNames() const {
  std::vector<std::string> names;
  for (const Record& r : records_) {
    if (r.kind == kFolder) names.push_back(r.name + '\\');
    if (r.kind == kNewFile || r.kind == kMovedAside) names.push_back(r.name);
  }
  return names;
}

}  // namespace zk7z
