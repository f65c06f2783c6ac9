// All or nothing: an extraction over an installed tree that fails, is cancelled or is killed at
// any step leaves the tree (contents, modes, times) as it was once healed, with nothing beside.

#include <atomic>

#include "ArchiveFixture.h"
#include "UnpackJournal.h"
#include "UnzipCore7z.h"

namespace {

class UnpackJournalTest : public ArchiveFixture {
 protected:
  // Version A, then version B: a changed file, a read-only one rewritten, new files in a new
  // folder, an unchanged one, and last a large file.
  void MakeVersions() {
    WriteFile("a/VIDer.exe", RandomBytes(90000, 1));
    WriteFile("a/readme.txt", Text(5000, 2));
    WriteFile("a/lib/codec.dll", RandomBytes(40000, 3));
    WriteFile("b/VIDer.exe", RandomBytes(95000, 4));
    WriteFile("b/readme.txt", Text(5000, 2));
    WriteFile("b/lib/codec.dll", RandomBytes(41000, 5));
    WriteFile("b/lib/new/filter.dll", RandomBytes(3000, 6));
    WriteFile("b/plugins/one.dll", RandomBytes(2000, 7));
    WriteFile("b/zz-large.bin", RandomBytes(3u << 20, 8));
    Make7z("a.7z", "a", "-mx0 -ms=off");
    Make7z("b.7z", "b", "-mx0 -ms=off");
  }

  // Installs A into inst/zkbin, with a read-only file and files of the user's of its own, one of
  // them under the name the unpack would first choose for a temporary.
  void InstallA() {
    fs::remove_all(Path("inst"));
    ASSERT_TRUE(Extract("a.7z", "inst/zkbin"));
    for (const char* name : {"inst/zkbin/user-notes.txt", "inst/zkbin/readme.txt.zk7z~part"}) {
      WriteFile(name, "mine");
      // Written anew for every run: a fixed time keeps it the same file for State().
      fs::last_write_time(Path(name), fs::file_time_type(std::chrono::hours(24 * 365 * 50)));
    }
    fs::permissions(Path("inst/zkbin/lib/codec.dll"), fs::perms::owner_write | fs::perms::group_write |
                    fs::perms::others_write, fs::perm_options::remove);
  }

  // Contents, mode and time of everything in inst, the journal's folder included.
  std::map<std::string, std::string> State() {
    std::map<std::string, std::string> state;
    for (auto& [name, bytes] : Snapshot(Path("inst"))) {
      struct stat st;
      EXPECT_EQ(lstat(Path("inst/" + name).c_str(), &st), 0);
      // A folder's time moves with every name made in it; files keep theirs.
      const long long time = S_ISDIR(st.st_mode) ? 0 : static_cast<long long>(st.st_mtim.tv_sec);
      state[name] = bytes + "|" + std::to_string(st.st_mode) + "|" + std::to_string(time);
    }
    return state;
  }

  std::string Target() const { return Path("inst/zkbin").string(); }

  // Extracts archive over A, killed after 0, 1, 2... journal records until a run ends by itself;
  // that run's result is returned. Each killed run, once healed, and a run that failed by itself
  // leave the tree as before; the run that ended leaves no journal. *killed counts the others.
  bool KillAtEveryStep(const std::string& archive, std::string* error, size_t* killed) {
    *killed = 0;
    for (size_t records = 0;; ++records) {
      SCOPED_TRACE("killed after " + std::to_string(records) + " journal records");
      InstallA();
      const auto before = State();
      zk7z::SevenZipExtractor extractor;
      extractor.SetWriters(Writers());
      extractor.SetDecoders(Decoders());
      extractor.StopAfterJournalRecordsForTest(records);
      const bool ok = extractor.Extract(Path(archive).string(), Target());
      *error = extractor.error();
      std::string why;
      const auto result = zk7z::UnpackJournal::Heal(Target(), &why);
      EXPECT_NE(result, zk7z::UnpackJournal::HealResult::kFailed) << why;
      if (!ok) {
        EXPECT_EQ(State(), before);
      }
      if (result != zk7z::UnpackJournal::HealResult::kUndone || HasFailure()) {
        EXPECT_EQ(result, zk7z::UnpackJournal::HealResult::kNothingFound);
        return ok;
      }
      ++*killed;
    }
  }
};

TEST_F(UnpackJournalTest, KilledAtEveryStepTheNextRunHealsTheTree) {
  MakeVersions();
  zk7z::SevenZipExtractor reference;
  reference.SetWriters(Writers());
  reference.SetDecoders(Decoders());
  ASSERT_TRUE(reference.Extract(Path("b.7z").string(), Path("ref/zkbin").string()));

  std::string error;
  size_t killed = 0;
  ASSERT_TRUE(KillAtEveryStep("b.7z", &error, &killed)) << error;
  // Folders, temporaries, new files and moved-aside files: every kind of step was interrupted.
  EXPECT_GT(killed, 12u);
  fs::remove(Path("inst/zkbin/user-notes.txt"));
  EXPECT_EQ(ReadFile(Path("inst/zkbin/readme.txt.zk7z~part")), "mine");
  fs::remove(Path("inst/zkbin/readme.txt.zk7z~part"));
  fs::permissions(Path("inst/zkbin/lib/codec.dll"), fs::perms::owner_write, fs::perm_options::add);
  ExpectSameTree("ref", "inst");
}

// In folders the run makes itself names are not looked up before use, yet members can still
// collide there: a member given twice replaces the first, and a file named like a member folder
// fails the run. Killed anywhere, both are healed, the user's files in the installed folder kept.
TEST_F(UnpackJournalTest, MembersCollidingInNewFoldersAreHealedAtEveryStep) {
  MakeVersions();
  WriteFile("b/plugins/two.dll", RandomBytes(2500, 20));
  WriteFile("b/plugins/sub/inner.txt", Text(700, 21));
  WriteFile("b/plugins/sub.txt", Text(800, 22));
  Make7z("dup.7z", "b", "-mx0 -ms=off");
  ASSERT_EQ(Run("cp " + Quote(Path("dup.7z")) + " " + Quote(Path("clash.7z"))), 0);
  ASSERT_EQ(Run("7zz rn -bd " + Quote(Path("dup.7z")) + " plugins/two.dll plugins/one.dll >/dev/null"), 0);
  ASSERT_EQ(Run("7zz rn -bd " + Quote(Path("clash.7z")) + " plugins/sub.txt plugins/sub >/dev/null"), 0);

  std::string error;
  size_t killed = 0;
  ASSERT_TRUE(KillAtEveryStep("dup.7z", &error, &killed)) << error;
  EXPECT_GT(killed, 12u);
  EXPECT_EQ(ReadFile(Path("inst/zkbin/plugins/one.dll")), RandomBytes(2500, 20));
  EXPECT_EQ(ReadFile(Path("inst/zkbin/readme.txt.zk7z~part")), "mine");
  for (auto& [name, bytes] : Snapshot(Path("inst"))) {
    if (name != "zkbin/readme.txt.zk7z~part") {
      EXPECT_EQ(name.find(".zk7z~"), std::string::npos) << name;
    }
  }

  EXPECT_FALSE(KillAtEveryStep("clash.7z", &error, &killed));
  EXPECT_NE(error.find("cannot replace the folder"), std::string::npos) << error;
  EXPECT_GT(killed, 12u);
}

TEST_F(UnpackJournalTest, DamagedLastFileOrCancelLeavesTheInstalledTree) {
  MakeVersions();
  // The large last file dominates the stored data: its middle is the archive's.
  const std::string archive = ReadFile(Path("b.7z"));
  std::string damaged = archive;
  for (size_t i = 0; i < 16; ++i) damaged[damaged.size() / 2 + i] ^= 0x5a;
  std::ofstream(Path("damaged.7z"), std::ios::binary) << damaged;
  InstallA();
  const auto before = State();

  std::string error;
  EXPECT_FALSE(Extract("damaged.7z", "inst/zkbin", &error));
  EXPECT_NE(error.find("zz-large.bin"), std::string::npos) << error;
  EXPECT_EQ(State(), before);

  // Cancel through the component's export, asked from inside the first report within the large file.
  struct Watch {
    int reports = 0;
    int reportsAtStop = 0;
    uint64_t doneAtStop = 0;
  } watch;
  auto progress = [](void* user, uint64_t done, uint64_t) {
    auto* w = static_cast<Watch*>(user);
    ++w->reports;
    if (done >= (1u << 20) && w->doneAtStop == 0) {
      w->doneAtStop = done;
      w->reportsAtStop = w->reports;
      Zk7zCancel(1);
    }
  };
  EXPECT_EQ(Zk7zExtract(Path("b.7z").c_str(), Target().c_str(), progress, &watch), 0);
  Zk7zCancel(0);
  EXPECT_STREQ(Zk7zLastError(), "the extraction was cancelled");
  EXPECT_GT(watch.doneAtStop, 0u);
  EXPECT_EQ(watch.reports, watch.reportsAtStop) << "the stop came later than the next progress step";
  EXPECT_EQ(State(), before);

  // And then the same archive whole: what it put in place is listed, the user's file is not.
  ASSERT_EQ(Zk7zExtract(Path("b.7z").c_str(), Target().c_str(), nullptr, nullptr), 1) << Zk7zLastError();
  EXPECT_STREQ(Zk7zInstalledNames(),
               "lib\\new\\\nplugins\\\nVIDer.exe\nlib\\codec.dll\nlib\\new\\filter.dll\nplugins\\one.dll\n"
               "readme.txt\nzz-large.bin\n");
  EXPECT_EQ(zk7z::UnpackJournal::Heal(Target(), &error), zk7z::UnpackJournal::HealResult::kNothingFound);
  for (auto& e : fs::directory_iterator(Path("inst"))) EXPECT_EQ(e.path().filename(), "zkbin");
  EXPECT_EQ(ReadFile(Path("inst/zkbin/user-notes.txt")), "mine");
}

// Stored in one block, the damaged file's bytes are in the archive as they are; the files before
// it are put in place by the writers (some replacing installed ones) while it is decoded.
TEST_F(UnpackJournalTest, DamagedFileInTheMiddleWithWritersBusyUndoesEverything) {
  MakeVersions();
  for (int i = 0; i < 300; ++i) WriteFile("b/many/f" + std::to_string(1000 + i) + ".txt", Text(2000 + i, 100 + i));
  const std::string marker = "damage here " + RandomBytes(64, 9);
  WriteFile("b/many/f1150.txt", Text(3000, 10) + marker + Text(3000, 11));
  Make7z("b-many.7z", "b", "-mx0 -ms=on");
  std::string damaged = ReadFile(Path("b-many.7z"));
  const size_t at = damaged.find(marker);
  ASSERT_NE(at, std::string::npos);
  damaged[at] ^= 0x5a;
  std::ofstream(Path("damaged.7z"), std::ios::binary) << damaged;
  InstallA();
  const auto before = State();

  std::string error;
  EXPECT_FALSE(Extract("damaged.7z", "inst/zkbin", &error));
  EXPECT_NE(error.find("CRC mismatch in \"many/f1150.txt\""), std::string::npos) << error;
  EXPECT_EQ(State(), before);
  EXPECT_EQ(zk7z::UnpackJournal::Heal(Target(), &error), zk7z::UnpackJournal::HealResult::kNothingFound);
}

}  // namespace
