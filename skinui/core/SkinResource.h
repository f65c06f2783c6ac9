#pragma once
// The process-wide skin source: a folder on disk, a ZIP file in that folder, or a ZIP archive
// in memory. Set up once on the UI thread during start-up and read from there afterwards.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

struct ZipArchive;

// Why a skin file could not be read.
enum class SkinFileStatus {
  kOk,
  kOpenFailed,      // folder mode: the file does not open
  kEmpty,           // the file or member holds no bytes
  kTooLarge,        // bigger than the caller's limit
  kReadFailed,      // folder mode: short read
  kZipOpenFailed,   // no archive
  kMemberNotFound,  // no such member in the archive
  kUnzipFailed,     // the member does not unpack
};

// Resource type codes the start-up sequence interprets.
constexpr int kSkinResourceFolder = 1;
constexpr int kSkinResourceZipFile = 2;
constexpr int kSkinResourceZipModule = 4;

// The ZIP name that stands for an archive held in memory.
constexpr const wchar_t* kMemoryZipName = L"membuffer";

class CSkinResource {
 public:
  using ReloadSkinHandler = void (*)();

  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();
  // The resource instance if one was set, else the module instance.
  static void SetResourceInstance(HINSTANCE instance);
  static HINSTANCE GetResourceInstance();

  // A non-empty path always ends with a separator (a backslash is appended when missing).
  static void SetResourcePath(const std::wstring& path);
  static const std::wstring& GetResourcePath();

  static void SetResourceType(int type);
  static int GetResourceType();

  // Empty name: folder mode. A changed name or cached flag closes the cached archive; with
  // cached on the archive (resource path + name) is opened at once.
  static void SetResourceZip(const std::wstring& name, bool cached = false,
                             const std::wstring& password = std::wstring());
  // Selects a ZIP held in memory as the cached archive; the bytes are not copied and must
  // outlive the process's use of the skin. Ignored while a memory archive is selected.
  static void SetResourceZipMemory(const void* bytes, size_t length,
                                   const std::wstring& password = std::wstring());
  static const std::wstring& GetResourceZip();
  static bool IsResourceZipCached();
  static const std::wstring& GetResourceZipPassword();
  // The cached archive, or null.
  static ZipArchive* GetResourceZipArchive();

  // Reloads every loaded image from the current skin source through the handler the paint
  // manager registers; without a handler nothing happens.
  static void ReloadSkin();
  static void SetReloadSkinHandler(ReloadSkinHandler handler);

  // Reads a named skin file whole from the current source: the file resource path + name in
  // folder mode, else the archive member with "\" turned into "/", found ignoring case.
  static bool ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes);
  // The same with the reason of a failure; files above maxBytes are refused before reading.
  static SkinFileStatus ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes,
                                     size_t maxBytes);

  // Closes the cached archive (at shutdown); the settings stay.
  static void CloseResourceZip();
};

}  // namespace SkinUI
