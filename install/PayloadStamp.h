#pragma once
// The payload's fingerprint as the release step writes it into setup.exe: a resource of type
// kPayloadStampType, id kPayloadStampId, holding the SHA-256 of zk.7z (32 bytes) and then its
// size in bytes (8 bytes, little-endian). A setup.exe without it is a developer build.

#include <array>
#include <cstddef>
#include <cstdint>

constexpr const wchar_t* kPayloadStampType = L"ZKPAYLOAD";
constexpr unsigned kPayloadStampId = 1;
constexpr size_t kDigestBytes = 32;
constexpr size_t kPayloadStampBytes = kDigestBytes + 8;

using Sha256Digest = std::array<uint8_t, kDigestBytes>;

struct PayloadStamp {
  Sha256Digest digest{};
  uint64_t size = 0;
};
