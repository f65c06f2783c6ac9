#pragma once
// Shared pieces of the window tests: a skinned test window, a message pump that goes through
// the toolkit's pre-translation, event recorders, and skin archives built in memory.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ControlUI.h"
#include "PaintManagerUI.h"
#include "WindowImplBase.h"

namespace SkinUITest {

// Runs every pending message through the toolkit's translation, then the platform's.
void PumpPending();
// Pumps until done() holds; false when it did not within the limit.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 5000);

// A stored (uncompressed) ZIP archive of the named members.
std::vector<uint8_t> MakeZip(const std::vector<std::pair<std::string, std::string>>& members);
// A PNG of one colour (0xAARRGGBB).
std::string MakeSolidPng(int width, int height, uint32_t argb);
// A PNG of equal vertical stripes, one colour each, left to right.
std::string MakeStripedPng(int stripeWidth, int height, const std::vector<uint32_t>& argb);
// An animated GIF of solid frames (0xRRGGBB each, up to four colours), each shown for
// delayCs hundredths of a second.
std::string MakeSolidGif(int width, int height, const std::vector<uint32_t>& frameRgb, int delayCs);
std::string Utf8(const std::wstring& text);

// Makes the archive the process's skin source for as long as the object lives.
class MemorySkin {
 public:
  explicit MemorySkin(std::vector<uint8_t> zip);
  ~MemorySkin();
  MemorySkin(const MemorySkin&) = delete;
  MemorySkin& operator=(const MemorySkin&) = delete;

 private:
  std::vector<uint8_t> bytes_;
};

// Records the events a control receives as "name:code" through its OnEvent listeners.
class EventLog {
 public:
  void Watch(SkinUI::CControlUI* control);
  const std::vector<std::wstring>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }
  // Index of the first entry equal to text at or after from, or -1.
  int Find(const std::wstring& text, int from = 0) const;
  int Count(const std::wstring& text) const;

 private:
  struct Listener {
    EventLog* log;
    std::wstring name;
    bool OnEvent(void* param);
  };
  std::vector<std::unique_ptr<Listener>> listeners_;
  std::vector<std::wstring> entries_;
};

// A popup window built from skin markup (or a skin file name), shown at a fixed screen spot.
class TestWindow : public SkinUI::WindowImplBase {
 public:
  static constexpr int kLeft = 40;
  static constexpr int kTop = 30;

  explicit TestWindow(std::wstring skin) : skin_(std::move(skin)) {}
  ~TestWindow() override;

  // Creates, shows and paints the window; false when it does not exist afterwards.
  bool Open(HWND owner = nullptr);
  SkinUI::CPaintManagerUI& Manager() { return m_pm; }
  SkinUI::CControlUI* Find(const wchar_t* name) { return m_pm.FindControl(std::wstring(name)); }

  // Notifications seen, as "type:sender".
  std::vector<std::wstring> notes;
  std::function<void(SkinUI::TNotifyMsgUI&)> onNotify;
  int NoteCount(const std::wstring& note) const;
  int NoteIndex(const std::wstring& note) const;

  // Input in client coordinates, posted to the window; the cursor follows the mouse.
  void MouseMove(int x, int y);
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);
  void Click(int x, int y);
  void Key(WPARAM key);
  // Paints whatever is invalid now; the back buffer then holds the picture.
  void Paint();
  uint32_t Pixel(int x, int y) const;

  const wchar_t* GetWindowClassName() const override { return L"SkinUITestWindow"; }
  std::wstring QuerySkinFile() override { return skin_; }
  void Notify(SkinUI::TNotifyMsgUI& msg) override;

 private:
  std::wstring skin_;
};

// How many pixels of the window's back buffer in area have the colour rgb (0xRRGGBB).
int CountPixels(const TestWindow& window, const RECT& area, uint32_t rgb);

}  // namespace SkinUITest
