#include "GdiplusWarmUp.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "GdiHandles.h"

namespace SkinUI {

std::thread& CGdiplusWarmUp::Thread() {
  // Joined at exit too: a process that ends without Wait (ExitProcess after a failed skin) must not
  // destroy a running std::thread, which would terminate it with another exit code.
  struct Owner {
    std::thread thread;
    ~Owner() {
      if (thread.joinable()) thread.join();
    }
  };
  static Owner owner;
  return owner.thread;
}

void CGdiplusWarmUp::Start() {
  if (Thread().joinable()) return;
  Thread() = std::thread(&CGdiplusWarmUp::Run);
}

void CGdiplusWarmUp::Wait() {
  // Only the user-interface thread starts and waits, so no lock.
  if (Thread().joinable()) Thread().join();
}

void CGdiplusWarmUp::Run() {
  unique_memory_dc dc(::CreateCompatibleDC(nullptr));
  if (!dc) return;
  Gdiplus::Font font(dc.get(), static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

}  // namespace SkinUI
