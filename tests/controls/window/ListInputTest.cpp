// Lists driven by mouse, wheel and key messages posted to a real window: selection, clicks and
// activation with their notifications, keyboard movement that skips disabled rows and scrolls
// the selection into view, header columns that resize by dragging, and the row colours.

#include <gtest/gtest.h>

#include "ListHeaderItemUI.h"
#include "ListLabelElementUI.h"
#include "ListUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kSelected = 0x0000FF;
constexpr uint32_t kHot = 0x00FF00;
constexpr uint32_t kText = 0x000000;

// The list is 200 x 120 at (10,10): a 24-pixel header, then a body of 96 pixels with ten rows of
// 22 (a scroll range of 124) and its bar at x 194..210.
std::wstring ListSkin() {
  std::wstring rows;
  for (int i = 0; i < 10; ++i) {
    rows += L"<ListTextElement name=\"row" + std::to_wstring(i) + L"\" text=\"WWW|MMM\"" +
            (i == 3 ? L" enabled=\"false\"" : L"") + L"/>";
  }
  return L"<Window size=\"400,300\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
         L"<List name=\"list\" float=\"true\" pos=\"10,10,210,130\" itembkcolor=\"#FFFFFFFF\" "
         L"itemselectedbkcolor=\"#FF0000FF\" itemhotbkcolor=\"#FF00FF00\" itemtextcolor=\"#FF000000\" "
         L"itemtextpadding=\"4,0,4,0\">"
         L"<ListHeader bkcolor=\"#FF808080\"><ListHeaderItem name=\"col0\" width=\"80\" text=\"Name\"/>"
         L"<ListHeaderItem name=\"col1\" text=\"Size\"/></ListHeader>" +
         rows +
         L"</List>"
         L"<List name=\"boxes\" float=\"true\" pos=\"220,10,390,100\" itemselectedbkcolor=\"#FF0000FF\">"
         L"<ListContainerElement name=\"box0\"><Button name=\"btn\" width=\"40\"/><Control/></ListContainerElement>"
         L"<ListContainerElement name=\"box1\"/>"
         L"</List>"
         L"</VerticalLayout></Window>";
}

class ListInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  CListUI* List(const wchar_t* name = L"list") { return static_cast<CListUI*>(window.Find(name)); }
  // The y of a row's middle while the list is not scrolled.
  static int RowY(int index) { return 34 + index * 22 + 11; }
  TestWindow window{ListSkin()};
};

TEST_F(ListInput, ClicksSelectAndKeysMoveTheSelectionIntoView) {
  CListUI* list = List();
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(10, list->GetCount());
  EXPECT_EQ(124, list->GetScrollRange().cy);

  window.Click(185, RowY(1));
  EXPECT_EQ(1, list->GetCurSel());
  EXPECT_EQ(1, window.NoteCount(L"itemselect:list"));
  EXPECT_EQ(1, window.NoteCount(L"itemclick:list"));
  EXPECT_LT(window.NoteIndex(L"itemselect:list"), window.NoteIndex(L"itemclick:list"));
  window.MouseMove(300, 250);
  window.Paint();
  EXPECT_EQ(kSelected, window.Pixel(185, RowY(1)));
  EXPECT_EQ(kWhite, window.Pixel(185, RowY(0)));

  // A disabled row is neither clicked nor stopped at.
  window.Click(185, RowY(3));
  EXPECT_EQ(1, list->GetCurSel());
  window.Key(VK_DOWN);
  EXPECT_EQ(2, list->GetCurSel());
  window.Key(VK_DOWN);
  EXPECT_EQ(4, list->GetCurSel());
  // Row 4 (122..144) was below the body's bottom (130): scrolled just enough.
  EXPECT_EQ(14, list->GetScrollPos().cy);
  EXPECT_EQ(130, window.Find(L"row4")->GetPos().bottom);

  window.Key(VK_END);
  EXPECT_EQ(9, list->GetCurSel());
  EXPECT_EQ(124, list->GetScrollPos().cy);
  window.Key(VK_HOME);
  EXPECT_EQ(0, list->GetCurSel());
  EXPECT_EQ(0, list->GetScrollPos().cy);
  window.Key(VK_NEXT);  // four whole rows in view
  EXPECT_EQ(4, list->GetCurSel());
  window.Key(VK_PRIOR);
  EXPECT_EQ(0, list->GetCurSel());
  const int selects = window.NoteCount(L"itemselect:list");
  window.Key(VK_UP);
  EXPECT_EQ(0, list->GetCurSel());
  EXPECT_EQ(selects, window.NoteCount(L"itemselect:list"));
  EXPECT_EQ(7, selects);

  window.Key(VK_RETURN);
  EXPECT_EQ(1, window.NoteCount(L"itemactivate:list"));
  const LPARAM at = MAKELPARAM(185, RowY(2));
  ::PostMessageW(window.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(window.GetHWND(), WM_LBUTTONUP, 0, at);
  ::PostMessageW(window.GetHWND(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::PostMessageW(window.GetHWND(), WM_LBUTTONUP, 0, at);
  PumpPending();
  EXPECT_EQ(2, list->GetCurSel());
  EXPECT_EQ(2, window.NoteCount(L"itemactivate:list"));

  // Hot under the mouse, selected wins over hot.
  window.MouseMove(185, RowY(0));
  window.Paint();
  EXPECT_EQ(kHot, window.Pixel(185, RowY(0)));
  window.MouseMove(185, RowY(2));
  window.Paint();
  EXPECT_EQ(kSelected, window.Pixel(185, RowY(2)));
  EXPECT_EQ(kWhite, window.Pixel(185, RowY(0)));
}

TEST_F(ListInput, HeaderColumnsPlaceTheTextsAndResizeByDragging) {
  CListUI* list = List();
  window.Paint();
  ASSERT_EQ(2u, list->GetListInfo()->columns.size());
  EXPECT_EQ(90, list->GetListInfo()->columns[0].right);
  // Each column's text starts after the item padding at its column's left edge.
  const RECT firstCell = {10, 34, 90, 56};
  const RECT secondCell = {90, 34, 194, 56};
  EXPECT_GT(CountPixels(window, firstCell, kText), 0);
  EXPECT_GT(CountPixels(window, secondCell, kText), 0);
  EXPECT_EQ(0, CountPixels(window, RECT{10, 34, 14, 56}, kText));
  EXPECT_EQ(0, CountPixels(window, RECT{90, 34, 94, 56}, kText));

  // The band at col0's right edge (86..90) drags the column 20 pixels wider.
  window.MouseMove(88, 20);
  window.MouseDown(88, 20);
  window.MouseMove(108, 20);
  window.MouseUp(108, 20);
  window.Paint();
  EXPECT_EQ(110, list->GetListInfo()->columns[0].right);
  EXPECT_EQ(0, CountPixels(window, RECT{110, 34, 114, 56}, kText));
  EXPECT_GT(CountPixels(window, RECT{114, 34, 194, 56}, kText), 0);
  EXPECT_EQ(0, window.NoteCount(L"headerclick:col0"));
  window.Click(40, 20);
  EXPECT_EQ(1, window.NoteCount(L"headerclick:col0"));

  // The wheel over a row scrolls the body.
  ::PostMessageW(window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(TestWindow::kLeft + 50, TestWindow::kTop + RowY(1)));
  PumpPending();
  EXPECT_EQ(8, list->GetScrollPos().cy);
  EXPECT_EQ(-1, list->GetCurSel());
}

TEST_F(ListInput, ContainerRowsSelectAroundTheirOwnControls) {
  CListUI* boxes = List(L"boxes");
  // No header items: the header takes no room and the rows start at the top.
  EXPECT_EQ(10, window.Find(L"box0")->GetPos().top);
  window.Click(240, 20);  // the button in row 0
  EXPECT_EQ(1, window.NoteCount(L"click:btn"));
  EXPECT_EQ(-1, boxes->GetCurSel());
  window.Click(300, 20);  // the plain control beside it
  EXPECT_EQ(0, boxes->GetCurSel());
  window.Click(300, 40);  // row 1
  EXPECT_EQ(1, boxes->GetCurSel());
  EXPECT_EQ(2, window.NoteCount(L"itemselect:boxes"));
  window.Key(VK_UP);
  EXPECT_EQ(0, boxes->GetCurSel());
  window.MouseMove(300, 250);
  window.Paint();
  EXPECT_EQ(kSelected, window.Pixel(300, 20));
  EXPECT_NE(kSelected, window.Pixel(300, 40));
}

TEST_F(ListInput, AddingAndRemovingRowsKeepsTheSelectionOnItsRow) {
  CListUI* list = List();
  ASSERT_TRUE(list->SelectItem(2));
  CControlUI* selected = list->GetItemAt(2);
  auto* added = new CListLabelElementUI();
  ASSERT_TRUE(list->AddAt(added, 0));
  EXPECT_EQ(3, list->GetCurSel());
  EXPECT_EQ(selected, list->GetItemAt(3));
  for (int i = 0; i < list->GetCount(); ++i) {
    auto* item = static_cast<IListItemUI*>(list->GetItemAt(i)->GetInterface(L"ListItem"));
    EXPECT_EQ(i, item->GetIndex());
  }
  EXPECT_EQ(list, list->GetItemAt(0)->GetParent()->GetParent());
  ASSERT_TRUE(list->RemoveAt(0));
  EXPECT_EQ(2, list->GetCurSel());
  ASSERT_TRUE(list->Remove(selected));
  EXPECT_EQ(-1, list->GetCurSel());
  EXPECT_EQ(9, list->GetCount());
  // Clicks on the renumbered rows still select the row under the mouse (row3 is the disabled one).
  window.Paint();
  window.Click(185, RowY(2));
  EXPECT_EQ(-1, list->GetCurSel());
  window.Click(185, RowY(3));
  EXPECT_EQ(3, list->GetCurSel());
  EXPECT_EQ(L"row4", list->GetItemAt(3)->GetName());
}

}  // namespace
