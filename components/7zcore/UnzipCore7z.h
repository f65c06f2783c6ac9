#pragma once
// 7zCore.dll: our 7z unpacking component.

#include <cstdint>
#include <functional>

#if defined(_WIN32) && defined(ZK7Z_BUILDING_DLL)
#define ZK7Z_API __declspec(dllexport)
#elif defined(_WIN32) && !defined(ZK7Z_STATIC)
#define ZK7Z_API __declspec(dllimport)
#else
#define ZK7Z_API
#endif

extern "C" {

// Extracts archive into targetDir (both in the ANSI code page; the names inside the archive
// reach the disk unchanged). Synchronous: every progress call is made before it returns, one
// at a time, possibly on one of the component's writer threads. progress gets (bytes done,
// bytes total) of file data; the last call, with done == total, is made only on success.
// All or nothing: on failure or cancel targetDir is left as it was, and an interrupted run's
// journal beside it is healed first (see Zk7zHeal). Never throws.
ZK7Z_API bool UnzipCore7z(const char* archive, const char* targetDir,
                          std::function<void(uint64_t, uint64_t)> progress);

// The same for plain callers: UTF-8 paths, an optional callback with a user pointer.
// Returns 1 on success, 0 on failure; Zk7zLastError() then tells why.
typedef void (*Zk7zProgressCallback)(void* user, uint64_t done, uint64_t total);
ZK7Z_API int Zk7zExtract(const char* archiveUtf8, const char* targetDirUtf8, Zk7zProgressCallback callback,
                         void* user);
// The archive's unpacked size, the sum of its files' sizes, read from its header without
// decoding any file (UTF-8 path). Returns 1 and sets *total, or 0 with Zk7zLastError() set.
ZK7Z_API int Zk7zUnpackedSize(const char* archiveUtf8, uint64_t* total);
// Asks every extraction under way, and every one started later, to stop (stop = 1) at its next
// progress step and undo what it did; stop = 0 lets extractions run again. Any thread.
ZK7Z_API void Zk7zCancel(int stop);
// Finishes what an interrupted extraction into targetDirUtf8 left: 0 when nothing was left,
// 1 when its changes were undone, 2 when it had succeeded and only its clean-up was finished,
// -1 on failure with Zk7zLastError() set.
ZK7Z_API int Zk7zHeal(const char* targetDirUtf8);
// The files and folders the calling thread's last successful extraction put in place, relative
// to its target folder, one a line ('\n' after each), UTF-8, '\' between names, folders ending
// with '\'. Valid until the thread's next extraction.
ZK7Z_API const char* Zk7zInstalledNames(void);
// UTF-8 text of the calling thread's last failure, "" after a success. Valid until its next call.
ZK7Z_API const char* Zk7zLastError(void);
}
