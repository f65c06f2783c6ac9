#include "Coders.h"

#include <algorithm>
#include <cstring>

#include "BranchCoder.h"

namespace zk7z {

namespace {

struct KnownMethod {
  uint8_t id[4];
  uint8_t idSize;
  Method method;
  const char* name;
};

// Ids as 7-Zip writes them; the unsupported ones are listed to name them in errors.
constexpr KnownMethod kMethods[] = {
    {{0x00}, 1, Method::kCopy, "Copy"},
    {{0x03}, 1, Method::kDelta, "Delta"},
    {{0x21}, 1, Method::kLzma2, "LZMA2"},
    {{0x03, 0x01, 0x01}, 3, Method::kLzma, "LZMA"},
    {{0x03, 0x03, 0x01, 0x03}, 4, Method::kBcjX86, "BCJ"},
    {{0x03, 0x03, 0x01, 0x1B}, 4, Method::kBcj2, "BCJ2"},
    {{0x04, 0x01, 0x08}, 3, Method::kDeflate, "Deflate"},
    {{0x04}, 1, Method::kUnsupported, "x86 (new)"},
    {{0x05}, 1, Method::kPpc, "PPC"},
    {{0x06}, 1, Method::kIa64, "IA64"},
    {{0x07}, 1, Method::kArm, "ARM"},
    {{0x08}, 1, Method::kArmThumb, "ARMT"},
    {{0x09}, 1, Method::kSparc, "SPARC"},
    {{0x0A}, 1, Method::kArm64, "ARM64"},
    {{0x0B}, 1, Method::kRiscv, "RISCV"},
    {{0x03, 0x03, 0x02, 0x05}, 4, Method::kPpc, "PPC"},
    {{0x03, 0x03, 0x04, 0x01}, 4, Method::kIa64, "IA64"},
    {{0x03, 0x03, 0x05, 0x01}, 4, Method::kArm, "ARM"},
    {{0x03, 0x03, 0x07, 0x01}, 4, Method::kArmThumb, "ARMT"},
    {{0x03, 0x03, 0x08, 0x05}, 4, Method::kSparc, "SPARC"},
    {{0x03, 0x04, 0x01}, 3, Method::kUnsupported, "PPMD"},
    {{0x04, 0x01, 0x09}, 3, Method::kUnsupported, "Deflate64"},
    {{0x04, 0x02, 0x02}, 3, Method::kUnsupported, "BZip2"},
    {{0x06, 0xF1, 0x07, 0x01}, 4, Method::kUnsupported, "7zAES"},
};

const KnownMethod* FindMethod(const std::vector<uint8_t>& id) {
  for (const KnownMethod& m : kMethods) {
    if (m.idSize == id.size() && std::equal(id.begin(), id.end(), m.id)) return &m;
  }
  return nullptr;
}

}  // namespace

Method IdentifyMethod(const std::vector<uint8_t>& id) {
  const KnownMethod* m = FindMethod(id);
  return m ? m->method : Method::kUnsupported;
}

std::string MethodName(const std::vector<uint8_t>& id) {
  if (const KnownMethod* m = FindMethod(id)) return m->name;
  static const char kHex[] = "0123456789ABCDEF";
  std::string text = "method id ";
  for (uint8_t b : id) {
    text.push_back(kHex[b >> 4]);
    text.push_back(kHex[b & 15]);
  }
  if (id.empty()) text += "(empty)";
  return text;
}

std::string CheckFolderSupported(const Folder& folder) {
  for (const CoderInfo& coder : folder.coders) {
    const Method method = IdentifyMethod(coder.methodId);
    const std::string name = MethodName(coder.methodId);
    if (name == "7zAES") return "archive is encrypted (7zAES), which is not supported";
    if (method == Method::kUnsupported) return "archive uses the unsupported method " + name;
    const uint32_t wantIn = method == Method::kBcj2 ? 4 : 1;
    if (coder.numInStreams != wantIn || coder.numOutStreams != 1) {
      return "archive uses method " + name + " with an unexpected stream layout";
    }
  }
  return std::string();
}

uint64_t Lzma2DictionarySize(uint8_t code) {
  return code >= kLzma2LargestDictionaryCode ? 0xFFFFFFFFu : (uint64_t(2) | (code & 1)) << (code / 2 + 11);
}

uint64_t FolderDictionaryBytes(const Folder& folder) {
  uint64_t total = 0;
  for (size_t i = 0; i < folder.coders.size() && i < folder.unpackSizes.size(); ++i) {
    const std::vector<uint8_t>& props = folder.coders[i].props;
    uint64_t dictionary = 0;
    switch (IdentifyMethod(folder.coders[i].methodId)) {
      case Method::kLzma:
        if (props.size() >= 5) dictionary = ReadLe32(props.data() + 1);
        break;
      case Method::kLzma2:
        if (props.size() == 1) dictionary = Lzma2DictionarySize(props[0]);
        break;
      default:
        break;
    }
    total += std::min(dictionary, folder.unpackSizes[i]);
  }
  return total;
}

namespace {

// Hands its input on unchanged, up to the declared size.
class CopyCoder final : public ByteStream {
 public:
  CopyCoder(ByteStream* input, uint64_t outSize) : input_(input), left_(outSize) {}
  bool Read(uint8_t* data, size_t size, size_t* got) override {
    *got = 0;
    if (left_ == 0) return true;
    if (size > left_) size = static_cast<size_t>(left_);
    if (!input_->Read(data, size, got)) return false;
    left_ -= *got;
    return true;
  }

 private:
  ByteStream* input_;
  uint64_t left_;
};

}  // namespace

std::unique_ptr<ByteStream> CreateCoder(const CoderInfo& coder, const std::vector<ByteStream*>& inputs,
                                        uint64_t outSize, const DecodeLimits& limits, DecodeStatus* status) {
  switch (IdentifyMethod(coder.methodId)) {
    case Method::kCopy:
      return std::make_unique<CopyCoder>(inputs[0], outSize);
    case Method::kLzma:
      return CreateLzmaCoder(inputs[0], coder.props, outSize, limits, status);
    case Method::kLzma2:
      return CreateLzma2Coder(inputs[0], coder.props, outSize, limits, status);
    case Method::kBcjX86:
      return CreateBcjX86Coder(inputs[0], outSize, status);
    case Method::kBcj2:
      return CreateBcj2Coder(inputs, outSize, status);
    case Method::kDelta:
      return CreateDeltaCoder(inputs[0], coder.props, outSize, status);
    case Method::kDeflate:
      return CreateDeflateCoder(inputs[0], outSize, status);
    case Method::kArm:
      return CreateArmCoder(inputs[0], coder.props, outSize, status);
    case Method::kArmThumb:
      return CreateArmThumbCoder(inputs[0], coder.props, outSize, status);
    case Method::kArm64:
      return CreateArm64Coder(inputs[0], coder.props, outSize, status);
    case Method::kPpc:
      return CreatePpcCoder(inputs[0], coder.props, outSize, status);
    case Method::kSparc:
      return CreateSparcCoder(inputs[0], coder.props, outSize, status);
    case Method::kIa64:
      return CreateIa64Coder(inputs[0], coder.props, outSize, status);
    case Method::kRiscv:
      return CreateRiscvCoder(inputs[0], coder.props, outSize, status);
    case Method::kUnsupported:
      break;
  }
  status->Fail("archive uses the unsupported method " + MethodName(coder.methodId));
  return nullptr;
}

}  // namespace zk7z
