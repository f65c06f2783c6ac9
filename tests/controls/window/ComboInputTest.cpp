// Combo boxes driven by mouse, wheel and key messages posted to real windows: the popup opens
// under the face with the rows, a row click selects and closes it, keys select with the popup
// open or closed, and a click outside closes it. Pixels are read from both windows' buffers.

#include <gtest/gtest.h>

#include "ComboBoxUI.h"
#include "ComboWnd.h"
#include "VerticalLayoutUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kSelected = 0x0000FF;
constexpr uint32_t kArrow = 0x404040;
constexpr uint32_t kDisabledArrow = 0xA0A0A0;
constexpr int kRowHeight = 22;

std::wstring ComboSkin() {
  std::wstring rows;
  for (int i = 0; i < 8; ++i) {
    rows += L"<ListLabelElement name=\"item" + std::to_wstring(i) + L"\" text=\"Item " + std::to_wstring(i) +
            L"\"" + (i == 2 ? L" enabled=\"false\"" : L"") + L"/>";
  }
  return L"<Window size=\"300,250\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
         L"<Combo name=\"combo\" float=\"true\" pos=\"10,10,160,34\" bkcolor=\"#FFFFFFFF\" textcolor=\"#FF000000\" "
         L"textpadding=\"4,0,4,0\" dropboxsize=\"0,100\" itemtextcolor=\"#FF000000\" "
         L"itemselectedbkcolor=\"#FF0000FF\" itemtextpadding=\"4,0,0,0\">" +
         rows +
         L"</Combo>"
         L"<ComboBox name=\"box\" float=\"true\" pos=\"10,200,160,224\" bkcolor=\"#FFFFFFFF\" selectedid=\"1\">"
         L"<ListLabelElement text=\"A\"/><ListLabelElement text=\"B\"/><ListLabelElement text=\"C\"/>"
         L"</ComboBox>"
         L"</VerticalLayout></Window>";
}

uint32_t PopupPixel(CComboWnd* popup, int x, int y) {
  const uint32_t* bits = popup->GetPaintManager().GetOffscreenBits();
  const SIZE size = popup->GetPaintManager().GetOffscreenSize();
  if (bits == nullptr || x < 0 || y < 0 || x >= size.cx || y >= size.cy) return 0xDEADBEEF;
  return bits[static_cast<size_t>(y) * size.cx + x] & 0x00FFFFFFu;
}

class ComboInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  CComboUI* Combo(const wchar_t* name = L"combo") { return static_cast<CComboUI*>(window.Find(name)); }
  // Posts a message to the popup (client coordinates) and runs it.
  static void ToPopup(CComboWnd* popup, UINT message, WPARAM wParam, int x = 0, int y = 0) {
    ::PostMessageW(popup->GetHWND(), message, wParam, MAKELPARAM(x, y));
    PumpPending();
  }
  bool WaitClosed(CComboUI* combo) {
    return PumpUntil([combo] { return !combo->IsDropped(); });
  }
  TestWindow window{ComboSkin()};
};

TEST_F(ComboInput, AClickOpensThePopupAndARowClickSelectsAndClosesIt) {
  CComboUI* combo = Combo();
  ASSERT_NE(nullptr, combo);
  EXPECT_EQ(8, combo->GetCount());
  window.Click(50, 22);
  ASSERT_TRUE(combo->IsDropped());
  EXPECT_EQ(1, window.NoteCount(L"dropdown:combo"));
  CComboWnd* popup = combo->GetDropWindow();
  RECT placed = {};
  ::GetWindowRect(popup->GetHWND(), &placed);
  EXPECT_EQ(TestWindow::kLeft + 10, placed.left);
  EXPECT_EQ(TestWindow::kTop + 34, placed.top);
  EXPECT_EQ(150, placed.right - placed.left);
  EXPECT_EQ(100, placed.bottom - placed.top);
  EXPECT_EQ(popup->GetHWND(), ::GetFocus());

  // The popup's client starts inside its one-pixel border; the rows are 22 high.
  ::UpdateWindow(popup->GetHWND());
  PumpPending();
  EXPECT_EQ(kWhite, PopupPixel(popup, 120, 11));
  const int rowY = 3 * kRowHeight + kRowHeight / 2;  // the middle of row 3
  ToPopup(popup, WM_MOUSEMOVE, 0, 120, rowY);
  ToPopup(popup, WM_LBUTTONDOWN, MK_LBUTTON, 120, rowY);
  EXPECT_EQ(3, combo->GetCurSel());
  EXPECT_EQ(1, window.NoteCount(L"itemselect:combo"));
  ::UpdateWindow(popup->GetHWND());
  PumpPending();
  EXPECT_EQ(kSelected, PopupPixel(popup, 120, rowY));
  ToPopup(popup, WM_LBUTTONUP, 0, 120, rowY);
  ASSERT_TRUE(WaitClosed(combo));

  // The face shows the chosen row's text, and the rows are the combo's again.
  EXPECT_EQ(L"Item 3", combo->GetText());
  EXPECT_EQ(window.Manager().GetPaintWindow(), combo->GetItemAt(3)->GetManager()->GetPaintWindow());
  window.Paint();
  EXPECT_GT(CountPixels(window, RECT{10, 10, 160, 34}, kBlack), 0);
  EXPECT_EQ(1, window.NoteCount(L"itemselect:combo"));
}

TEST_F(ComboInput, KeysSelectOpenOrClosedAndAClickOutsideCloses) {
  CComboUI* combo = Combo();
  window.Manager().SetFocus(combo);
  window.Key(VK_DOWN);
  EXPECT_EQ(0, combo->GetCurSel());
  window.Key(VK_DOWN);
  window.Key(VK_DOWN);  // row 2 is disabled
  EXPECT_EQ(3, combo->GetCurSel());
  window.Key(VK_END);
  EXPECT_EQ(7, combo->GetCurSel());
  window.Key(VK_HOME);
  EXPECT_EQ(0, combo->GetCurSel());
  EXPECT_FALSE(combo->IsDropped());
  EXPECT_EQ(5, window.NoteCount(L"itemselect:combo"));

  window.Key(VK_F4);
  ASSERT_TRUE(combo->IsDropped());
  CComboWnd* popup = combo->GetDropWindow();
  ToPopup(popup, WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(1, combo->GetCurSel());
  // Row 7 (154..176) lies below the 98-pixel view: selecting it scrolls it into view.
  ToPopup(popup, WM_KEYDOWN, VK_END);
  EXPECT_EQ(7, combo->GetCurSel());
  EXPECT_EQ(176 - 98, popup->GetLayout()->GetScrollPos().cy);
  ToPopup(popup, WM_KEYDOWN, VK_ESCAPE);
  ASSERT_TRUE(WaitClosed(combo));
  EXPECT_EQ(7, combo->GetCurSel());

  window.Click(50, 22);
  ASSERT_TRUE(combo->IsDropped());
  // The owner's paint manager takes the focus on a press, which closes the popup. (Posted
  // presses do not activate windows under Wine or Windows; a real click would also activate
  // the owner, with the same end.)
  window.Click(250, 150);
  EXPECT_TRUE(WaitClosed(combo));
  EXPECT_EQ(7, combo->GetCurSel());
  EXPECT_EQ(2, window.NoteCount(L"dropdown:combo"));
}

TEST_F(ComboInput, TheComboBoxDrawsItsArrowAndTheWheelSelects) {
  auto* box = static_cast<CComboBoxUI*>(Combo(L"box")->GetInterface(L"ComboBox"));
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(1, box->GetCurSel());
  EXPECT_EQ(L"B", box->GetText());
  window.Paint();
  const RECT arrow = box->GetArrowRect();
  EXPECT_EQ(160 - 24, arrow.left);
  EXPECT_GT(CountPixels(window, arrow, kArrow), 10);
  EXPECT_GT(CountPixels(window, RECT{10, 200, arrow.left, 224}, kBlack), 0);

  ::PostMessageW(window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(TestWindow::kLeft + 50, TestWindow::kTop + 212));
  PumpPending();
  EXPECT_EQ(2, box->GetCurSel());
  EXPECT_EQ(1, window.NoteCount(L"itemselect:box"));

  box->SetEnabled(false);
  window.Paint();
  EXPECT_EQ(0, CountPixels(window, arrow, kArrow));
  EXPECT_GT(CountPixels(window, arrow, kDisabledArrow), 10);
  window.Click(50, 212);
  EXPECT_FALSE(box->IsDropped());
}

TEST_F(ComboInput, ChangingTheRowsOrRemovingTheComboClosesThePopup) {
  CComboUI* combo = Combo();
  ASSERT_TRUE(combo->SelectItem(4));
  window.Click(50, 22);
  ASSERT_TRUE(combo->IsDropped());
  ASSERT_TRUE(combo->RemoveAt(0));
  ASSERT_TRUE(WaitClosed(combo));
  EXPECT_EQ(3, combo->GetCurSel());
  EXPECT_EQ(L"Item 4", combo->GetText());

  // The combo goes while its popup is open: the popup window goes with it.
  window.Click(50, 22);
  ASSERT_TRUE(combo->IsDropped());
  const HWND popup = combo->GetDropWindow()->GetHWND();
  auto* parent = static_cast<CContainerUI*>(combo->GetParent());
  ASSERT_TRUE(parent->Remove(combo));
  PumpPending();
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_EQ(nullptr, window.Find(L"combo"));
  EXPECT_EQ(nullptr, window.Find(L"item4"));
}

}  // namespace

