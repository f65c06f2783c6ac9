#include "ZipArchive.h"

#include "Utf16Text.h"
#include "ZipArchiveInternal.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ctime>
#include <mutex>
#include <new>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {
namespace {

constexpr uint32_t kEndRecordSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndRecordBytes = 22;
constexpr size_t kCentralHeaderBytes = 46;
constexpr size_t kLocalHeaderBytes = 30;
constexpr size_t kMaxCommentBytes = 65535;
constexpr size_t kEncryptionHeaderBytes = 12;
constexpr size_t kMaxFindNameBytes = 256;
constexpr uint16_t kFlagEncrypted = 0x1;
constexpr uint16_t kFlagDataDescriptor = 0x8;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint16_t kExtraUnixTime = 0x5455;  // "UT"
constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;
constexpr uint64_t kFileTimeTicksPerSecond = 10000000ULL;

std::atomic<ZipResult> g_lastResult{kZipOk};
// Never destroyed: archives may still be closed by other objects' destructors at exit.
std::mutex& OpenLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}
std::set<const ZipArchive*>& OpenArchives() {
  static std::set<const ZipArchive*>* archives = new std::set<const ZipArchive*>;
  return *archives;
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

class MemorySource final : public IZipSource {
 public:
  MemorySource(const void* bytes, size_t length)
      : bytes_(static_cast<const uint8_t*>(bytes)), length_(length) {}
  uint64_t Size() const override { return length_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t length) override {
    if (offset > length_ || length > length_ - offset) return false;
    if (length != 0) std::memcpy(buffer, bytes_ + offset, length);
    return true;
  }

 private:
  const uint8_t* bytes_;
  size_t length_;
};

// Bounds-checked read: the span must lie inside the source.
ZipResult ReadSpan(ZipArchive* a, uint64_t offset, void* buffer, size_t length) {
  if (offset > a->sourceSize || length > a->sourceSize - offset) return kZipCorrupt;
  return a->source->ReadAt(offset, buffer, length) ? kZipOk : kZipReadFailed;
}

struct CentralRecord {
  ZipEntryHeader header;
  uint64_t next = 0;
};

// Reads the central header at pos; with wantName the stored name as well.
ZipResult ReadCentral(ZipArchive* a, uint64_t pos, bool wantName, CentralRecord* out) {
  if (pos < a->directoryStart || pos > a->directoryEnd ||
      kCentralHeaderBytes > a->directoryEnd - pos)
    return kZipCorrupt;
  uint8_t h[kCentralHeaderBytes];
  ZipResult r = ReadSpan(a, pos, h, sizeof h);
  if (r != kZipOk) return r;
  if (Le32(h) != kCentralSignature) return kZipCorrupt;
  const uint16_t nameLen = Le16(h + 28);
  const uint16_t extraLen = Le16(h + 30);
  const uint16_t commentLen = Le16(h + 32);
  const uint64_t total = kCentralHeaderBytes + uint64_t{nameLen} + extraLen + commentLen;
  if (total > a->directoryEnd - pos) return kZipCorrupt;
  ZipEntryHeader& e = out->header;
  e.versionMadeBy = Le16(h + 4);
  e.flags = Le16(h + 8);
  e.method = Le16(h + 10);
  e.dosTime = Le16(h + 12);
  e.dosDate = Le16(h + 14);
  e.crc = Le32(h + 16);
  e.compressedSize = Le32(h + 20);
  e.uncompressedSize = Le32(h + 24);
  e.externalAttributes = Le32(h + 38);
  e.localHeader = a->prefix + Le32(h + 42);
  e.name.clear();
  if (wantName && nameLen != 0) {
    e.name.resize(nameLen);
    r = ReadSpan(a, pos + kCentralHeaderBytes, &e.name[0], nameLen);
    if (r != kZipOk) return r;
  }
  out->next = pos + total;
  return kZipOk;
}

// Checks the local header against the central one and reads its extra field.
ZipResult ReadLocal(ZipArchive* a, ZipEntryHeader* e) {
  uint8_t h[kLocalHeaderBytes];
  if (ReadSpan(a, e->localHeader, h, sizeof h) != kZipOk) return kZipCorrupt;
  if (Le32(h) != kLocalSignature || Le16(h + 8) != e->method) return kZipCorrupt;
  if (!(e->flags & kFlagDataDescriptor) && Le32(h + 14) != e->crc) return kZipCorrupt;
  const uint16_t nameLen = Le16(h + 26);
  const uint16_t extraLen = Le16(h + 28);
  const uint64_t extraPos = e->localHeader + kLocalHeaderBytes + nameLen;
  e->localExtra.assign(extraLen, 0);
  if (extraLen != 0 && ReadSpan(a, extraPos, e->localExtra.data(), extraLen) != kZipOk)
    return kZipReadFailed;
  e->dataStart = extraPos + extraLen;
  if (e->dataStart > a->sourceSize || e->compressedSize > a->sourceSize - e->dataStart)
    return kZipCorrupt;
  return kZipOk;
}

bool StartsWith(const std::wstring& s, size_t pos, const wchar_t* sequence) {
  return s.compare(pos, std::wcslen(sequence), sequence) == 0;
}

// Removes drive letters, leading separators and everything up to a parent-folder step.
void MakeNameSafe(std::wstring& name) {
  static const wchar_t* const kParentSteps[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
  for (bool changed = true; changed;) {
    changed = false;
    if (name.size() >= 2 && name[1] == L':' &&
        ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z'))) {
      name.erase(0, 2);
      changed = true;
    }
    if (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) {
      name.erase(0, 1);
      changed = true;
    }
    // A name that starts with a parent step escapes the target folder just the same.
    if (StartsWith(name, 0, L"..\\") || StartsWith(name, 0, L"../")) {
      name.erase(0, 3);
      changed = true;
    } else if (name == L"..") {
      name.clear();
      changed = true;
    }
    for (const wchar_t* step : kParentSteps) {
      const size_t at = name.find(step);
      if (at != std::wstring::npos) {
        name.erase(0, at + 4);
        changed = true;
        break;
      }
    }
  }
}

uint32_t MapAttributes(const ZipEntryHeader& e) {
  const unsigned host = e.versionMadeBy >> 8;
  if (host == 0 || host == 7 || host == 11 || host == 14) {
    return e.externalAttributes & (kZipAttrReadOnly | kZipAttrHidden | kZipAttrSystem |
                                   kZipAttrDirectory | kZipAttrArchive);
  }
  uint32_t attributes = kZipAttrArchive;
  if (!(e.externalAttributes & (1u << 23))) attributes |= kZipAttrReadOnly;
  if (e.externalAttributes & (1u << 30)) attributes |= kZipAttrDirectory;
  return attributes;
}

uint64_t UnixTimeToFileTime(uint32_t seconds) {
  return kUnixEpochAsFileTime + uint64_t{seconds} * kFileTimeTicksPerSecond;
}

void ApplyUnixTimes(const std::vector<uint8_t>& extra, ZipEntry* entry) {
  size_t pos = 0;
  while (extra.size() - pos >= 5) {
    const uint16_t tag = Le16(&extra[pos]);
    const size_t size = Le16(&extra[pos + 2]);
    if (tag == kExtraUnixTime) {
      const uint8_t flags = extra[pos + 4];
      const size_t blockEnd = std::min(extra.size(), pos + 4 + size);
      size_t at = pos + 5;
      uint64_t* slots[] = {&entry->modificationTime, &entry->accessTime, &entry->creationTime};
      for (int bit = 0; bit < 3; ++bit) {
        if (!(flags & (1u << bit))) continue;
        if (at + 4 > blockEnd) break;
        *slots[bit] = UnixTimeToFileTime(Le32(&extra[at]));
        at += 4;
      }
    }
    pos += 4 + size;
    if (pos > extra.size()) break;
  }
}

void FillEntry(int index, const ZipEntryHeader& e, ZipEntry* entry) {
  std::memset(entry, 0, sizeof *entry);
  entry->index = index;
  std::wstring name =
      Utf8ToUtf16Units(reinterpret_cast<const uint8_t*>(e.name.data()), e.name.size());
  if (name.size() > kZipNameChars - 1) name.resize(kZipNameChars - 1);
  MakeNameSafe(name);
  std::copy(name.begin(), name.end(), entry->name);
  entry->attributes = MapAttributes(e);
  const uint64_t time = DosTimeToFileTime(e.dosDate, e.dosTime);
  entry->accessTime = entry->creationTime = entry->modificationTime = time;
  ApplyUnixTimes(e.localExtra, entry);
  entry->compressedSize = static_cast<int32_t>(e.compressedSize);
  entry->uncompressedSize = static_cast<int32_t>(e.uncompressedSize);
}

// Traditional PKWARE stream cipher.
uint32_t CrcByte(uint32_t crc, uint8_t byte) {
  static const z_crc_t* table = get_crc_table();
  return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

void UpdateKeys(uint32_t keys[3], uint8_t plain) {
  keys[0] = CrcByte(keys[0], plain);
  keys[1] = (keys[1] + (keys[0] & 0xFF)) * 134775813u + 1;
  keys[2] = CrcByte(keys[2], static_cast<uint8_t>(keys[1] >> 24));
}

uint8_t DecryptByte(uint32_t keys[3], uint8_t cipher) {
  const uint32_t temp = (keys[2] | 2) & 0xFFFF;
  const uint8_t plain = static_cast<uint8_t>(cipher ^ static_cast<uint8_t>((temp * (temp ^ 1)) >> 8));
  UpdateKeys(keys, plain);
  return plain;
}

bool FoldEqual(const std::string& stored, const std::string& wanted, bool ignoreCase) {
  if (stored.size() != wanted.size()) return false;
  for (size_t i = 0; i < stored.size(); ++i) {
    char a = stored[i], b = wanted[i];
    if (ignoreCase) {
      if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
      if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    }
    if (a != b) return false;
  }
  return true;
}

// Locates a consistent end-of-central-directory record in the last bytes of the source.
bool LocateDirectory(ZipArchive* a) {
  const uint64_t size = a->sourceSize;
  if (size < kEndRecordBytes) return false;
  const size_t tailLen =
      static_cast<size_t>(std::min<uint64_t>(size, kMaxCommentBytes + kEndRecordBytes));
  std::vector<uint8_t> tail(tailLen);
  const uint64_t tailStart = size - tailLen;
  if (!a->source->ReadAt(tailStart, tail.data(), tailLen)) return false;
  // The record nearest the end wins; one that does not hold together (a signature inside a
  // comment) is passed over.
  for (size_t i = tailLen - kEndRecordBytes + 1; i-- > 0;) {
    const uint8_t* p = &tail[i];
    if (Le32(p) != kEndRecordSignature) continue;
    const uint16_t disk = Le16(p + 4);
    const uint16_t directoryDisk = Le16(p + 6);
    const uint16_t entriesHere = Le16(p + 8);
    const uint16_t entriesTotal = Le16(p + 10);
    const uint32_t directorySize = Le32(p + 12);
    const uint32_t directoryOffset = Le32(p + 16);
    const uint64_t recordPos = tailStart + i;
    if (disk != 0 || directoryDisk != 0 || entriesHere != entriesTotal) continue;
    if (uint64_t{directoryOffset} + directorySize > recordPos) continue;
    if (uint64_t{entriesTotal} * kCentralHeaderBytes > directorySize) continue;
    a->prefix = recordPos - (uint64_t{directoryOffset} + directorySize);
    a->directoryStart = recordPos - directorySize;
    a->directoryEnd = recordPos;
    a->entryCount = entriesTotal;
    return true;
  }
  return false;
}

ZipResult FinishRead(ZipArchive* a, ZipResult code) {
  EndZipRead(a);
  return SetZipResult(code);
}

}  // namespace

ZipReadState::~ZipReadState() {
  if (inflating) inflateEnd(&stream);
}

ZipResult SetZipResult(ZipResult code) {
  g_lastResult.store(code);
  return code;
}

bool IsOpenZipArchive(const ZipArchive* archive) {
  if (archive == nullptr) return false;
  std::lock_guard<std::mutex> lock(OpenLock());
  return OpenArchives().count(archive) != 0;
}

ZipArchive* RegisterZipArchive(std::unique_ptr<ZipArchive> archive) {
  std::lock_guard<std::mutex> lock(OpenLock());
  OpenArchives().insert(archive.get());
  return archive.release();
}

ZipArchive* OpenZipSource(std::unique_ptr<IZipSource> source, const char* password) {
  if (!source) {
    SetZipResult(kZipCannotOpen);
    return nullptr;
  }
  std::unique_ptr<ZipArchive> archive(new (std::nothrow) ZipArchive);
  if (!archive) {
    SetZipResult(kZipNoMemory);
    return nullptr;
  }
  archive->source = std::move(source);
  archive->sourceSize = archive->source->Size();
  if (!LocateDirectory(archive.get())) {
    SetZipResult(kZipCannotOpen);
    return nullptr;
  }
  archive->walkIndex = 0;
  archive->walkPos = archive->directoryStart;
  if (password != nullptr) archive->password = password;
  archive->baseFolder = DefaultZipBaseFolder();
  SetZipResult(kZipOk);
  return RegisterZipArchive(std::move(archive));
}

ZipArchive* OpenZipMemory(const void* bytes, size_t length, const char* password) {
  if (bytes == nullptr && length != 0) {
    SetZipResult(kZipBadArguments);
    return nullptr;
  }
  return OpenZipSource(std::make_unique<MemorySource>(bytes, length), password);
}

ZipResult CloseZip(ZipArchive* archive) {
  if (archive == nullptr) return SetZipResult(kZipBadArguments);
  {
    std::lock_guard<std::mutex> lock(OpenLock());
    if (OpenArchives().erase(archive) == 0) return SetZipResult(kZipMixedModes);
  }
  delete archive;
  return SetZipResult(kZipOk);
}

ZipResult ReadZipEntryAt(ZipArchive* a, int index, ZipEntry* entry, ZipEntryHeader* header) {
  const uint32_t target = static_cast<uint32_t>(index);
  if (target < a->walkIndex) {
    a->walkIndex = 0;
    a->walkPos = a->directoryStart;
  }
  CentralRecord record;
  while (a->walkIndex < target) {
    const ZipResult r = ReadCentral(a, a->walkPos, false, &record);
    if (r != kZipOk) {
      a->walkIndex = 0;
      a->walkPos = a->directoryStart;
      return r;
    }
    a->walkPos = record.next;
    ++a->walkIndex;
  }
  ZipResult r = ReadCentral(a, a->walkPos, true, &record);
  if (r == kZipOk) r = ReadLocal(a, &record.header);
  if (r != kZipOk) return r;
  FillEntry(index, record.header, entry);
  *header = std::move(record.header);
  return kZipOk;
}

ZipResult GetZipEntry(ZipArchive* archive, int index, ZipEntry* entry) {
  if (!IsOpenZipArchive(archive) || entry == nullptr) return SetZipResult(kZipBadArguments);
  if (index < -1 || (index >= 0 && static_cast<uint32_t>(index) >= archive->entryCount))
    return SetZipResult(kZipBadArguments);
  EndZipRead(archive);
  if (index == -1) {
    std::memset(entry, 0, sizeof *entry);
    entry->index = static_cast<int32_t>(archive->entryCount);
    return SetZipResult(kZipOk);
  }
  if (index == archive->cachedIndex) {
    *entry = archive->cachedEntry;
    return SetZipResult(kZipOk);
  }
  ZipEntryHeader header;
  const ZipResult r = ReadZipEntryAt(archive, index, entry, &header);
  if (r != kZipOk) return SetZipResult(r);
  archive->cachedEntry = *entry;
  archive->cachedIndex = index;
  return SetZipResult(kZipOk);
}

ZipResult FindZipEntry(ZipArchive* archive, const wchar_t* name, bool ignoreCase, int* index,
                       ZipEntry* entry) {
  if (!IsOpenZipArchive(archive) || name == nullptr || index == nullptr || entry == nullptr)
    return SetZipResult(kZipBadArguments);
  const std::string wanted = Utf16UnitsToUtf8(name, std::wcslen(name));
  if (wanted.size() < kMaxFindNameBytes) {
    uint64_t pos = archive->directoryStart;
    CentralRecord record;
    for (uint32_t i = 0; i < archive->entryCount; ++i) {
      if (ReadCentral(archive, pos, true, &record) != kZipOk) break;
      if (FoldEqual(record.header.name, wanted, ignoreCase)) {
        EndZipRead(archive);
        *index = static_cast<int>(i);
        return GetZipEntry(archive, static_cast<int>(i), entry);
      }
      pos = record.next;
    }
  }
  *index = -1;
  std::memset(entry, 0, sizeof *entry);
  entry->index = -1;
  return SetZipResult(kZipNotFound);
}

void EndZipRead(ZipArchive* archive) { archive->reading.reset(); }

ZipResult BeginZipRead(ZipArchive* a, int index) {
  if (a->reading && a->reading->index == index) return kZipOk;
  EndZipRead(a);
  if (index < 0 || static_cast<uint32_t>(index) >= a->entryCount) return kZipBadArguments;
  std::unique_ptr<ZipReadState> state(new (std::nothrow) ZipReadState);
  if (!state) return kZipNoMemory;
  ZipEntry entry;
  ZipResult r = ReadZipEntryAt(a, index, &entry, &state->header);
  if (r != kZipOk) return r;
  const ZipEntryHeader& h = state->header;
  state->index = index;
  state->readPos = h.dataStart;
  state->compressedLeft = h.compressedSize;
  state->uncompressedLeft = h.uncompressedSize;
  state->crc = crc32(0L, Z_NULL, 0);
  state->encrypted = (h.flags & kFlagEncrypted) != 0;
  uint64_t payload = h.compressedSize;
  if (state->encrypted) {
    if (payload < kEncryptionHeaderBytes) return kZipCorrupt;
    payload -= kEncryptionHeaderBytes;
    state->keys[0] = 0x12345678;
    state->keys[1] = 0x23456789;
    state->keys[2] = 0x34567890;
    for (char c : a->password) UpdateKeys(state->keys, static_cast<uint8_t>(c));
  }
  if (h.method == kMethodStored) {
    if (payload != h.uncompressedSize) return kZipCorrupt;
  } else if (h.method == kMethodDeflated) {
    if (inflateInit2(&state->stream, -MAX_WBITS) != Z_OK) return kZipNoMemory;
    state->inflating = true;
  } else {
    state->failed = true;  // a method this reader cannot unpack yields nothing
  }
  try {
    state->input.resize(kZipBufferBytes);
  } catch (const std::bad_alloc&) {
    return kZipNoMemory;
  }
  a->reading = std::move(state);
  return kZipOk;
}

ZipResult ContinueZipRead(ZipArchive* a, void* buffer, uint32_t length, uint32_t* produced,
                          bool* done) {
  ZipReadState& s = *a->reading;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  *produced = 0;
  *done = false;
  ZipResult failure = kZipFlateError;
  while (!s.failed && !s.ended && (*produced < length || s.uncompressedLeft == 0)) {
    if (s.uncompressedLeft == 0) {
      s.ended = true;
      break;
    }
    if (s.inputPos == s.inputLen && s.compressedLeft > 0) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(kZipBufferBytes, s.compressedLeft));
      if (ReadSpan(a, s.readPos, s.input.data(), n) != kZipOk) {
        s.failed = true;
        failure = kZipReadFailed;
        break;
      }
      s.readPos += n;
      s.compressedLeft -= n;
      s.inputPos = 0;
      s.inputLen = n;
      if (s.encrypted) {
        for (size_t i = 0; i < n; ++i) s.input[i] = DecryptByte(s.keys, s.input[i]);
      }
    }
    if (s.encrypted && !s.headerDone) {
      if (s.inputLen - s.inputPos < kEncryptionHeaderBytes) {
        s.failed = true;
        failure = kZipCorrupt;
        break;
      }
      const uint8_t check = s.input[s.inputPos + kEncryptionHeaderBytes - 1];
      const uint8_t expected = (s.header.flags & kFlagDataDescriptor)
                                   ? static_cast<uint8_t>(s.header.dosTime >> 8)
                                   : static_cast<uint8_t>(s.header.crc >> 24);
      s.inputPos += kEncryptionHeaderBytes;
      s.headerDone = true;
      if (check != expected) {
        s.failed = true;
        s.passwordFailed = true;
        failure = kZipPassword;
        break;
      }
    }
    const size_t room = static_cast<size_t>(
        std::min<uint64_t>(length - *produced, s.uncompressedLeft));
    size_t made = 0;
    if (s.inflating) {
      s.stream.next_in = s.input.data() + s.inputPos;
      s.stream.avail_in = static_cast<uInt>(s.inputLen - s.inputPos);
      s.stream.next_out = out + *produced;
      s.stream.avail_out = static_cast<uInt>(room);
      const int z = inflate(&s.stream, Z_SYNC_FLUSH);
      const size_t used = (s.inputLen - s.inputPos) - s.stream.avail_in;
      made = room - s.stream.avail_out;
      s.inputPos += used;
      if (z == Z_STREAM_END) {
        s.ended = true;
      } else if (z != Z_OK && z != Z_BUF_ERROR) {
        s.failed = true;
      } else if (used == 0 && made == 0) {
        s.failed = true;  // truncated stream: input exhausted without an end
      }
    } else {
      made = std::min(room, s.inputLen - s.inputPos);
      if (made == 0) {
        s.failed = true;
        failure = kZipCorrupt;
      } else {
        std::memcpy(out + *produced, s.input.data() + s.inputPos, made);
        s.inputPos += made;
      }
    }
    if (made != 0) {
      s.crc = crc32(s.crc, out + *produced, static_cast<uInt>(made));
      *produced += static_cast<uint32_t>(made);
      s.uncompressedLeft -= made;
    }
    if (s.uncompressedLeft == 0) s.ended = true;
  }
  // A wrong password passes the one-byte header check once in 256 tries; the noise it then
  // decrypts fails to inflate, which only the password explains.
  if (s.failed && s.encrypted && failure == kZipFlateError) return kZipPassword;
  if (s.failed) return s.passwordFailed ? kZipPassword : failure;
  if (s.ended) {
    // The stored sizes and checksum are the only guard against damaged data.
    if (s.uncompressedLeft != 0 || s.crc != s.header.crc)
      return s.encrypted ? kZipPassword : kZipCorrupt;
    *done = true;
  }
  return kZipOk;
}

ZipResult UnzipItemToMemory(ZipArchive* archive, int index, void* buffer, uint32_t length) {
  if (!IsOpenZipArchive(archive) || (buffer == nullptr && length != 0))
    return SetZipResult(kZipBadArguments);
  ZipResult r = BeginZipRead(archive, index);
  if (r != kZipOk) return FinishRead(archive, r);
  uint32_t produced = 0;
  bool done = false;
  r = ContinueZipRead(archive, buffer, length, &produced, &done);
  if (r != kZipOk) return FinishRead(archive, r);
  if (done) return FinishRead(archive, kZipOk);
  if (produced < 1) return FinishRead(archive, kZipFlateError);
  return SetZipResult(kZipMoreData);
}

ZipResult SetZipTargetFolder(ZipArchive* archive, const wchar_t* folder) {
  if (!IsOpenZipArchive(archive) || folder == nullptr) return SetZipResult(kZipBadArguments);
  archive->baseFolder = folder;
  if (!archive->baseFolder.empty() && archive->baseFolder.back() != L'\\' &&
      archive->baseFolder.back() != L'/')
    archive->baseFolder += L'\\';
  return SetZipResult(kZipOk);
}

uint32_t DescribeZipResult(ZipResult code, wchar_t* buffer, uint32_t length) {
  if (code == kZipLastResult) code = g_lastResult.load();
  const wchar_t* text;
  switch (code) {
    case kZipOk: text = L"Success"; break;
    case kZipDuplicateHandle: text = L"Culdn't duplicate handle"; break;
    case kZipCannotOpen: text = L"Couldn't create/open file"; break;
    case kZipNoMemory: text = L"Failed to allocate memory"; break;
    case kZipWriteFailed: text = L"Error writing to file"; break;
    case kZipNotFound: text = L"File not found in the zipfile"; break;
    case kZipMoreData: text = L"Still more data to unzip"; break;
    case kZipCorrupt: text = L"Zipfile is corrupt or not a zipfile"; break;
    case kZipReadFailed: text = L"Error reading file"; break;
    case kZipPassword: text = L"Correct password required"; break;
    case kZipBadArguments: text = L"Caller: faulty arguments"; break;
    case kZipNotMemoryZip: text = L"Caller: can only get memory of a memory zipfile"; break;
    case kZipMemorySize: text = L"Caller: not enough space allocated for memory zipfile"; break;
    case kZipPreviousError: text = L"Caller: there was a previous error"; break;
    case kZipAlreadyEnded: text = L"Caller: additions to the zip have already been ended"; break;
    case kZipSizeWrong: text = L"Zip-bug: the anticipated size turned out wrong"; break;
    case kZipPartlyUnzipped: text = L"Caller: the file had already been partially unzipped"; break;
    case kZipMixedModes: text = L"Caller: mixing creation and opening of zip"; break;
    case kZipNotInitialised: text = L"Zip-bug: internal initialisation not completed"; break;
    case kZipUnseekable: text = L"Zip-bug: trying to seek the unseekable"; break;
    case kZipChangedMind: text = L"Zip-bug: tried to change mind, but not allowed"; break;
    case kZipFlateError: text = L"Zip-bug: an internal error during flation"; break;
    default: text = L"unknown zip result code"; break;
  }
  const uint32_t full = static_cast<uint32_t>(std::wcslen(text));
  if (buffer != nullptr && length != 0) {
    const uint32_t n = std::min(full, length - 1);
    std::copy(text, text + n, buffer);
    buffer[n] = L'\0';
  }
  return full;
}

#ifdef _WIN32
std::wstring DefaultZipBaseFolder() {
  wchar_t folder[MAX_PATH];
  const DWORD n = GetCurrentDirectoryW(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  std::wstring base(folder, n);
  if (base.back() != L'\\' && base.back() != L'/') base += L'\\';
  return base;
}

uint64_t DosTimeToFileTime(uint16_t dosDate, uint16_t dosTime) {
  FILETIME local, utc;
  if (!DosDateTimeToFileTime(dosDate, dosTime, &local) || !LocalFileTimeToFileTime(&local, &utc))
    return 0;
  return (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}
#else
// Without Windows the archive has no working folder and DOS times are read in the C
// library's local time zone.
std::wstring DefaultZipBaseFolder() { return std::wstring(); }

uint64_t DosTimeToFileTime(uint16_t dosDate, uint16_t dosTime) {
  std::tm t{};
  t.tm_year = 80 + (dosDate >> 9);
  t.tm_mon = ((dosDate >> 5) & 0x0F) - 1;
  t.tm_mday = dosDate & 0x1F;
  t.tm_hour = dosTime >> 11;
  t.tm_min = (dosTime >> 5) & 0x3F;
  t.tm_sec = 2 * (dosTime & 0x1F);
  t.tm_isdst = -1;
  if (t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 1 || t.tm_hour > 23 || t.tm_min > 59 ||
      t.tm_sec > 59)
    return 0;
  const std::time_t seconds = std::mktime(&t);
  if (seconds == static_cast<std::time_t>(-1) || seconds < 0) return 0;
  return kUnixEpochAsFileTime + static_cast<uint64_t>(seconds) * kFileTimeTicksPerSecond;
}
#endif

}  // namespace SkinUI
