#include "HeaderParser.h"

namespace zk7z {

namespace {

enum PropertyId : uint64_t {
  kEnd = 0x00,
  kHeader = 0x01,
  kArchiveProperties = 0x02,
  kAdditionalStreamsInfo = 0x03,
  kMainStreamsInfo = 0x04,
  kFilesInfo = 0x05,
  kPackInfo = 0x06,
  kUnpackInfo = 0x07,
  kSubStreamsInfo = 0x08,
  kSize = 0x09,
  kCrc = 0x0A,
  kFolder = 0x0B,
  kCodersUnpackSize = 0x0C,
  kNumUnpackStream = 0x0D,
  kEmptyStream = 0x0E,
  kEmptyFile = 0x0F,
  kAnti = 0x10,
  kName = 0x11,
  kMTime = 0x14,
  kWinAttributes = 0x15,
  kEncodedHeader = 0x17,
};

constexpr uint64_t kMaxCodersPerFolder = 64;
constexpr uint64_t kMaxStreamsPerCoder = 64;
constexpr uint64_t kMaxMethodIdSize = 8;
constexpr uint64_t kMaxFiles = 1u << 20;
constexpr size_t kMaxNameLength = 32767;

}  // namespace

bool HeaderParser::Fail(const char* text) {
  if (error_.empty()) error_ = text;
  return false;
}

bool HeaderParser::ReadByte(uint8_t* value) {
  if (pos_ >= end_) return Fail("archive header is truncated");
  *value = *pos_++;
  return true;
}

bool HeaderParser::ReadNumber(uint64_t* value) {
  uint8_t first = 0;
  if (!ReadByte(&first)) return false;
  uint8_t mask = 0x80;
  uint64_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if ((first & mask) == 0) {
      const uint64_t high = first & (mask - 1u);
      *value = result | (high << (8 * i));
      return true;
    }
    uint8_t b = 0;
    if (!ReadByte(&b)) return false;
    result |= static_cast<uint64_t>(b) << (8 * i);
    mask >>= 1;
  }
  *value = result;
  return true;
}

bool HeaderParser::ReadUInt32(uint32_t* value) {
  if (Remaining() < 4) return Fail("archive header is truncated");
  *value = static_cast<uint32_t>(pos_[0]) | static_cast<uint32_t>(pos_[1]) << 8 |
           static_cast<uint32_t>(pos_[2]) << 16 | static_cast<uint32_t>(pos_[3]) << 24;
  pos_ += 4;
  return true;
}

bool HeaderParser::ReadUInt64(uint64_t* value) {
  uint32_t low = 0, high = 0;
  if (!ReadUInt32(&low) || !ReadUInt32(&high)) return false;
  *value = static_cast<uint64_t>(high) << 32 | low;
  return true;
}

bool HeaderParser::ReadCount(uint64_t limit, uint64_t* value) {
  if (!ReadNumber(value)) return false;
  if (*value > limit) return Fail("archive header has an impossible count");
  return true;
}

bool HeaderParser::ReadIndex(uint64_t count, uint32_t* value) {
  uint64_t v = 0;
  if (!ReadNumber(&v)) return false;
  if (v >= count) return Fail("archive header has an index out of range");
  *value = static_cast<uint32_t>(v);
  return true;
}

bool HeaderParser::Skip(uint64_t size) {
  if (size > Remaining()) return Fail("archive header is truncated");
  pos_ += size;
  return true;
}

bool HeaderParser::SkipData() {
  uint64_t size = 0;
  return ReadNumber(&size) && Skip(size);
}

bool HeaderParser::ReadBits(uint64_t count, std::vector<uint8_t>* bits) {
  if ((count + 7) / 8 > Remaining()) return Fail("archive header is truncated");
  bits->assign(static_cast<size_t>(count), 0);
  uint8_t byte = 0;
  for (uint64_t i = 0; i < count; ++i) {
    if (i % 8 == 0) byte = *pos_++;
    (*bits)[static_cast<size_t>(i)] = (byte >> (7 - i % 8)) & 1;
  }
  return true;
}

bool HeaderParser::ReadOptionalBits(uint64_t count, std::vector<uint8_t>* bits) {
  uint8_t allDefined = 0;
  if (!ReadByte(&allDefined)) return false;
  if (allDefined == 0) return ReadBits(count, bits);
  if (count > Remaining() * 8 + 8) return Fail("archive header has an impossible count");
  bits->assign(static_cast<size_t>(count), 1);
  return true;
}

bool HeaderParser::ReadDigests(uint64_t count, std::vector<uint8_t>* defined, std::vector<uint32_t>* crcs) {
  if (!ReadOptionalBits(count, defined)) return false;
  uint64_t numDefined = 0;
  for (uint8_t d : *defined) numDefined += d;
  if (numDefined * 4 > Remaining()) return Fail("archive header is truncated");
  crcs->assign(static_cast<size_t>(count), 0);
  for (size_t i = 0; i < defined->size(); ++i) {
    if ((*defined)[i] && !ReadUInt32(&(*crcs)[i])) return false;
  }
  return true;
}

bool HeaderParser::ReadPackInfo(StreamsInfo* info) {
  uint64_t numPackStreams = 0;
  if (!ReadNumber(&info->packPos) || !ReadCount(Remaining(), &numPackStreams)) return false;
  bool haveSizes = false;
  for (;;) {
    uint64_t type = 0;
    if (!ReadNumber(&type)) return false;
    if (type == kEnd) break;
    if (type == kSize) {
      info->packSizes.resize(static_cast<size_t>(numPackStreams));
      for (uint64_t& size : info->packSizes) {
        if (!ReadNumber(&size)) return false;
      }
      haveSizes = true;
    } else if (type == kCrc) {
      std::vector<uint8_t> defined;
      std::vector<uint32_t> crcs;
      if (!ReadDigests(numPackStreams, &defined, &crcs)) return false;
    } else if (!SkipData()) {
      return false;
    }
  }
  if (!haveSizes && numPackStreams != 0) return Fail("archive header lacks pack sizes");
  return true;
}

bool HeaderParser::ReadFolder(Folder* folder) {
  uint64_t numCoders = 0;
  if (!ReadCount(kMaxCodersPerFolder, &numCoders)) return false;
  if (numCoders == 0) return Fail("archive folder has no coders");
  folder->coders.resize(static_cast<size_t>(numCoders));
  uint64_t totalIn = 0, totalOut = 0;
  for (CoderInfo& coder : folder->coders) {
    uint8_t flags = 0;
    if (!ReadByte(&flags)) return false;
    if (flags & 0x80) return Fail("archive uses alternative coder records, which are not supported");
    const uint64_t idSize = flags & 0x0F;
    if (idSize > kMaxMethodIdSize || idSize > Remaining()) return Fail("archive header has a bad method id");
    coder.methodId.assign(pos_, pos_ + idSize);
    pos_ += idSize;
    if (flags & 0x10) {
      uint64_t in = 0, out = 0;
      if (!ReadCount(kMaxStreamsPerCoder, &in) || !ReadCount(kMaxStreamsPerCoder, &out)) return false;
      if (in == 0 || out != 1) return Fail("archive folder has an unsupported coder shape");
      coder.numInStreams = static_cast<uint32_t>(in);
      coder.numOutStreams = static_cast<uint32_t>(out);
    }
    if (flags & 0x20) {
      uint64_t propsSize = 0;
      if (!ReadNumber(&propsSize)) return false;
      if (propsSize > Remaining()) return Fail("archive header is truncated");
      coder.props.assign(pos_, pos_ + propsSize);
      pos_ += propsSize;
    }
    totalIn += coder.numInStreams;
    totalOut += coder.numOutStreams;
  }
  const uint64_t numBindPairs = totalOut - 1;
  if (numBindPairs > totalIn) return Fail("archive folder has too many bindings");
  folder->bindPairs.resize(static_cast<size_t>(numBindPairs));
  for (BindPair& bp : folder->bindPairs) {
    if (!ReadIndex(totalIn, &bp.inIndex) || !ReadIndex(totalOut, &bp.outIndex)) return false;
  }
  const uint64_t numPacked = totalIn - numBindPairs;
  if (numPacked == 0) return Fail("archive folder has no packed stream");
  folder->packedStreams.resize(static_cast<size_t>(numPacked));
  if (numPacked == 1) {
    bool found = false;
    for (uint32_t i = 0; i < totalIn && !found; ++i) {
      bool bound = false;
      for (const BindPair& bp : folder->bindPairs) bound = bound || bp.inIndex == i;
      if (!bound) {
        folder->packedStreams[0] = i;
        found = true;
      }
    }
    if (!found) return Fail("archive folder has no packed stream");
  } else {
    for (uint32_t& index : folder->packedStreams) {
      if (!ReadIndex(totalIn, &index)) return false;
    }
  }
  uint32_t mains = 0;
  for (uint32_t i = 0; i < totalOut; ++i) {
    bool bound = false;
    for (const BindPair& bp : folder->bindPairs) bound = bound || bp.outIndex == i;
    if (!bound) {
      folder->mainOutStream = i;
      ++mains;
    }
  }
  if (mains != 1) return Fail("archive folder has a broken coder graph");
  return true;
}

bool HeaderParser::ReadUnpackInfo(StreamsInfo* info) {
  uint64_t type = 0, numFolders = 0;
  uint8_t external = 0;
  if (!ReadNumber(&type)) return false;
  if (type != kFolder) return Fail("archive header lacks its folder list");
  if (!ReadCount(Remaining() / 2, &numFolders) || !ReadByte(&external)) return false;
  if (external != 0) return Fail("archive header uses external data, which is not supported");
  info->folders.resize(static_cast<size_t>(numFolders));
  for (Folder& folder : info->folders) {
    if (!ReadFolder(&folder)) return false;
  }
  if (!ReadNumber(&type)) return false;
  if (type != kCodersUnpackSize) return Fail("archive header lacks unpack sizes");
  for (Folder& folder : info->folders) {
    uint64_t outs = 0;
    for (const CoderInfo& coder : folder.coders) outs += coder.numOutStreams;
    if (outs > Remaining()) return Fail("archive header is truncated");
    folder.unpackSizes.resize(static_cast<size_t>(outs));
    for (uint64_t& size : folder.unpackSizes) {
      if (!ReadNumber(&size)) return false;
    }
  }
  for (;;) {
    if (!ReadNumber(&type)) return false;
    if (type == kEnd) return true;
    if (type == kCrc) {
      std::vector<uint8_t> defined;
      std::vector<uint32_t> crcs;
      if (!ReadDigests(numFolders, &defined, &crcs)) return false;
      for (size_t i = 0; i < info->folders.size(); ++i) {
        info->folders[i].crcDefined = defined[i] != 0;
        info->folders[i].crc = crcs[i];
      }
    } else if (!SkipData()) {
      return false;
    }
  }
}

bool HeaderParser::ReadSubStreamsInfo(StreamsInfo* info) {
  uint64_t type = 0;
  if (!ReadNumber(&type)) return false;
  if (type == kNumUnpackStream) {
    uint64_t extra = 0;
    for (Folder& folder : info->folders) {
      if (!ReadCount(Remaining() + 1, &folder.numSubstreams)) return false;
      if (folder.numSubstreams > 1) extra += folder.numSubstreams - 1;
      if (extra > Remaining()) return Fail("archive header has an impossible count");
    }
    if (!ReadNumber(&type)) return false;
  }
  const bool haveSizes = type == kSize;
  for (const Folder& folder : info->folders) {
    if (folder.numSubstreams == 0) continue;
    uint64_t sum = 0;
    for (uint64_t i = 1; i < folder.numSubstreams; ++i) {
      if (!haveSizes) return Fail("archive header lacks substream sizes");
      uint64_t size = 0;
      if (!ReadNumber(&size)) return false;
      if (size > folder.UnpackSize() - sum) return Fail("archive substreams exceed their folder");
      sum += size;
      info->substreamSizes.push_back(size);
    }
    if (sum > folder.UnpackSize()) return Fail("archive substreams exceed their folder");
    info->substreamSizes.push_back(folder.UnpackSize() - sum);
  }
  if (haveSizes && !ReadNumber(&type)) return false;

  uint64_t unknown = 0;
  for (const Folder& folder : info->folders) {
    if (!(folder.numSubstreams == 1 && folder.crcDefined)) unknown += folder.numSubstreams;
  }
  info->substreamCrcDefined.assign(info->substreamSizes.size(), 0);
  info->substreamCrcs.assign(info->substreamSizes.size(), 0);
  std::vector<uint8_t> defined;
  std::vector<uint32_t> crcs;
  bool haveDigests = false;
  while (type != kEnd) {
    if (type == kCrc) {
      if (!ReadDigests(unknown, &defined, &crcs)) return false;
      haveDigests = true;
    } else if (!SkipData()) {
      return false;
    }
    if (!ReadNumber(&type)) return false;
  }
  size_t flat = 0, next = 0;
  for (const Folder& folder : info->folders) {
    if (folder.numSubstreams == 1 && folder.crcDefined) {
      info->substreamCrcDefined[flat] = 1;
      info->substreamCrcs[flat] = folder.crc;
      ++flat;
      continue;
    }
    for (uint64_t i = 0; i < folder.numSubstreams; ++i, ++flat, ++next) {
      if (haveDigests) {
        info->substreamCrcDefined[flat] = defined[next];
        info->substreamCrcs[flat] = crcs[next];
      }
    }
  }
  return true;
}

bool HeaderParser::ReadStreamsInfoBody(StreamsInfo* info) {
  uint64_t type = 0;
  if (!ReadNumber(&type)) return false;
  if (type == kPackInfo) {
    if (!ReadPackInfo(info) || !ReadNumber(&type)) return false;
  }
  if (type == kUnpackInfo) {
    if (!ReadUnpackInfo(info) || !ReadNumber(&type)) return false;
  }
  bool haveSubstreams = false;
  if (type == kSubStreamsInfo) {
    if (!ReadSubStreamsInfo(info) || !ReadNumber(&type)) return false;
    haveSubstreams = true;
  }
  if (type != kEnd) return Fail("archive header has an unexpected record");
  if (!haveSubstreams) {
    for (const Folder& folder : info->folders) {
      info->substreamSizes.push_back(folder.UnpackSize());
      info->substreamCrcDefined.push_back(folder.crcDefined ? 1 : 0);
      info->substreamCrcs.push_back(folder.crc);
    }
  }
  uint64_t first = 0;
  for (Folder& folder : info->folders) {
    folder.firstPackStream = first;
    first += folder.packedStreams.size();
    if (first > info->packSizes.size()) return Fail("archive folders need more pack streams than exist");
  }
  return true;
}

bool HeaderParser::ParseStreamsInfo(StreamsInfo* info) { return ReadStreamsInfoBody(info); }

bool HeaderParser::ReadKind(HeaderKind* kind) {
  uint64_t type = 0;
  if (!ReadNumber(&type)) return false;
  if (type == kHeader) {
    *kind = HeaderKind::kPlain;
  } else if (type == kEncodedHeader) {
    *kind = HeaderKind::kEncoded;
  } else {
    return Fail("archive header has an unknown type");
  }
  return true;
}

bool HeaderParser::ReadTimes(uint64_t numFiles, ArchiveDatabase* db, bool keep) {
  std::vector<uint8_t> defined;
  uint8_t external = 0;
  if (!ReadOptionalBits(numFiles, &defined) || !ReadByte(&external)) return false;
  if (external != 0) return Fail("archive header uses external data, which is not supported");
  for (size_t i = 0; i < defined.size(); ++i) {
    if (!defined[i]) continue;
    uint64_t value = 0;
    if (!ReadUInt64(&value)) return false;
    if (keep) {
      db->files[i].mtimeDefined = true;
      db->files[i].mtime = value;
    }
  }
  return true;
}

bool HeaderParser::ReadAttributes(uint64_t numFiles, ArchiveDatabase* db) {
  std::vector<uint8_t> defined;
  uint8_t external = 0;
  if (!ReadOptionalBits(numFiles, &defined) || !ReadByte(&external)) return false;
  if (external != 0) return Fail("archive header uses external data, which is not supported");
  for (size_t i = 0; i < defined.size(); ++i) {
    if (!defined[i]) continue;
    if (!ReadUInt32(&db->files[i].attrib)) return false;
    db->files[i].attribDefined = true;
  }
  return true;
}

bool HeaderParser::ReadNames(uint64_t numFiles, uint64_t size, ArchiveDatabase* db) {
  uint8_t external = 0;
  if (!ReadByte(&external)) return false;
  if (external != 0) return Fail("archive header uses external data, which is not supported");
  for (uint64_t i = 0; i < numFiles; ++i) {
    std::u16string& name = db->files[static_cast<size_t>(i)].name;
    for (;;) {
      if (Remaining() < 2) return Fail("archive file names are truncated");
      const char16_t c = static_cast<char16_t>(pos_[0] | pos_[1] << 8);
      pos_ += 2;
      if (c == 0) break;
      if (name.size() >= kMaxNameLength) return Fail("archive file name is too long");
      name.push_back(c);
    }
  }
  return true;
}

bool HeaderParser::ReadFilesInfo(ArchiveDatabase* db) {
  uint64_t numFiles = 0;
  if (!ReadNumber(&numFiles)) return false;
  const uint64_t streams = db->streams.substreamSizes.size();
  if (numFiles > kMaxFiles || numFiles > streams + Remaining() * 8) {
    return Fail("archive header has an impossible file count");
  }
  db->files.resize(static_cast<size_t>(numFiles));
  std::vector<uint8_t> emptyStream(static_cast<size_t>(numFiles), 0), emptyFile, anti;
  uint64_t numEmpty = 0;
  for (;;) {
    uint64_t type = 0, size = 0;
    if (!ReadNumber(&type)) return false;
    if (type == kEnd) break;
    if (!ReadNumber(&size)) return false;
    if (size > Remaining()) return Fail("archive header is truncated");
    const uint8_t* recordEnd = pos_ + size;
    const uint8_t* outerEnd = end_;
    end_ = recordEnd;
    bool ok = true;
    switch (type) {
      case kEmptyStream:
        ok = ReadBits(numFiles, &emptyStream);
        numEmpty = 0;
        for (uint8_t b : emptyStream) numEmpty += b;
        emptyFile.clear();
        anti.clear();
        break;
      case kEmptyFile:
        ok = ReadBits(numEmpty, &emptyFile);
        break;
      case kAnti:
        ok = ReadBits(numEmpty, &anti);
        break;
      case kName:
        ok = ReadNames(numFiles, size, db);
        break;
      case kMTime:
        ok = ReadTimes(numFiles, db, true);
        break;
      case kWinAttributes:
        ok = ReadAttributes(numFiles, db);
        break;
      default:
        break;  // times we do not apply, padding, start positions
    }
    end_ = outerEnd;
    if (!ok) return false;
    pos_ = recordEnd;
  }
  size_t emptyIndex = 0;
  for (size_t i = 0; i < db->files.size(); ++i) {
    FileEntry& file = db->files[i];
    file.hasStream = emptyStream[i] == 0;
    if (!file.hasStream) {
      const bool isEmptyFile = emptyIndex < emptyFile.size() && emptyFile[emptyIndex];
      file.isAnti = emptyIndex < anti.size() && anti[emptyIndex];
      file.isDir = !isEmptyFile;
      ++emptyIndex;
    }
  }
  return true;
}

bool HeaderParser::MapFilesToStreams(ArchiveDatabase* db) {
  const StreamsInfo& s = db->streams;
  size_t folder = 0, flat = 0;
  uint64_t inFolder = 0;
  for (FileEntry& file : db->files) {
    if (!file.hasStream) continue;
    while (folder < s.folders.size() && inFolder >= s.folders[folder].numSubstreams) {
      ++folder;
      inFolder = 0;
    }
    if (folder >= s.folders.size() || flat >= s.substreamSizes.size()) {
      return Fail("archive lists more files than it has streams");
    }
    file.folderIndex = static_cast<uint32_t>(folder);
    file.size = s.substreamSizes[flat];
    file.crcDefined = s.substreamCrcDefined[flat] != 0;
    file.crc = s.substreamCrcs[flat];
    ++flat;
    ++inFolder;
  }
  if (flat != s.substreamSizes.size()) return Fail("archive has streams that belong to no file");
  return true;
}

bool HeaderParser::ParseHeader(ArchiveDatabase* db) {
  uint64_t type = 0;
  if (!ReadNumber(&type)) return false;
  if (type == kArchiveProperties) {
    for (;;) {
      uint64_t prop = 0;
      if (!ReadNumber(&prop)) return false;
      if (prop == kEnd) break;
      if (!SkipData()) return false;
    }
    if (!ReadNumber(&type)) return false;
  }
  if (type == kAdditionalStreamsInfo) {
    StreamsInfo ignored;
    if (!ReadStreamsInfoBody(&ignored) || !ReadNumber(&type)) return false;
  }
  if (type == kMainStreamsInfo) {
    if (!ReadStreamsInfoBody(&db->streams) || !ReadNumber(&type)) return false;
  }
  if (type == kFilesInfo) {
    if (!ReadFilesInfo(db) || !ReadNumber(&type)) return false;
  }
  if (type != kEnd) return Fail("archive header has an unexpected record");
  return MapFilesToStreams(db);
}

}  // namespace zk7z
