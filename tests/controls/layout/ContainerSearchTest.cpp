// FindControl flags on control trees, the minimal scroll bars and the layout separator.

#include <gtest/gtest.h>

#include <vector>

#include "ButtonUI.h"
#include "ContainerUI.h"
#include "ControlTestSupport.h"
#include "HorizontalLayoutUI.h"
#include "ScrollBarUI.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {
namespace {

using test::ControlHost;
using test::Rect;
using test::Send;

constexpr UINT kHitFlags = kFindVisible | kFindHitTest | kFindTopFirst;

CControlUI* Self(CControlUI* control, void*) { return control; }

CControlUI* HitAt(CControlUI* root, POINT point) { return root->FindControl(Self, &point, kHitFlags); }

std::vector<CControlUI*> g_visited;
CControlUI* Visit(CControlUI* control, void*) {
  g_visited.push_back(control);
  return nullptr;
}

TEST(FindControl, LastChildWinsAndContainersAnswerWhereNoChildIs) {
  ControlHost host;
  auto* root = new CContainerUI();
  auto* under = new CButtonUI();
  under->ApplyAttributeList(L"float=\"true\" pos=\"0,0,50,50\"");
  auto* over = new CButtonUI();
  over->ApplyAttributeList(L"float=\"true\" pos=\"25,25,75,75\"");
  root->Add(under);
  root->Add(over);
  host.Attach(root, Rect(0, 0, 200, 100));
  EXPECT_EQ(over, HitAt(root, POINT{30, 30}));
  EXPECT_EQ(under, HitAt(root, POINT{10, 10}));
  EXPECT_EQ(root, HitAt(root, POINT{150, 90}));
  EXPECT_EQ(nullptr, HitAt(root, POINT{250, 10}));
  EXPECT_EQ(over, host.manager.FindControl(POINT{30, 30}));

  over->SetMouseEnabled(false);
  EXPECT_EQ(under, HitAt(root, POINT{30, 30}));
  root->SetMouseChildEnabled(false);
  EXPECT_EQ(root, HitAt(root, POINT{10, 10}));
  root->SetMouseEnabled(false);
  EXPECT_EQ(nullptr, HitAt(root, POINT{10, 10}));
}

TEST(FindControl, NonFloatingChildrenAreFoundOnlyInsideTheInnerArea) {
  ControlHost host;
  auto* root = new CContainerUI();
  root->SetAttribute(L"inset", L"10,10,10,10");
  auto* inner = new CButtonUI();
  auto* floating = new CButtonUI();
  floating->ApplyAttributeList(L"float=\"true\" pos=\"0,0,8,8\"");
  root->Add(inner);
  root->Add(floating);
  host.Attach(root, Rect(0, 0, 100, 100));
  inner->SetPos(Rect(0, 0, 100, 100), false);
  EXPECT_EQ(inner, HitAt(root, POINT{50, 50}));
  EXPECT_EQ(root, HitAt(root, POINT{95, 50}));
  EXPECT_EQ(floating, HitAt(root, POINT{2, 2}));
}

TEST(FindControl, OrderFlagsDecideWhoIsAskedFirst) {
  ControlHost host;
  auto* root = new CVerticalLayoutUI();
  auto* a = new CControlUI();
  auto* b = new CControlUI();
  root->Add(a);
  root->Add(b);
  host.Attach(root);
  g_visited.clear();
  root->FindControl(Visit, nullptr, 0);
  EXPECT_EQ((std::vector<CControlUI*>{a, b, root}), g_visited);
  g_visited.clear();
  root->FindControl(Visit, nullptr, kFindMeFirst | kFindTopFirst);
  EXPECT_EQ((std::vector<CControlUI*>{root, b, a}), g_visited);

  b->SetEnabled(false);
  g_visited.clear();
  root->FindControl(Visit, nullptr, kFindEnabled);
  EXPECT_EQ((std::vector<CControlUI*>{a, root}), g_visited);

  // An update test that accepts the container keeps its subtree out of the search.
  auto accept = [](CControlUI* control, void*) -> CControlUI* {
    g_visited.push_back(control);
    return control;
  };
  g_visited.clear();
  EXPECT_EQ(nullptr, root->FindControl(accept, nullptr, kFindUpdateTest));
  EXPECT_EQ((std::vector<CControlUI*>{root}), g_visited);
}

TEST(ScrollBar, VerticalBarTakesItsWidthAndScrollsTheChildren) {
  ControlHost host;
  auto* list = new CVerticalLayoutUI();
  for (int i = 0; i < 5; ++i) {
    auto* row = new CControlUI();
    row->SetFixedHeight(40);
    list->Add(row);
  }
  list->SetAttribute(L"vscrollbar", L"true");
  host.Attach(list, Rect(0, 0, 100, 100));
  CScrollBarUI* bar = list->GetVerticalScrollBar();
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(100, bar->GetScrollRange());
  EXPECT_TRUE(test::SameRect(Rect(84, 0, 100, 100), bar->GetPos()));
  EXPECT_TRUE(test::SameRect(Rect(0, 0, 84, 40), list->GetItemAt(0)->GetPos()));

  list->LineDown();
  EXPECT_EQ(8, list->GetScrollPos().cy);
  EXPECT_EQ(-8, list->GetItemAt(0)->GetPos().top);
  list->EndDown();
  EXPECT_EQ(100, list->GetScrollPos().cy);
  EXPECT_EQ(60, list->GetItemAt(4)->GetPos().top);
  list->PageDown();
  EXPECT_EQ(100, list->GetScrollPos().cy);
  list->HomeUp();
  EXPECT_EQ(0, list->GetItemAt(0)->GetPos().top);

  TControlEventUI wheel = test::MakeEvent(list, UIEvent::ScrollWheel);
  wheel.WParam = 1;
  list->Event(wheel);
  EXPECT_EQ(8, list->GetScrollPos().cy);
  TControlEventUI key = test::MakeEvent(list, UIEvent::KeyDown, POINT{}, VK_HOME);
  list->Event(key);
  EXPECT_EQ(0, list->GetScrollPos().cy);

  // Content that fits needs no range; the position follows it back to 0.
  list->EndDown();
  list->RemoveAt(4);
  list->RemoveAt(3);
  list->RemoveAt(2);
  list->SetPos(Rect(0, 0, 100, 100), false);
  EXPECT_EQ(0, bar->GetScrollRange());
  EXPECT_EQ(0, list->GetScrollPos().cy);
  EXPECT_EQ(0, list->GetItemAt(0)->GetPos().top);
  host.Pump();
}

TEST(ScrollBar, APlainContainerScrollsAChildLargerThanItsView) {
  ControlHost host;
  auto* box = new CContainerUI();
  auto* child = new CControlUI();
  child->SetMinHeight(300);
  box->Add(child);
  box->SetAttribute(L"vscrollbar", L"true");
  host.Attach(box, Rect(0, 0, 100, 100));
  CScrollBarUI* bar = box->GetVerticalScrollBar();
  EXPECT_EQ(200, bar->GetScrollRange());
  EXPECT_TRUE(test::SameRect(Rect(84, 0, 100, 100), bar->GetPos()));
  EXPECT_TRUE(test::SameRect(Rect(0, 0, 84, 300), child->GetPos()));
  box->LineDown();
  EXPECT_TRUE(test::SameRect(Rect(0, -8, 84, 292), child->GetPos()));
  // Once the child fits, nothing is left to scroll.
  child->SetMinHeight(50);
  box->SetPos(Rect(0, 0, 100, 100), false);
  EXPECT_EQ(0, bar->GetScrollRange());
  EXPECT_TRUE(test::SameRect(Rect(0, 0, 84, 100), child->GetPos()));
  host.Pump();
}

TEST(Separator, DraggingTheBottomBandResizesTheLayout) {
  ControlHost host;
  auto* root = new CVerticalLayoutUI();
  auto* panel = new CVerticalLayoutUI();
  panel->ApplyAttributeList(L"height=\"100\" sepheight=\"4\" sepimm=\"true\" minheight=\"50\" maxheight=\"200\"");
  root->Add(panel);
  root->Add(new CControlUI());
  host.Attach(root, Rect(0, 0, 100, 400));
  ASSERT_EQ(100, panel->GetHeight());

  Send(panel, UIEvent::ButtonDown, POINT{50, 50});
  Send(panel, UIEvent::MouseMove, POINT{50, 120});
  EXPECT_EQ(100, panel->GetFixedHeight());

  Send(panel, UIEvent::ButtonDown, POINT{50, 98});
  Send(panel, UIEvent::MouseMove, POINT{50, 138});
  EXPECT_EQ(140, panel->GetFixedHeight());
  Send(panel, UIEvent::MouseMove, POINT{50, 398});
  EXPECT_EQ(200, panel->GetFixedHeight());
  Send(panel, UIEvent::MouseMove, POINT{50, 0});
  EXPECT_EQ(50, panel->GetFixedHeight());
  Send(panel, UIEvent::ButtonUp, POINT{50, 0});
  root->SetPos(Rect(0, 0, 100, 400), false);
  EXPECT_EQ(50, panel->GetHeight());
}

TEST(Separator, LeftBandOfAHorizontalLayoutMovesItsLeftEdge) {
  ControlHost host;
  auto* root = new CHorizontalLayoutUI();
  root->Add(new CControlUI());
  auto* panel = new CHorizontalLayoutUI();
  panel->ApplyAttributeList(L"width=\"100\" sepwidth=\"-4\"");
  root->Add(panel);
  host.Attach(root, Rect(0, 0, 400, 50));
  ASSERT_EQ(300, panel->GetX());
  Send(panel, UIEvent::ButtonDown, POINT{301, 10});
  Send(panel, UIEvent::MouseMove, POINT{281, 10});
  // Without immediate mode only the fixed size follows the drag until the release.
  EXPECT_EQ(120, panel->GetFixedWidth());
  EXPECT_EQ(300, panel->GetX());
  Send(panel, UIEvent::ButtonUp, POINT{281, 10});
  root->SetPos(Rect(0, 0, 400, 50), false);
  EXPECT_EQ(120, panel->GetWidth());
  EXPECT_EQ(280, panel->GetX());
}

}  // namespace
}  // namespace SkinUI
