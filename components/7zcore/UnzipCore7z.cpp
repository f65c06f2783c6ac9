#include "UnzipCore7z.h"

#include <atomic>
#include <string>

#include "SevenZipArchive.h"
#include "SevenZipExtractor.h"
#include "UnpackJournal.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

thread_local std::string lastError;
thread_local std::string installedNames;
std::atomic<bool> stopRequested{false};

zk7z::NativePath FromCodePage(const char* text, unsigned codePage) {
#ifdef _WIN32
  const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text, -1, &out[0], n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
#else
  (void)codePage;
  return text;
#endif
}

#ifdef _WIN32
constexpr unsigned kAnsi = CP_ACP;
constexpr unsigned kUtf8 = CP_UTF8;
#else
constexpr unsigned kAnsi = 0;
constexpr unsigned kUtf8 = 0;
#endif

bool Run(const char* archive, const char* target, unsigned codePage, zk7z::ProgressFunction progress) {
  lastError.clear();
  if (!archive || !target) {
    lastError = "no archive or target folder given";
    return false;
  }
  installedNames.clear();
  try {
    zk7z::SevenZipExtractor extractor;
    extractor.SetProgress(std::move(progress));
    extractor.SetStopFlag(&stopRequested);
    if (extractor.Extract(FromCodePage(archive, codePage), FromCodePage(target, codePage))) {
      for (const std::string& name : extractor.installed()) installedNames += name + '\n';
      return true;
    }
    lastError = extractor.error();
  } catch (const std::exception& e) {
    lastError = std::string("extraction failed: ") + e.what();
  } catch (...) {
    lastError = "extraction failed";
  }
  return false;
}

}  // namespace

extern "C" {

bool UnzipCore7z(const char* archive, const char* targetDir, std::function<void(uint64_t, uint64_t)> progress) {
  return Run(archive, targetDir, kAnsi, std::move(progress));
}

int Zk7zExtract(const char* archiveUtf8, const char* targetDirUtf8, Zk7zProgressCallback callback, void* user) {
  zk7z::ProgressFunction progress;
  if (callback) progress = [callback, user](uint64_t done, uint64_t total) { callback(user, done, total); };
  return Run(archiveUtf8, targetDirUtf8, kUtf8, std::move(progress)) ? 1 : 0;
}

int Zk7zUnpackedSize(const char* archiveUtf8, uint64_t* total) {
  lastError.clear();
  if (!archiveUtf8 || !total) {
    lastError = "no archive or result given";
    return 0;
  }
  try {
    zk7z::SevenZipArchive archive;
    if (!archive.Open(FromCodePage(archiveUtf8, kUtf8), zk7z::DecodeLimits())) {
      lastError = archive.error();
      return 0;
    }
    uint64_t sum = 0;
    for (const zk7z::FileEntry& file : archive.db().files) {
      if (file.size > UINT64_MAX - sum) {
        lastError = "archive sizes overflow";
        return 0;
      }
      sum += file.size;
    }
    *total = sum;
    return 1;
  } catch (...) {
    lastError = "cannot read the archive";
    return 0;
  }
}

void Zk7zCancel(int stop) { stopRequested.store(stop != 0); }

int Zk7zHeal(const char* targetDirUtf8) {
  lastError.clear();
  if (!targetDirUtf8) {
    lastError = "no target folder given";
    return -1;
  }
  try {
    switch (zk7z::UnpackJournal::Heal(FromCodePage(targetDirUtf8, kUtf8), &lastError)) {
      case zk7z::UnpackJournal::HealResult::kNothingFound:
        return 0;
      case zk7z::UnpackJournal::HealResult::kUndone:
        return 1;
      case zk7z::UnpackJournal::HealResult::kCompleted:
        return 2;
      case zk7z::UnpackJournal::HealResult::kFailed:
        break;
    }
  } catch (...) {
    lastError = "cannot heal the folder";
  }
  return -1;
}

const char* Zk7zInstalledNames(void) { return installedNames.c_str(); }

const char* Zk7zLastError(void) { return lastError.c_str(); }
}
