#pragma once
// Reading the bytes of images, fonts and documents named by a skin.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

// The named file from the current skin source, or else the name read as a plain file path.
bool ReadSkinOrPlainFile(const std::wstring& name, std::vector<uint8_t>& bytes);
// The whole of a plain file; false (and no bytes) when it cannot be opened or read.
bool ReadPlainFile(const std::wstring& path, std::vector<uint8_t>& bytes);
// A copy of a module resource from the instance, or the toolkit's resource instance when null.
bool ReadModuleResource(HINSTANCE instance, LPCWSTR name, LPCWSTR type, std::vector<uint8_t>& bytes);
HINSTANCE GetToolkitInstance();

}  // namespace SkinUI
