// Layout arithmetic of the plain container, the vertical and horizontal layouts and floating
// children, driven through SetPos on trees attached to a real window's paint manager.

#include <gtest/gtest.h>

#include "ButtonUI.h"
#include "ContainerUI.h"
#include "ControlTestSupport.h"
#include "HorizontalLayoutUI.h"
#include "LabelUI.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {
namespace {

using test::ControlHost;
using test::Rect;
using test::ToString;

#define EXPECT_RECT(expected, actual) \
  EXPECT_TRUE(test::SameRect(expected, actual)) << "expected " << ToString(expected) << " got " << ToString(actual)

CControlUI* NewControl(const wchar_t* attributes) {
  auto* control = new CControlUI();
  control->ApplyAttributeList(attributes);
  return control;
}

TEST(BoxLayout, TitleBarGivesTheRestToTheStretchingChild) {
  ControlHost host;
  auto* bar = new CHorizontalLayoutUI();
  CControlUI* caption = new CControlUI();
  auto* minimize = new CButtonUI();
  minimize->ApplyAttributeList(L"width=\"24\" height=\"24\" padding=\"0,11,11,0\"");
  auto* close = new CButtonUI();
  close->ApplyAttributeList(L"width=\"24\" height=\"24\" padding=\"0,11,21,0\"");
  bar->Add(caption);
  bar->Add(minimize);
  bar->Add(close);
  host.Attach(bar, Rect(0, 0, 700, 54));

  EXPECT_RECT(Rect(0, 0, 620, 54), caption->GetPos());
  EXPECT_RECT(Rect(620, 11, 644, 35), minimize->GetPos());
  EXPECT_RECT(Rect(655, 11, 679, 35), close->GetPos());
}

TEST(BoxLayout, HorizontalChildWithoutHeightFillsBelowItsTopPadding) {
  ControlHost host;
  auto* bar = new CHorizontalLayoutUI();
  CControlUI* child = NewControl(L"width=\"100\" padding=\"0,11,0,0\"");
  bar->Add(child);
  host.Attach(bar, Rect(0, 0, 700, 54));
  EXPECT_EQ(43, child->GetHeight());
  EXPECT_EQ(11, child->GetY());
}

TEST(BoxLayout, VerticalFixedHeightThenRemainder) {
  ControlHost host;
  auto* root = new CVerticalLayoutUI();
  CControlUI* title = NewControl(L"height=\"54\"");
  auto* body = new CContainerUI();
  root->Add(title);
  root->Add(body);
  host.Attach(root, Rect(0, 0, 700, 420));
  EXPECT_RECT(Rect(0, 0, 700, 54), title->GetPos());
  EXPECT_RECT(Rect(0, 54, 700, 420), body->GetPos());
}

TEST(BoxLayout, LastStretchingChildTakesTheRoundingRemainder) {
  ControlHost host;
  auto* column = new CVerticalLayoutUI();
  CControlUI* upper = new CControlUI();
  CControlUI* lower = new CControlUI();
  column->Add(upper);
  column->Add(lower);
  auto* row = new CHorizontalLayoutUI();
  CControlUI* left = new CControlUI();
  CControlUI* right = new CControlUI();
  row->Add(left);
  row->Add(right);
  auto* root = new CContainerUI();
  root->Add(column);
  host.Attach(root, Rect(0, 0, 700, 420));

  column->SetPos(Rect(0, 0, 40, 101), false);
  EXPECT_EQ(50, upper->GetHeight());
  EXPECT_EQ(51, lower->GetHeight());
  EXPECT_EQ(50, lower->GetY());

  row->SetManager(&host.manager, nullptr, false);
  row->SetPos(Rect(10, 0, 111, 30), false);
  EXPECT_RECT(Rect(10, 0, 60, 30), left->GetPos());
  EXPECT_RECT(Rect(60, 0, 111, 30), right->GetPos());
  delete row;
}

TEST(BoxLayout, ChildPaddingAndPaddingsCountAgainstTheShare) {
  ControlHost host;
  auto* column = new CVerticalLayoutUI();
  column->SetAttribute(L"childpadding", L"10");
  column->SetAttribute(L"inset", L"5,5,5,5");
  CControlUI* a = NewControl(L"height=\"20\" padding=\"0,3,0,2\"");
  CControlUI* b = new CControlUI();
  CControlUI* c = NewControl(L"height=\"30\"");
  column->Add(a);
  column->Add(b);
  column->Add(c);
  host.Attach(column, Rect(0, 0, 100, 200));
  // Inner 90 x 190: fixed 3+20+2 + 30 + two gaps of 10 = 75, the stretching child gets 115.
  EXPECT_RECT(Rect(5, 8, 95, 28), a->GetPos());
  EXPECT_RECT(Rect(5, 40, 95, 155), b->GetPos());
  EXPECT_RECT(Rect(5, 165, 95, 195), c->GetPos());
}

TEST(BoxLayout, HiddenChildrenAreSkipped) {
  ControlHost host;
  auto* column = new CVerticalLayoutUI();
  CControlUI* a = new CControlUI();
  CControlUI* hidden = NewControl(L"height=\"40\" visible=\"false\"");
  CControlUI* b = new CControlUI();
  column->Add(a);
  column->Add(hidden);
  column->Add(b);
  host.Attach(column, Rect(0, 0, 50, 100));
  EXPECT_EQ(50, a->GetHeight());
  EXPECT_EQ(50, b->GetHeight());
  EXPECT_EQ(50, b->GetY());
  EXPECT_EQ(0, hidden->GetHeight());
}

TEST(BoxLayout, StretchShareIsClampedToMinAndMax) {
  ControlHost host;
  auto* column = new CVerticalLayoutUI();
  CControlUI* capped = NewControl(L"maxheight=\"30\"");
  CControlUI* rest = new CControlUI();
  CControlUI* tall = NewControl(L"minheight=\"80\"");
  column->Add(capped);
  column->Add(rest);
  column->Add(tall);
  host.Attach(column, Rect(0, 0, 50, 150));
  EXPECT_EQ(30, capped->GetHeight());
  EXPECT_EQ(50, rest->GetHeight());
  // The last stretching child gets the remainder, but at least its minimum.
  EXPECT_EQ(80, tall->GetHeight());
  EXPECT_EQ(80, tall->GetY());
}

TEST(BoxLayout, VerticalChildAlignAndVerticalAlignPlaceAFixedBlock) {
  ControlHost host;
  auto* column = new CVerticalLayoutUI();
  CControlUI* block = NewControl(L"width=\"20\" height=\"10\"");
  column->Add(block);
  column->SetAttribute(L"childalign", L"center");
  column->SetAttribute(L"childvalign", L"vcenter");
  host.Attach(column, Rect(0, 0, 100, 50));
  EXPECT_RECT(Rect(40, 20, 60, 30), block->GetPos());

  column->SetAttribute(L"childalign", L"right");
  column->SetAttribute(L"childvalign", L"bottom");
  column->SetPos(Rect(0, 0, 100, 50), false);
  EXPECT_RECT(Rect(80, 40, 100, 50), block->GetPos());

  // The names and values compare exactly: other spellings change nothing.
  column->SetAttribute(L"childalign", L"Left");
  column->SetAttribute(L"ChildAlign", L"left");
  EXPECT_EQ(2u, column->GetChildAlign());
}

TEST(BoxLayout, HorizontalAlignCentresTheBlockAndVAlignEachChild) {
  ControlHost host;
  auto* row = new CHorizontalLayoutUI();
  CControlUI* a = NewControl(L"width=\"20\" height=\"10\"");
  CControlUI* b = NewControl(L"width=\"30\" height=\"20\"");
  row->Add(a);
  row->Add(b);
  row->SetAttribute(L"childalign", L"center");
  row->SetAttribute(L"childvalign", L"vcenter");
  host.Attach(row, Rect(0, 0, 100, 40));
  EXPECT_RECT(Rect(25, 15, 45, 25), a->GetPos());
  EXPECT_RECT(Rect(45, 10, 75, 30), b->GetPos());

  row->SetAttribute(L"childvalign", L"bottom");
  row->SetPos(Rect(0, 0, 100, 40), false);
  EXPECT_EQ(40, a->GetPos().bottom);
  EXPECT_EQ(40, b->GetPos().bottom);
}

TEST(BoxLayout, PlainContainerStretchesEachChildOverItsInnerArea) {
  ControlHost host;
  auto* box = new CContainerUI();
  box->SetAttribute(L"inset", L"10,20,30,40");
  CControlUI* full = NewControl(L"width=\"5\" padding=\"7,7,7,7\"");
  CControlUI* capped = NewControl(L"maxwidth=\"50\" maxheight=\"60\"");
  box->Add(full);
  box->Add(capped);
  host.Attach(box, Rect(0, 0, 300, 200));
  EXPECT_RECT(Rect(10, 20, 270, 160), full->GetPos());
  EXPECT_RECT(Rect(10, 20, 60, 80), capped->GetPos());
}

TEST(FloatLayout, PosPlacesTheChildRelativeToTheContainer) {
  ControlHost host;
  auto* page = new CVerticalLayoutUI();
  auto* button = new CButtonUI();
  button->ApplyAttributeList(L"float=\"true\" pos=\"246,264,0,0\" width=\"208\" height=\"44\"");
  CControlUI* filler = new CControlUI();
  page->Add(button);
  page->Add(filler);
  host.Attach(page, Rect(0, 0, 700, 420));
  EXPECT_RECT(Rect(246, 264, 454, 308), button->GetPos());
  // A floating child takes no part in the stacking.
  EXPECT_RECT(Rect(0, 0, 700, 420), filler->GetPos());

  page->SetPos(Rect(10, 20, 710, 440), false);
  EXPECT_RECT(Rect(256, 284, 464, 328), button->GetPos());
}

TEST(FloatLayout, NegativeFixedOriginIsMeasuredFromTheFarEdges) {
  ControlHost host;
  auto* box = new CContainerUI();
  CControlUI* corner = NewControl(L"float=\"true\" width=\"80\" height=\"20\"");
  corner->SetFixedOrigin(SIZE{-100, -30});
  box->Add(corner);
  host.Attach(box, Rect(0, 0, 700, 420));
  EXPECT_RECT(Rect(600, 390, 680, 410), corner->GetPos());
}

TEST(FloatLayout, AlignmentAndPercentagesPlaceTheChild) {
  ControlHost host;
  auto* box = new CContainerUI();
  CControlUI* centred = NewControl(L"float=\"true\" width=\"100\" height=\"40\" floatalign=\"center,vcenter\"");
  CControlUI* bottomRight = NewControl(L"float=\"true\" width=\"100\" height=\"40\" floatalign=\"right bottom\"");
  CControlUI* scaled = NewControl(L"float=\"0.5,0.25,0.75,0.5\" pos=\"2,3,12,13\"");
  box->Add(centred);
  box->Add(bottomRight);
  box->Add(scaled);
  host.Attach(box, Rect(0, 0, 400, 200));
  EXPECT_RECT(Rect(150, 80, 250, 120), centred->GetPos());
  EXPECT_RECT(Rect(300, 160, 400, 200), bottomRight->GetPos());
  EXPECT_TRUE(scaled->IsFloat());
  // left = 400*0.5 + 2, top = 200*0.25 + 3, right = 400*0.75 + 2 + 10, bottom = 200*0.5 + 3 + 10.
  EXPECT_RECT(Rect(202, 53, 312, 113), scaled->GetPos());

  centred->SetAttribute(L"floatalign", L"null");
  EXPECT_EQ(0u, centred->GetFloatAlign());
}

TEST(ContainerTree, HidingAContainerHidesItsSubtree) {
  ControlHost host;
  auto* root = new CVerticalLayoutUI();
  auto* page = new CVerticalLayoutUI();
  CControlUI* leaf = new CControlUI();
  page->Add(leaf);
  root->Add(page);
  host.Attach(root);
  page->SetVisible(false);
  EXPECT_FALSE(leaf->IsVisible());
  EXPECT_TRUE(leaf->IsVisibleSelf());
  page->SetVisible(true);
  EXPECT_TRUE(leaf->IsVisible());

  // A child added to a hidden container starts hidden.
  page->SetVisible(false);
  CControlUI* late = new CControlUI();
  page->Add(late);
  EXPECT_FALSE(late->IsVisible());
}

TEST(ContainerTree, DisablingAContainerDisablesItsChildren) {
  ControlHost host;
  auto* root = new CHorizontalLayoutUI();
  auto* button = new CButtonUI();
  root->Add(button);
  host.Attach(root);
  root->SetEnabled(false);
  EXPECT_FALSE(button->IsEnabled());
  EXPECT_EQ(kStateDisabled, button->GetButtonState());
  root->SetEnabled(true);
  EXPECT_TRUE(button->IsEnabled());
  EXPECT_EQ(0u, button->GetButtonState());
}

TEST(ContainerTree, ItemIndexOperationsKeepEveryChild) {
  ControlHost host;
  auto* root = new CContainerUI();
  CControlUI* a = new CControlUI();
  CControlUI* b = new CControlUI();
  CControlUI* c = new CControlUI();
  root->Add(a);
  root->Add(b);
  EXPECT_TRUE(root->AddAt(c, 0));
  EXPECT_FALSE(root->AddAt(nullptr, 0));
  EXPECT_FALSE(root->Add(nullptr));
  auto* stray = new CControlUI();
  EXPECT_FALSE(root->AddAt(stray, 9));
  delete stray;
  host.Attach(root);
  EXPECT_EQ(0, root->GetItemIndex(c));
  EXPECT_TRUE(root->SetItemIndex(c, 2));
  EXPECT_EQ(2, root->GetItemIndex(c));
  // An index outside the list is refused and the child stays.
  EXPECT_FALSE(root->SetItemIndex(c, 5));
  EXPECT_EQ(3, root->GetCount());
  EXPECT_EQ(c, root->GetItemAt(2));
  EXPECT_EQ(nullptr, root->GetItemAt(3));
  EXPECT_EQ(nullptr, root->GetItemAt(-1));
  EXPECT_EQ(root, a->GetParent());
}

TEST(ContainerTree, RemovedChildIsDestroyedOnceTheCleanUpMessageArrives) {
  ControlHost host;
  auto* root = new CContainerUI();
  auto* child = new CControlUI();
  static int destroyed = 0;
  destroyed = 0;
  child->OnDestroy += [](void*) {
    ++destroyed;
    return true;
  };
  root->Add(child);
  host.Attach(root);
  EXPECT_TRUE(root->Remove(child));
  EXPECT_EQ(0, root->GetCount());
  EXPECT_EQ(0, destroyed);
  EXPECT_EQ(nullptr, child->GetParent());
  host.Pump();
  EXPECT_EQ(1, destroyed);
  EXPECT_FALSE(root->Remove(child));
}

TEST(ContainerTree, WithoutDelayedDestroyRemovalDestroysAtOnce) {
  ControlHost host;
  auto* root = new CContainerUI();
  root->SetDeferredDelete(false);
  auto* child = new CControlUI();
  static int destroyed = 0;
  destroyed = 0;
  child->OnDestroy += [](void*) {
    ++destroyed;
    return true;
  };
  root->Add(child);
  host.Attach(root);
  root->RemoveAt(0);
  EXPECT_EQ(1, destroyed);

  // Without auto-destroy the child is only taken out of the list.
  root->SetAutoDelete(false);
  auto* kept = new CControlUI();
  root->Add(kept);
  root->RemoveAll();
  EXPECT_EQ(0, root->GetCount());
  delete kept;
}

}  // namespace
}  // namespace SkinUI
