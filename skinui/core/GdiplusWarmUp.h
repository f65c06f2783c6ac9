#pragma once
// The first GDI+ font of a process is slow to make (GDI+ lists the installed fonts first). Start()
// makes one on a thread of its own while the window and its controls are built; Wait() is called
// before the first GDI+ text on the user-interface thread and before GdiplusShutdown.

#include <thread>

namespace SkinUI {

class CGdiplusWarmUp {
 public:
  // After GdiplusStartup; a second start while one runs does nothing.
  static void Start();
  // Returns once the warm-up thread, if any, has ended. Cheap after the first call.
  static void Wait();

 private:
  static void Run();
  static std::thread& Thread();
};

}  // namespace SkinUI
