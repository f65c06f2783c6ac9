#include "WindowTestSupport.h"

#include <zlib.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <algorithm>

#include "SkinResource.h"

namespace SkinUITest {
namespace {

void Put16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void AppendToString(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

std::string EncodePng(int width, int height, const std::vector<uint32_t>& argb) {
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < argb.size(); ++i) {
    rgba[i * 4 + 0] = static_cast<uint8_t>(argb[i] >> 16);
    rgba[i * 4 + 1] = static_cast<uint8_t>(argb[i] >> 8);
    rgba[i * 4 + 2] = static_cast<uint8_t>(argb[i]);
    rgba[i * 4 + 3] = static_cast<uint8_t>(argb[i] >> 24);
  }
  std::string png;
  stbi_write_png_to_func(AppendToString, &png, width, height, 4, rgba.data(), width * 4);
  return png;
}

}  // namespace

void PumpPending() {
  MSG msg = {};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!SkinUI::CPaintManagerUI::TranslateUIMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
  const DWORD start = ::GetTickCount();
  PumpPending();
  while (!done()) {
    if (::GetTickCount() - start > limitMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    PumpPending();
  }
  return true;
}

std::vector<uint8_t> MakeZip(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out;
  std::string directory;
  for (const auto& member : members) {
    const std::string& name = member.first;
    const std::string& data = member.second;
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    const uint32_t offset = static_cast<uint32_t>(out.size());
    Put32(out, 0x04034b50);
    Put16(out, 20);
    Put16(out, 0);
    Put16(out, 0);  // stored
    Put16(out, 0);
    Put16(out, 0x21);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(data.size()));
    Put32(out, static_cast<uint32_t>(data.size()));
    Put16(out, static_cast<uint32_t>(name.size()));
    Put16(out, 0);
    out += name;
    out += data;

    Put32(directory, 0x02014b50);
    Put16(directory, 20);
    Put16(directory, 20);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0x21);
    Put32(directory, crc);
    Put32(directory, static_cast<uint32_t>(data.size()));
    Put32(directory, static_cast<uint32_t>(data.size()));
    Put16(directory, static_cast<uint32_t>(name.size()));
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put32(directory, 0);
    Put32(directory, offset);
    directory += name;
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
  out += directory;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);
  return std::vector<uint8_t>(out.begin(), out.end());
}

std::string MakeSolidPng(int width, int height, uint32_t argb) {
  return EncodePng(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb));
}

std::string MakeStripedPng(int stripeWidth, int height, const std::vector<uint32_t>& argb) {
  const int width = stripeWidth * static_cast<int>(argb.size());
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = argb[x / stripeWidth];
  return EncodePng(width, height, pixels);
}

std::string MakeSolidGif(int width, int height, const std::vector<uint32_t>& frameRgb, int delayCs) {
  constexpr int kColours = 4;  // a 2-bit palette: LZW codes 0-3, clear 4, end 5, 3 bits each
  constexpr uint32_t kClear = 4;
  constexpr uint32_t kEnd = 5;
  std::string out = "GIF89a";
  Put16(out, static_cast<uint32_t>(width));
  Put16(out, static_cast<uint32_t>(height));
  out += static_cast<char>(0xF1);  // global palette of 4 entries
  out += '\0';
  out += '\0';
  for (int i = 0; i < kColours; ++i) {
    const uint32_t rgb = i < static_cast<int>(frameRgb.size()) ? frameRgb[static_cast<size_t>(i)] : 0;
    out += static_cast<char>(rgb >> 16);
    out += static_cast<char>(rgb >> 8);
    out += static_cast<char>(rgb);
  }
  out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
  Put16(out, 0);  // loop for ever
  out += '\0';
  for (size_t frame = 0; frame < frameRgb.size(); ++frame) {
    out += "\x21\xF9\x04";
    out += '\0';
    Put16(out, static_cast<uint32_t>(delayCs));
    out += '\0';
    out += '\0';
    out += '\x2C';
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(width));
    Put16(out, static_cast<uint32_t>(height));
    out += '\0';
    out += '\x02';  // minimum code size
    // A clear code before every second pixel keeps the decoder's table, and so the code size, small.
    std::string data;
    uint32_t bits = 0;
    int count = 0;
    auto emit = [&](uint32_t code) {
      bits |= code << count;
      count += 3;
      while (count >= 8) {
        data += static_cast<char>(bits & 0xFF);
        bits >>= 8;
        count -= 8;
      }
    };
    for (int i = 0; i < width * height; ++i) {
      if (i % 2 == 0) emit(kClear);
      emit(static_cast<uint32_t>(frame));
    }
    emit(kEnd);
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    for (size_t at = 0; at < data.size(); at += 255) {
      const size_t size = std::min<size_t>(255, data.size() - at);
      out += static_cast<char>(size);
      out += data.substr(at, size);
    }
    out += '\0';
  }
  out += '\x3B';
  return out;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], length, nullptr, nullptr);
  return out;
}

MemorySkin::MemorySkin(std::vector<uint8_t> zip) : bytes_(std::move(zip)) {
  SkinUI::CSkinResource::SetResourceZip(L"");
  SkinUI::CSkinResource::SetResourceZipMemory(bytes_.data(), bytes_.size());
}

MemorySkin::~MemorySkin() { SkinUI::CSkinResource::SetResourceZip(L""); }

bool EventLog::Listener::OnEvent(void* param) {
  const auto* event = static_cast<const SkinUI::TControlEventUI*>(param);
  log->entries_.push_back(name + L":" + std::to_wstring(event->Type));
  return true;
}

void EventLog::Watch(SkinUI::CControlUI* control) {
  if (control == nullptr) return;
  listeners_.push_back(std::unique_ptr<Listener>(new Listener{this, control->GetName()}));
  control->OnEvent += SkinUI::MakeDelegate(listeners_.back().get(), &Listener::OnEvent);
}

int EventLog::Find(const std::wstring& text, int from) const {
  for (size_t i = static_cast<size_t>(std::max(from, 0)); i < entries_.size(); ++i)
    if (entries_[i] == text) return static_cast<int>(i);
  return -1;
}

int EventLog::Count(const std::wstring& text) const {
  return static_cast<int>(std::count(entries_.begin(), entries_.end(), text));
}

TestWindow::~TestWindow() {
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  PumpPending();
}

bool TestWindow::Open(HWND owner) {
  if (Create(owner, L"SkinUI test", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) return false;
  ::SetWindowPos(m_hWnd, HWND_TOP, kLeft, kTop, 0, 0, SWP_NOSIZE);
  ::ShowWindow(m_hWnd, SW_SHOW);
  ::SetForegroundWindow(m_hWnd);
  ::UpdateWindow(m_hWnd);
  PumpPending();
  return ::IsWindow(m_hWnd) != FALSE;
}

void TestWindow::Notify(SkinUI::TNotifyMsgUI& msg) {
  notes.push_back(msg.Type + L":" + (msg.Sender != nullptr ? msg.Sender->GetName() : std::wstring()));
  if (onNotify) onNotify(msg);
  WindowImplBase::Notify(msg);
}

int TestWindow::NoteCount(const std::wstring& note) const {
  return static_cast<int>(std::count(notes.begin(), notes.end(), note));
}

int TestWindow::NoteIndex(const std::wstring& note) const {
  auto it = std::find(notes.begin(), notes.end(), note);
  return it == notes.end() ? -1 : static_cast<int>(it - notes.begin());
}

void TestWindow::MouseMove(int x, int y) {
  ::SetCursorPos(kLeft + x, kTop + y);
  ::PostMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PumpPending();
}

void TestWindow::MouseDown(int x, int y) {
  ::PostMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PumpPending();
}

void TestWindow::MouseUp(int x, int y) {
  ::PostMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  PumpPending();
}

void TestWindow::Click(int x, int y) {
  MouseMove(x, y);
  MouseDown(x, y);
  MouseUp(x, y);
}

void TestWindow::Key(WPARAM key) {
  ::PostMessageW(m_hWnd, WM_KEYDOWN, key, 1);
  ::PostMessageW(m_hWnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  PumpPending();
}

void TestWindow::Paint() {
  ::UpdateWindow(m_hWnd);
  PumpPending();
}

uint32_t TestWindow::Pixel(int x, int y) const {
  const uint32_t* bits = m_pm.GetOffscreenBits();
  const SIZE size = m_pm.GetOffscreenSize();
  if (bits == nullptr || x < 0 || y < 0 || x >= size.cx || y >= size.cy) return 0xDEADBEEF;
  return bits[static_cast<size_t>(y) * size.cx + x] & 0x00FFFFFFu;
}

int CountPixels(const TestWindow& window, const RECT& area, uint32_t rgb) {
  int count = 0;
  for (LONG y = area.top; y < area.bottom; ++y)
    for (LONG x = area.left; x < area.right; ++x)
      if (window.Pixel(x, y) == rgb) ++count;
  return count;
}

}  // namespace SkinUITest
