#include "SevenZipArchive.h"

#include <zlib.h>

#include <cstring>

#include "FolderDecoder.h"
#include "HeaderParser.h"
#include "SafeName.h"

namespace zk7z {

namespace {

constexpr uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
constexpr size_t kSignatureHeaderSize = 32;
constexpr uint8_t kMajorVersion = 0;
constexpr uint64_t kMaxHeaderSize = uint64_t(128) << 20;
constexpr int kMaxHeaderNesting = 4;

uint32_t LoadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

uint64_t LoadLe64(const uint8_t* p) { return static_cast<uint64_t>(LoadLe32(p + 4)) << 32 | LoadLe32(p); }

std::string PathToUtf8(const NativePath& path) {
#ifdef _WIN32
  return Utf16ToUtf8Lossy(std::u16string(path.begin(), path.end()));
#else
  return path;
#endif
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  while (size > 0) {
    const uInt chunk = size > (1u << 30) ? (1u << 30) : static_cast<uInt>(size);
    crc = static_cast<uint32_t>(crc32(crc, data, chunk));
    data += chunk;
    size -= chunk;
  }
  return crc;
}

bool SevenZipArchive::Fail(const std::string& text) {
  if (error_.empty()) error_ = text;
  return false;
}

bool SevenZipArchive::ReadHeaderBytes(uint64_t offset, uint64_t size, uint32_t crc, std::vector<uint8_t>* bytes) {
  if (size > kMaxHeaderSize) return Fail("archive header is too large");
  if (offset > file_.Size() || size > file_.Size() - offset) return Fail("archive is truncated");
  bytes->resize(static_cast<size_t>(size));
  size_t got = 0;
  if (!file_.ReadAt(offset, bytes->data(), bytes->size(), &got)) return Fail("cannot read the archive file");
  if (got != bytes->size()) return Fail("archive is truncated");
  if (Crc32(bytes->data(), bytes->size()) != crc) return Fail("archive header is damaged (CRC mismatch)");
  return true;
}

bool SevenZipArchive::ComputePackOffsets(const StreamsInfo& streams, std::vector<uint64_t>* offsets) {
  offsets->clear();
  uint64_t at = streams.packPos;
  if (at > file_.Size() - kSignatureHeaderSize) return Fail("archive is truncated");
  at += kSignatureHeaderSize;
  for (uint64_t size : streams.packSizes) {
    if (size > file_.Size() - at) return Fail("archive is truncated");
    offsets->push_back(at);
    at += size;
  }
  return true;
}

bool SevenZipArchive::DecodeEncodedHeader(const StreamsInfo& streams, std::vector<uint8_t>* bytes) {
  if (streams.folders.empty()) return Fail("archive header is damaged");
  const Folder& folder = streams.folders[0];
  const uint64_t size = folder.UnpackSize();
  if (size > kMaxHeaderSize) return Fail("archive header is too large");
  ArchiveDatabase holder;
  holder.streams = streams;
  if (!ComputePackOffsets(streams, &holder.packOffsets)) return false;
  DecodeStatus status;
  FolderDecoder decoder(&file_, &status);
  if (!decoder.Init(holder, holder.streams.folders[0], limits_)) return Fail(status.error);
  std::vector<uint8_t> out(static_cast<size_t>(size));
  size_t got = 0;
  if (!ReadFull(*decoder.Output(), out.data(), out.size(), &got)) return Fail(status.error);
  if (got != out.size()) return Fail("archive header is truncated");
  if (folder.crcDefined && Crc32(out.data(), out.size()) != folder.crc) {
    return Fail("archive header is damaged (CRC mismatch)");
  }
  bytes->swap(out);
  return true;
}

bool SevenZipArchive::Open(const NativePath& path, const DecodeLimits& limits) {
  limits_ = limits;
  if (!file_.Open(path)) return Fail("cannot open the archive file \"" + PathToUtf8(path) + "\"");
  uint8_t sig[kSignatureHeaderSize];
  size_t got = 0;
  if (!file_.ReadAt(0, sig, sizeof sig, &got)) return Fail("cannot read the archive file");
  if (got < sizeof sig || std::memcmp(sig, kSignature, sizeof kSignature) != 0) return Fail("not a 7z archive");
  if (sig[6] != kMajorVersion) return Fail("unsupported 7z format version");
  if (Crc32(sig + 12, 20) != LoadLe32(sig + 8)) return Fail("archive signature header is damaged");
  const uint64_t nextOffset = LoadLe64(sig + 12);
  const uint64_t nextSize = LoadLe64(sig + 20);
  const uint32_t nextCrc = LoadLe32(sig + 28);
  if (nextSize == 0) return true;  // an archive with nothing in it
  if (nextOffset > file_.Size()) return Fail("archive is truncated");
  std::vector<uint8_t> header;
  if (!ReadHeaderBytes(kSignatureHeaderSize + nextOffset, nextSize, nextCrc, &header)) return false;
  for (int level = 0;; ++level) {
    HeaderParser parser(header.data(), header.size());
    HeaderKind kind;
    if (!parser.ReadKind(&kind)) return Fail(parser.error());
    if (kind == HeaderKind::kPlain) {
      if (!parser.ParseHeader(&db_)) return Fail(parser.error());
      break;
    }
    if (level == kMaxHeaderNesting) return Fail("archive header is nested too deeply");
    StreamsInfo streams;
    if (!parser.ParseStreamsInfo(&streams)) return Fail(parser.error());
    std::vector<uint8_t> decoded;
    if (!DecodeEncodedHeader(streams, &decoded)) return false;
    header.swap(decoded);
  }
  return ComputePackOffsets(db_.streams, &db_.packOffsets);
}

}  // namespace zk7z
