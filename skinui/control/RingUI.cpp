#include "RingUI.h"

#include <oleacc.h>

#include <cmath>

#include "AttributeTableUI.h"
#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr UINT kRingTimerId = 0x52;
constexpr int kFullTurn = 360;
constexpr double kPi = 3.14159265358979323846;

using Attributes = CAttributeTableUI<CRingUI>;
const Attributes::Entry kRingAttributes[] = {
    {L"angle", Attributes::Int<&CRingUI::SetAngle>},
    {L"step", Attributes::Int<&CRingUI::SetStep>},
    {L"interval", Attributes::Int<&CRingUI::SetInterval>},
};

}  // namespace

CRingUI::CRingUI() : m_timer(this, kRingTimerId) {}
CRingUI::~CRingUI() = default;

std::wstring CRingUI::GetClassName() const { return L"RingUI"; }

void* CRingUI::GetInterface(const std::wstring& typeName) {
  if (attr::EqualsNoCase(typeName, L"Ring")) return this;
  return CAnimatedUI::GetInterface(typeName);
}

void CRingUI::HandleEvent(TControlEventUI& event) {
  if (event.Type == UIEvent::Timer && event.WParam == kRingTimerId) {
    SetAngle(m_nAngle + m_nStep);
    return;
  }
  CAnimatedUI::HandleEvent(event);
}

void CRingUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!Attributes::Apply(kRingAttributes, *this, name, value)) CAnimatedUI::SetAttribute(name, value);
}

void CRingUI::PaintBackgroundImage(HDC dc) {
  if (m_sBkImage.empty() || m_pManager == nullptr) return;
  const TImageDrawUI* info = m_pManager->GetParsedDescriptor(m_sBkImage, L"");
  const TImageDataUI* image =
      info != nullptr ? m_pManager->GetOrLoadImage(info->imageName, info->resourceType, info->mask) : nullptr;
  if (image == nullptr || image->pixels == nullptr) return;

  // The image turned about its centre into a square that holds it at any angle, nearest pixel.
  const int w = image->width;
  const int h = image->height;
  const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(w) * w + static_cast<double>(h) * h)));
  uint32_t* pixels = nullptr;
  unique_hbitmap turned(CreateTopDownDib(nullptr, side, side, &pixels));
  if (!turned || pixels == nullptr) return;
  ::GdiFlush();
  const double radians = m_nAngle * kPi / (kFullTurn / 2);
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double centre = side / 2.0;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const double dx = x + 0.5 - centre;
      const double dy = y + 0.5 - centre;
      const int sx = static_cast<int>(std::floor(c * dx + s * dy + w / 2.0));
      const int sy = static_cast<int>(std::floor(-s * dx + c * dy + h / 2.0));
      pixels[y * side + x] = sx >= 0 && sy >= 0 && sx < w && sy < h ? image->pixels[sy * w + sx] : 0;
    }
  }
  const SIZE scaled = Scale(SIZE{side, side});
  const LONG left = (m_rcItem.left + m_rcItem.right - scaled.cx) / 2;
  const LONG top = (m_rcItem.top + m_rcItem.bottom - scaled.cy) / 2;
  const RECT dest = {left, top, left + scaled.cx, top + scaled.cy};
  CSkinRender::DrawNineGrid(dc, turned.get(), dest, m_rcPaint, RECT{0, 0, side, side}, RECT{}, true);
}

DWORD CRingUI::GetAccessibleRole() const { return ROLE_SYSTEM_GRAPHIC; }

void CRingUI::SetAngle(int degrees) {
  m_nAngle = ((degrees % kFullTurn) + kFullTurn) % kFullTurn;
  Invalidate();
}

void CRingUI::SetStep(int degrees) {
  m_nStep = degrees;
  UpdateAnimation();
}

void CRingUI::SetInterval(int milliseconds) {
  if (milliseconds > 0) m_nInterval = milliseconds;
  UpdateAnimation();
}

void CRingUI::UpdateAnimation() { m_timer.Update(m_nStep != 0, static_cast<UINT>(m_nInterval)); }

}  // namespace SkinUI
