#include "GifAnimUI.h"

#include "AttributeTableUI.h"
#include "PaintManagerUI.h"
#include "SkinFileReader.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr UINT kFrameTimerId = 0x47;
// Browsers show a frame with no (or a near-zero) delay for this long.
constexpr int kShortestDelayMs = 20;
constexpr int kDefaultDelayMs = 100;

using Attributes = CAttributeTableUI<CGifAnimUI>;
const Attributes::Entry kGifAnimAttributes[] = {
    {L"bkimage", Attributes::Text<&CGifAnimUI::SetGifImage>},
    {L"autoplay", Attributes::Bool<&CGifAnimUI::SetAutoPlay>},
    {L"autosize", Attributes::Bool<&CGifAnimUI::SetAutoSize>},
};

}  // namespace

CGifAnimUI::CGifAnimUI() : m_timer(this, kFrameTimerId) {}
CGifAnimUI::~CGifAnimUI() = default;

std::wstring CGifAnimUI::GetClassName() const { return L"GifAnimUI"; }

void* CGifAnimUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"GifAnim")) return this;
  return CAnimatedUI::GetInterface(typeName);
}

void CGifAnimUI::OnInitialize() {
  if (m_bAutoPlay) m_bPlaying = true;
  CAnimatedUI::OnInitialize();
}

void CGifAnimUI::HandleEvent(TControlEventUI& event) {
  if (event.Type == UIEvent::Timer && event.WParam == kFrameTimerId) {
    if (m_nFrames > 0) m_nFrame = (m_nFrame + 1) % m_nFrames;
    Invalidate();
    UpdateAnimation();
    return;
  }
  CAnimatedUI::HandleEvent(event);
}

void CGifAnimUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kGifAnimAttributes, *this, name, value)) CAnimatedUI::SetAttribute(name, value);
}

SIZE CGifAnimUI::MeasureSize(SIZE available) {
  if (!m_bAutoSize || !LoadFrames()) return CAnimatedUI::MeasureSize(available);
  return Scale(SIZE{m_frames->width, m_frames->height / m_nFrames});
}

void CGifAnimUI::PaintBackgroundImage(HDC dc) {
  if (!LoadFrames()) return;
  const int height = m_frames->height / m_nFrames;
  const RECT part = {0, m_nFrame * height, m_frames->width, (m_nFrame + 1) * height};
  CSkinRender::DrawNineGrid(dc, m_frames->bitmap.get(), m_rcItem, m_rcPaint, part, RECT{}, true);
}

void CGifAnimUI::SetGifImage(const std::wstring& file) {
  if (file == m_sGifFile) return;
  m_sGifFile = file;
  m_frames.reset();
  m_delays.clear();
  m_nFrames = 0;
  m_nFrame = 0;
  m_bLoadTried = false;
  NeedParentLayout();
  UpdateAnimation();
}

void CGifAnimUI::SetAutoPlay(bool autoPlay) { m_bAutoPlay = autoPlay; }

void CGifAnimUI::SetAutoSize(bool autoSize) {
  m_bAutoSize = autoSize;
  NeedParentLayout();
}

void CGifAnimUI::Play() {
  m_bPlaying = true;
  UpdateAnimation();
}

void CGifAnimUI::Pause() {
  m_bPlaying = false;
  UpdateAnimation();
}

void CGifAnimUI::Stop() {
  m_bPlaying = false;
  m_nFrame = 0;
  UpdateAnimation();
  Invalidate();
}

bool CGifAnimUI::LoadFrames() {
  if (m_frames) return true;
  if (m_bLoadTried || m_sGifFile.empty()) return false;
  m_bLoadTried = true;
  std::vector<uint8_t> bytes;
  if (!ReadSkinOrPlainFile(m_sGifFile, bytes)) return false;
  m_frames = CSkinRender::DecodeGifFrames(bytes.data(), bytes.size(), m_nFrames, m_delays);
  if (!m_frames || m_nFrames <= 0) {
    m_frames.reset();
    m_nFrames = 0;
    return false;
  }
  return true;
}

UINT CGifAnimUI::FrameDelay() const {
  if (m_nFrame >= static_cast<int>(m_delays.size())) return kDefaultDelayMs;
  const int delay = m_delays[static_cast<size_t>(m_nFrame)];
  return static_cast<UINT>(delay <= 0 ? kDefaultDelayMs : (delay < kShortestDelayMs ? kShortestDelayMs : delay));
}

void CGifAnimUI::UpdateAnimation() {
  // One timer per frame: its elapse is the shown frame's delay.
  const bool wanted = m_bPlaying && m_pManager != nullptr && LoadFrames() && m_nFrames > 1;
  m_timer.Update(wanted, wanted ? FrameDelay() : 0);
}

}  // namespace SkinUI
