// The tab layout: one visible page, "tabselect" on a change, the selection kept right across
// insertions and removals, and buttons bound to a page.

#include <gtest/gtest.h>

#include "ButtonUI.h"
#include "ControlTestSupport.h"
#include "TabLayoutUI.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {
namespace {

using test::ControlHost;
using test::Rect;

struct Pages {
  explicit Pages(ControlHost& host, int count = 4) {
    root = new CVerticalLayoutUI();
    tab = new CTabLayoutUI();
    tab->SetName(L"tabInstall");
    for (int i = 0; i < count; ++i) {
      auto* page = new CVerticalLayoutUI();
      page->SetName(L"page" + std::to_wstring(i));
      page->Add(new CButtonUI());
      tab->Add(page);
      pages.push_back(page);
    }
    root->Add(tab);
    host.Attach(root, Rect(0, 0, 700, 420));
  }
  int VisibleCount() const {
    int visible = 0;
    for (int i = 0; i < tab->GetCount(); ++i) visible += tab->GetItemAt(i)->IsVisible() ? 1 : 0;
    return visible;
  }

  CVerticalLayoutUI* root = nullptr;
  CTabLayoutUI* tab = nullptr;
  std::vector<CControlUI*> pages;
};

TEST(TabLayout, FirstVisiblePageIsSelectedAndTheOthersHidden) {
  ControlHost host;
  Pages pages(host);
  EXPECT_EQ(0, pages.tab->GetCurSel());
  EXPECT_TRUE(pages.pages[0]->IsVisible());
  for (int i = 1; i < 4; ++i) EXPECT_FALSE(pages.pages[i]->IsVisible()) << i;
  EXPECT_EQ(1, pages.VisibleCount());
}

TEST(TabLayout, OnlyTheSelectedPageIsLaidOut) {
  ControlHost host;
  Pages pages(host);
  pages.tab->SetPos(Rect(0, 0, 700, 420), false);
  EXPECT_TRUE(test::SameRect(Rect(0, 0, 700, 420), pages.pages[0]->GetPos()));
  EXPECT_EQ(0, pages.pages[2]->GetWidth());
  pages.pages[2]->SetPadding(Rect(10, 20, 30, 40));
  pages.tab->SelectItem(2);
  pages.tab->SetPos(Rect(0, 0, 700, 420), false);
  EXPECT_TRUE(test::SameRect(Rect(10, 20, 670, 380), pages.pages[2]->GetPos()));
}

TEST(TabLayout, SelectingAPageSendsTabselectWithNewAndOldIndex) {
  ControlHost host;
  Pages pages(host);
  EXPECT_TRUE(pages.tab->SelectItem(2));
  EXPECT_EQ(2, pages.tab->GetCurSel());
  EXPECT_TRUE(pages.pages[2]->IsVisible());
  EXPECT_FALSE(pages.pages[0]->IsVisible());
  EXPECT_EQ(1, pages.VisibleCount());
  ASSERT_EQ(1u, host.notes.Count(L"tabselect"));
  const TNotifyMsgUI* note = host.notes.Last(L"tabselect");
  EXPECT_EQ(pages.tab, note->Sender);
  EXPECT_EQ(2u, note->WParam);
  EXPECT_EQ(0, note->LParam);

  host.notes.records.clear();
  EXPECT_TRUE(pages.tab->SelectItem(2));
  EXPECT_EQ(0u, host.notes.Count(L"tabselect"));
  EXPECT_FALSE(pages.tab->SelectItem(4));
  EXPECT_FALSE(pages.tab->SelectItem(-1));
  EXPECT_EQ(2, pages.tab->GetCurSel());
  EXPECT_TRUE(pages.tab->SelectItem(pages.pages[3]));
  EXPECT_EQ(3, pages.tab->GetCurSel());
  CButtonUI stranger;
  EXPECT_FALSE(pages.tab->SelectItem(&stranger));
}

TEST(TabLayout, HiddenPagesAreNotHitTested) {
  ControlHost host;
  Pages pages(host);
  POINT point = {10, 10};
  auto hit = [](CControlUI* control, void*) { return control; };
  CControlUI* found = pages.root->FindControl(hit, &point, kFindVisible | kFindHitTest | kFindTopFirst);
  ASSERT_NE(nullptr, found);
  auto* firstButton = static_cast<CContainerUI*>(pages.pages[0])->GetItemAt(0);
  EXPECT_EQ(firstButton, found);
  pages.tab->SelectItem(1);
  pages.root->SetPos(Rect(0, 0, 700, 420), false);
  found = pages.root->FindControl(hit, &point, kFindVisible | kFindHitTest | kFindTopFirst);
  EXPECT_EQ(static_cast<CContainerUI*>(pages.pages[1])->GetItemAt(0), found);
}

TEST(TabLayout, RemovingTheSelectedPageSelectsTheFirst) {
  ControlHost host;
  Pages pages(host);
  pages.tab->SelectItem(2);
  EXPECT_TRUE(pages.tab->Remove(pages.pages[2]));
  EXPECT_EQ(0, pages.tab->GetCurSel());
  EXPECT_TRUE(pages.pages[0]->IsVisible());
  EXPECT_EQ(1, pages.VisibleCount());

  pages.tab->SelectItem(2);  // was page 3
  EXPECT_TRUE(pages.tab->Remove(pages.pages[0]));
  EXPECT_EQ(1, pages.tab->GetCurSel());
  EXPECT_EQ(pages.pages[3], pages.tab->GetItemAt(1));

  pages.tab->RemoveAll();
  EXPECT_EQ(-1, pages.tab->GetCurSel());
  EXPECT_EQ(0, pages.tab->GetCount());
  host.Pump();
}

TEST(TabLayout, RemovingTheOnlyPageLeavesNoSelection) {
  ControlHost host;
  Pages pages(host, 1);
  EXPECT_TRUE(pages.tab->Remove(pages.pages[0]));
  EXPECT_EQ(-1, pages.tab->GetCurSel());
  EXPECT_FALSE(pages.tab->SelectItem(0));
}

TEST(TabLayout, InsertingBeforeTheSelectionKeepsOnePageVisible) {
  ControlHost host;
  Pages pages(host);
  pages.tab->SelectItem(2);
  auto* inserted = new CVerticalLayoutUI();
  EXPECT_TRUE(pages.tab->AddAt(inserted, 1));
  EXPECT_EQ(3, pages.tab->GetCurSel());
  EXPECT_EQ(pages.pages[2], pages.tab->GetItemAt(3));
  EXPECT_FALSE(inserted->IsVisible());
  EXPECT_EQ(1, pages.VisibleCount());

  auto* after = new CVerticalLayoutUI();
  EXPECT_TRUE(pages.tab->AddAt(after, 5));
  EXPECT_EQ(3, pages.tab->GetCurSel());
  EXPECT_FALSE(after->IsVisible());
}

TEST(TabLayout, SelectedIdAttributeSelectsAndIsKeptAsCustomAttribute) {
  ControlHost host;
  Pages pages(host);
  pages.tab->SetAttribute(L"selectedid", L"3");
  EXPECT_EQ(3, pages.tab->GetCurSel());
  ASSERT_NE(nullptr, pages.tab->GetCustomAttribute(L"selectedid"));
  EXPECT_EQ(L"3", *pages.tab->GetCustomAttribute(L"selectedid"));
}

TEST(TabLayout, BoundButtonSelectsItsPageOnClick) {
  ControlHost host;
  Pages pages(host);
  auto* button = static_cast<CButtonUI*>(static_cast<CContainerUI*>(pages.pages[0])->GetItemAt(0));
  button->SetAttribute(L"bindtablayoutname", L"tabInstall");
  button->SetAttribute(L"bindtabindex", L"3");
  EXPECT_TRUE(button->Activate());
  EXPECT_EQ(3, pages.tab->GetCurSel());
  EXPECT_EQ((std::vector<std::wstring>{L"click", L"tabselect"}), host.notes.Actions());

  button->SelectBoundTab(1);
  EXPECT_EQ(1, pages.tab->GetCurSel());
  button->SetAttribute(L"bindtablayoutname", L"nosuch");
  button->SelectBoundTab(2);
  EXPECT_EQ(1, pages.tab->GetCurSel());
}

}  // namespace
}  // namespace SkinUI
