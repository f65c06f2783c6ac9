// Archives that anyone could have replaced: unsafe names, truncation, corruption, refused methods
// and forged headers fail cleanly, write nothing outside the target and leave no partial files.

#include <zlib.h>

#include "ArchiveFixture.h"
#include "SevenZipExtractor.h"

namespace {

constexpr char kTempSuffix[] = ".zk7z~part";

class HostileArchiveTest : public ArchiveFixture {
 protected:
  struct Outcome {
    bool ok = false;
    std::string error;
    bool finalReport = false;
  };

  Outcome Extract(const std::string& archive, const std::string& out, uint64_t maxDictionary = 1u << 30) {
    Outcome o;
    zk7z::SevenZipExtractor extractor;
    zk7z::DecodeLimits limits;
    limits.maxDictionary = maxDictionary;
    extractor.SetLimits(limits);
    extractor.SetProgress([&o](uint64_t done, uint64_t total) { o.finalReport = o.finalReport || done == total; });
    o.ok = extractor.Extract(Path(archive).string(), Path(out).string());
    o.error = extractor.error();
    return o;
  }

  // Everything under root_ except the target folder and the archives themselves.
  std::map<std::string, std::string> Outside() {
    auto tree = Snapshot(root_);
    for (auto it = tree.begin(); it != tree.end();) {
      const std::string& n = it->first;
      if (n == "out" || n.rfind("out/", 0) == 0 || (n.size() > 3 && n.substr(n.size() - 3) == ".7z")) {
        it = tree.erase(it);
      } else {
        ++it;
      }
    }
    return tree;
  }

  void ExpectNoPartialFiles(const std::string& out) {
    for (auto& [name, bytes] : Snapshot(Path(out))) {
      EXPECT_EQ(name.find(kTempSuffix), std::string::npos) << name;
    }
  }

  void MakeTwoFileArchive(const std::string& switches) {
    WriteFile("src/f.txt", Text(20000, 1));
    WriteFile("src/g.bin", RandomBytes(30000, 2));
    Make7z("a.7z", "src", switches);
  }

  void Rename(const std::string& from, const std::string& to) {
    ASSERT_EQ(Run("7zz rn -bd " + Quote(Path("a.7z")) + " " + Quote(fs::path(from)) + " " + Quote(fs::path(to))), 0);
  }

  // A 7z file around a hand-written header, with correct signature-header CRCs.
  void WriteRawArchive(const std::string& name, const std::string& packed, const std::string& header) {
    std::string sig = std::string("7z\xBC\xAF\x27\x1C\x00\x04", 8);
    std::string tail;
    auto le = [](uint64_t v, int n) {
      std::string s;
      for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
      return s;
    };
    tail += le(packed.size(), 8);
    tail += le(header.size(), 8);
    tail += le(crc32(0, reinterpret_cast<const Bytef*>(header.data()), static_cast<uInt>(header.size())), 4);
    sig += le(crc32(0, reinterpret_cast<const Bytef*>(tail.data()), static_cast<uInt>(tail.size())), 4);
    WriteFile(name, sig + tail + packed + header);
  }
};

TEST_F(HostileArchiveTest, MemberNamesThatLeaveTheTargetAreRefusedBeforeWriting) {
  const char* unsafe[] = {"../evil.txt", "sub/../../evil.txt", "/tmp/zk7z-abs.txt", "\\evil.txt", "C:\\evil.txt",
                          "c:evil.txt", "f.txt:stream", "CON", "nul.txt", "sub/COM1.log", "LPT9", "a|b",
                          "what?", "star*", "trail.", "trail ", "a//b", "..\\up.txt"};
  for (const char* name : unsafe) {
    SCOPED_TRACE(name);
    fs::remove_all(Path("src"));
    fs::remove(Path("a.7z"));
    MakeTwoFileArchive("");
    Rename("f.txt", name);
    const auto before = Outside();
    const Outcome o = Extract("a.7z", "out");
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.error.find("unsafe name"), std::string::npos) << o.error;
    EXPECT_FALSE(o.finalReport);
    EXPECT_FALSE(fs::exists(Path("out"))) << "nothing may be written";
    EXPECT_EQ(Outside(), before);
  }
  EXPECT_FALSE(fs::exists("/tmp/zk7z-abs.txt"));
}

TEST_F(HostileArchiveTest, TruncatedArchivesFailAtEveryLength) {
  MakeTwoFileArchive("-mx5");
  const std::string whole = ReadFile(Path("a.7z"));
  std::vector<size_t> cuts;
  for (size_t i = 0; i < 64 && i < whole.size(); ++i) cuts.push_back(i);
  for (size_t i = 1; i < 40; ++i) cuts.push_back(whole.size() * i / 40);
  for (size_t i = 1; i <= 64; ++i) cuts.push_back(whole.size() - i);
  const auto before = Outside();
  for (size_t cut : cuts) {
    SCOPED_TRACE(cut);
    WriteFile("t.7z", whole.substr(0, cut));
    const Outcome o = Extract("t.7z", "out");
    EXPECT_FALSE(o.ok);
    EXPECT_FALSE(o.error.empty());
    EXPECT_FALSE(o.finalReport);
    ExpectNoPartialFiles("out");
  }
  EXPECT_EQ(Outside(), before);
}

TEST_F(HostileArchiveTest, TruncatedDataWithAFixedHeaderFailsInDecoding) {
  // The header says more data follows than the file holds: decoding meets the end.
  WriteFile("src/big.bin", RandomBytes(400000, 3));
  Make7z("a.7z", "src", "-mx1 -mhc=off");
  std::string bytes = ReadFile(Path("a.7z"));
  // Keep the header where 7zz put it, but drop data from the middle so offsets run off.
  const size_t headerSize = bytes.size() - 32 - 400000 - 100;
  (void)headerSize;
  std::string damaged = bytes;
  for (size_t i = 1000; i < 1200; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
  WriteFile("d.7z", damaged);
  const Outcome o = Extract("d.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_FALSE(o.finalReport);
  EXPECT_FALSE(fs::exists(Path("out/big.bin")));
  ExpectNoPartialFiles("out");
}

TEST_F(HostileArchiveTest, FlippedBytesNeverYieldWrongFiles) {
  for (const char* switches : {"-mx5 -mhc=off", "-mx5", "-m0=Deflate", "-mx9 -mf=BCJ2"}) {
    SCOPED_TRACE(switches);
    fs::remove_all(Path("src"));
    fs::remove(Path("a.7z"));
    WriteFile("src/f.txt", Text(3000, 1));
    WriteFile("src/g.exe", ProgramBytes().substr(0, 4000));
    Make7z("a.7z", "src", switches);
    Extract7zz("a.7z", "ref");
    const std::string whole = ReadFile(Path("a.7z"));
    for (size_t at = 0; at < whole.size(); ++at) {
      if (at == 7) continue;  // the minor version, which readers ignore
      std::string damaged = whole;
      damaged[at] = static_cast<char>(damaged[at] ^ (1 << (at % 8)));
      WriteFile("d.7z", damaged);
      fs::remove_all(Path("out"));
      const Outcome o = Extract("d.7z", "out");
      if (o.ok) {
        // Only a change no reader can see (spare range-coder bits) may still succeed.
        ExpectSameTree("ref", "out");
      } else {
        EXPECT_FALSE(o.finalReport) << at;
        EXPECT_FALSE(o.error.empty()) << at;
      }
      ExpectNoPartialFiles("out");
    }
    fs::remove_all(Path("ref"));
  }
}

TEST_F(HostileArchiveTest, CorruptDataKeepsTheEarlierGoodFile) {
  WriteFile("src/app.dat", RandomBytes(200000, 4));
  Make7z("a.7z", "src", "-m0=Copy -mhc=off");
  std::string bytes = ReadFile(Path("a.7z"));
  bytes[32 + 100000] = static_cast<char>(bytes[32 + 100000] ^ 1);
  WriteFile("d.7z", bytes);
  WriteFile("out/app.dat", "the earlier installation");
  const Outcome o = Extract("d.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("CRC"), std::string::npos) << o.error;
  EXPECT_EQ(ReadFile(Path("out/app.dat")), "the earlier installation");
  ExpectNoPartialFiles("out");
}

TEST_F(HostileArchiveTest, UnsupportedMethodsAreNamedBeforeAnythingIsWritten) {
  const std::pair<const char*, const char*> cases[] = {
      {"-m0=BZip2", "BZip2"}, {"-m0=PPMd", "PPMD"}, {"-m0=Deflate64", "Deflate64"},
      {"-m0=SWAP4", "method id 020304"}, {"-pSecret -mhe=off", "7zAES"}, {"-pSecret -mhe=on", "7zAES"}};
  for (auto& [switches, name] : cases) {
    SCOPED_TRACE(switches);
    fs::remove_all(Path("src"));
    fs::remove(Path("a.7z"));
    MakeTwoFileArchive(switches);
    const Outcome o = Extract("a.7z", "out");
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.error.find(name), std::string::npos) << o.error;
    EXPECT_FALSE(fs::exists(Path("out")));
  }
}

TEST_F(HostileArchiveTest, BranchFilterStartOffsetsOffTheInstructionGridAreRefused) {
  WriteFile("src/code.bin", RandomBytes(4000, 3));
  Make7z("a.7z", "src", "-m0=ARM64:4096 -mhc=off");
  std::string bytes = ReadFile(Path("a.7z"));
  // The coder record: id 0A, 4 property bytes holding 4096; make it 4098.
  const size_t at = bytes.find(std::string("\x0A\x04\x00\x10\x00\x00", 6), 32);
  ASSERT_NE(at, std::string::npos);
  bytes[at + 2] = 0x02;
  const auto le32 = [&bytes](size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[pos + i] = static_cast<char>(v >> (8 * i));
  };
  const auto crc = [&bytes](size_t pos, size_t size) {
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + pos), static_cast<uInt>(size)));
  };
  const size_t header = 32 + static_cast<size_t>(static_cast<uint8_t>(bytes[12]) | static_cast<uint8_t>(bytes[13]) << 8 |
                                                 static_cast<uint8_t>(bytes[14]) << 16);
  le32(28, crc(header, bytes.size() - header));
  le32(8, crc(12, 20));
  WriteFile("odd.7z", bytes);
  const Outcome o = Extract("odd.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("ARM64"), std::string::npos) << o.error;
  EXPECT_NE(o.error.find("4098"), std::string::npos) << o.error;
  EXPECT_NE(o.error.find("multiple of 4"), std::string::npos) << o.error;
  ExpectNoPartialFiles("out");
}

TEST_F(HostileArchiveTest, ForgedCountsAndSizesFailWithoutHugeAllocations) {
  // kHeader, kMainStreamsInfo, kPackInfo(pos 0, 1 stream, size 16), kUnpackInfo with one LZMA
  // folder claiming a 4 GiB dictionary and 2^60 bytes, then a file list.
  const std::string packed(16, '\0');
  // kFilesInfo: one file named "a", then the end of the header.
  const std::string kOneFile = std::string("\x05\x01\x11\x05\x00\x61\x00\x00\x00\x00\x00", 11);
  const std::string lzmaFolder = std::string("\x07\x0B\x01\x00\x01\x23\x03\x01\x01\x05\x5D\xFF\xFF\xFF\xFF\x0C", 16);
  const std::string hugeSize = std::string("\xFF\x00\x00\x00\x00\x00\x00\x00\x10", 9);
  const std::string packInfo = std::string("\x06\x00\x01\x09\x10\x00", 6);
  std::string header = std::string("\x01\x04", 2) + packInfo + lzmaFolder + hugeSize + std::string("\x00\x00", 2) + kOneFile;
  WriteRawArchive("dict.7z", packed, header);
  Outcome o = Extract("dict.7z", "out", 64 << 20);
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("dictionary"), std::string::npos) << o.error;

  // 2^40 files with nothing to back them.
  header = std::string("\x01\x05\xFF\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00", 13);
  WriteRawArchive("files.7z", "", header);
  o = Extract("files.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("impossible"), std::string::npos) << o.error;

  // 2^50 folders.
  header = std::string("\x01\x04\x07\x0B\xFF\x00\x00\x00\x00\x00\x00\x04\x00\x00", 14);
  WriteRawArchive("folders.7z", "", header);
  o = Extract("folders.7z", "out");
  EXPECT_FALSE(o.ok);

  // A header size far beyond the file.
  WriteRawArchive("size.7z", "", std::string(8, '\x01'));
  std::string bytes = ReadFile(Path("size.7z"));
  bytes[20 + 5] = '\x7F';
  WriteFile("size.7z", bytes);
  o = Extract("size.7z", "out");
  EXPECT_FALSE(o.ok);

  // A coder graph that binds one output twice.
  // Three Copy coders whose two bindings both take coder 1's output.
  const std::string loop =
      std::string("\x07\x0B\x01\x00\x03\x01\x00\x01\x00\x01\x00\x00\x01\x02\x01\x0C\x05\x05\x05\x00", 20);
  header = std::string("\x01\x04", 2) + packInfo + loop + std::string("\x00\x00", 2) + kOneFile;
  WriteRawArchive("loop.7z", packed, header);
  o = Extract("loop.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("graph"), std::string::npos) << o.error;
  EXPECT_FALSE(o.finalReport);
}

TEST_F(HostileArchiveTest, CoderPropertiesLongerThanTheHeaderAreRefused) {
  // One LZMA2 coder whose property size (5) counts itself: only 4 bytes follow it.
  const std::string packInfo = std::string("\x06\x00\x01\x09\x10\x00", 6);
  const std::string folder = std::string("\x07\x0B\x01\x00\x01\x21\x21\x05", 8);
  const std::string header = std::string("\x01\x04", 2) + packInfo + folder + std::string("\x18\x0C\x10\x00", 4);
  WriteRawArchive("props.7z", std::string(16, '\0'), header);
  const Outcome o = Extract("props.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("truncated"), std::string::npos) << o.error;
  EXPECT_FALSE(fs::exists(Path("out")));
}

TEST_F(HostileArchiveTest, NotAnArchiveIsReportedAsSuch) {
  WriteFile("plain.7z", "just some text, not an archive at all....");
  Outcome o = Extract("plain.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("not a 7z archive"), std::string::npos);
  o = Extract("missing.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("cannot open"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("out")));
}

}  // namespace

namespace {

// Links inside the target, planted before an elevated setup runs, would send its files elsewhere:
// a linked folder or file is refused; a temporary name already taken, by a link or by a file left
// by an interrupted run, is left alone and another is used. What the links point at stays as it
// was.
TEST_F(HostileArchiveTest, LinksInsideTheTargetAreNeverWrittenThrough) {
  WriteFile("src/data/x.txt", Text(5000, 3));
  WriteFile("src/readme.txt", Text(3000, 4));
  Make7z("a.7z", "src", "");
  WriteFile("elsewhere/keep.txt", "victim");

  fs::create_directories(Path("out"));
  fs::create_directory_symlink(Path("elsewhere"), Path("out/data"));
  Outcome o = Extract("a.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("refusing to write through"), std::string::npos) << o.error;
  EXPECT_NE(o.error.find("data"), std::string::npos) << o.error;
  EXPECT_FALSE(fs::exists(Path("elsewhere/x.txt")));

  fs::remove(Path("out/data"));
  fs::create_symlink(Path("elsewhere/keep.txt"), Path("out/readme.txt"));
  o = Extract("a.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.error.find("readme.txt"), std::string::npos) << o.error;

  fs::remove(Path("out/readme.txt"));
  const std::string temp = std::string("out/readme.txt") + kTempSuffix;
  fs::create_symlink(Path("elsewhere/keep.txt"), Path(temp));
  WriteFile(temp + "1", "left by a crash");
  o = Extract("a.7z", "out");
  EXPECT_TRUE(o.ok) << o.error;
  EXPECT_FALSE(fs::is_symlink(Path("out/readme.txt")));
  EXPECT_EQ(ReadFile(Path("out/readme.txt")), Text(3000, 4));
  EXPECT_EQ(ReadFile(Path("elsewhere/keep.txt")), "victim");
  EXPECT_TRUE(fs::is_symlink(Path(temp)));
  EXPECT_EQ(ReadFile(Path(temp + "1")), "left by a crash");
  EXPECT_FALSE(fs::exists(Path(temp + "2")));

  fs::remove_all(Path("out"));
  fs::create_directory_symlink(Path("elsewhere"), Path("out"));
  o = Extract("a.7z", "out");
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(Snapshot(Path("elsewhere")).size(), 1u);
}

}  // namespace
