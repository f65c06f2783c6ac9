#pragma once
// The archives made by make-skin-zips.py, found under the test's working folder.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

constexpr const char* kSkinZipsDir = "test-data/skin-zips/";

inline std::string SkinZipPath(const std::string& name) { return kSkinZipsDir + name; }

inline std::vector<uint8_t> ReadTestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> ReadSkinZip(const std::string& name) {
  return ReadTestFile(SkinZipPath(name));
}

// The bytes the archives hold for a member, as written to src/.
inline std::vector<uint8_t> ReadMemberSource(const std::string& member) {
  return ReadTestFile(SkinZipPath("src/" + member));
}
