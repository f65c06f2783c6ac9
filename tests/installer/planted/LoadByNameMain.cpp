// load-by-name.exe NAME...: loads each DLL by bare name through the unrestricted search order,
// the way a program that never restricts it would; prints "NAME loaded|missing" per name.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    HMODULE module = LoadLibraryW(argv[i]);
    std::wprintf(L"%ls %ls\n", argv[i], module != nullptr ? L"loaded" : L"missing");
    if (module != nullptr) FreeLibrary(module);
  }
  return 0;
}
