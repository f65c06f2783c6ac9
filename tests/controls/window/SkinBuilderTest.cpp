// The skin builder and the control factory: resources, Window attributes, element names,
// includes and default attribute lists.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "ButtonUI.h"
#include "ContainerUI.h"
#include "ControlFactory.h"
#include "Log.h"
#include "SkinBuilder.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

IContainerUI* AsContainer(CControlUI* control) {
  return control != nullptr ? static_cast<IContainerUI*>(control->GetInterface(L"IContainer")) : nullptr;
}

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// A hidden native window for a manager to attach to.
class BareWindow {
 public:
  BareWindow() {
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    manager.Init(window_, L"bare");
  }
  ~BareWindow() {
    ::DestroyWindow(window_);
    PumpPending();
  }
  HWND window_;
  CPaintManagerUI manager;
};

class SizeProbe : public IDialogBuilderCallback {
 public:
  explicit SizeProbe(HWND window) : window_(window) {}
  CControlUI* CreateControl(const wchar_t* elementName) override {
    if (std::wstring(elementName) != L"Probe") return nullptr;
    seen = WindowSize(window_);
    auto* control = new CControlUI();
    control->SetName(L"probe");
    return control;
  }
  SIZE seen = {};

 private:
  HWND window_;
};

TEST(SkinBuilder, WindowSizeResizesTheWindowBeforeAnyControlExists) {
  BareWindow bare;
  SizeProbe probe(bare.window_);
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      L"<Window size=\"700,420\" caption=\"0,0,0,50\" roundcorner=\"6,6\" sizebox=\"4,5,6,7\" mininfo=\"300,200\" "
      L"maxinfo=\"900,800\"><VerticalLayout><Probe/></VerticalLayout></Window>",
      nullptr, &probe, &bare.manager));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(probe.seen.cx, 700);
  EXPECT_EQ(probe.seen.cy, 420);
  EXPECT_EQ(bare.manager.GetInitSize().cx, 700);
  const RECT caption = bare.manager.GetCaptionRect();
  EXPECT_EQ(caption.bottom, 50);
  EXPECT_EQ(bare.manager.GetRoundCorner().cx, 6);
  const RECT box = bare.manager.GetSizeBox();
  EXPECT_EQ(box.left, 4);
  EXPECT_EQ(box.bottom, 7);
  EXPECT_EQ(bare.manager.GetMinInfo().cx, 300);
  EXPECT_EQ(bare.manager.GetMaxInfo().cy, 800);
  // Built controls wait detached until the window attaches the tree.
  EXPECT_EQ(root->GetManager(), nullptr);
  EXPECT_EQ(AsContainer(root.get())->GetCount(), 1);
}

TEST(SkinBuilder, WithoutAWindowOnlyTheResourcesAreRegistered) {
  CPaintManagerUI manager;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      L"<Window size=\"700,420\" caption=\"0,0,0,50\">"
      L"<Font id=\"3\" name=\"Arial\" size=\"17\" bold=\"true\"/>"
      L"<Default name=\"Button\" value=\"height=&quot;20&quot;\"/>"
      L"<Style name=\"big\" value=\"width=&quot;99&quot;\"/>"
      L"<Label name=\"l\"/></Window>",
      nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(manager.GetCaptionRect().bottom, 0);
  EXPECT_EQ(manager.GetInitSize().cx, 0);
  ASSERT_NE(manager.GetFontInfo(3), nullptr);
  EXPECT_EQ(manager.GetFontInfo(3)->size, 17);
  EXPECT_TRUE(manager.GetFontInfo(3)->bold);
  ASSERT_NE(manager.GetDefaultAttributeList(L"Button"), nullptr);
  EXPECT_EQ(*manager.GetDefaultAttributeList(L"Button"), L"height=\"20\"");
  ASSERT_NE(manager.GetStyle(L"big"), nullptr);
}

TEST(SkinBuilder, FontWithoutIdIsNotRegisteredEvenAsTheDefault) {
  CPaintManagerUI manager;
  const int before = manager.GetDefaultFontInfo()->size;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      L"<Window><Font name=\"Arial\" size=\"31\" default=\"true\"/><Label/></Window>", nullptr, nullptr, &manager));
  EXPECT_EQ(manager.GetDefaultFontInfo()->size, before);
  std::unique_ptr<CControlUI> second(builder.Create(
      L"<Window><Font id=\"0\" name=\"Arial\" size=\"31\" default=\"true\"/><Label/></Window>", nullptr, nullptr,
      &manager));
  EXPECT_EQ(manager.GetDefaultFontInfo()->size, 31);
}

TEST(SkinBuilder, ElementNamesMatchClassesIgnoringCaseAndUnknownOnesAreSkipped) {
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      L"<Window><VerticalLayout><button name=\"b\"/><Gadget name=\"g\"><Button name=\"inner\"/></Gadget>"
      L"<LABEL name=\"l\"/></VerticalLayout></Window>"));
  ASSERT_NE(root, nullptr);
  IContainerUI* container = AsContainer(root.get());
  ASSERT_EQ(container->GetCount(), 2);
  EXPECT_EQ(container->GetItemAt(0)->GetClassName(), L"ButtonUI");
  EXPECT_EQ(container->GetItemAt(0)->GetName(), L"b");
  EXPECT_EQ(container->GetItemAt(1)->GetClassName(), L"LabelUI");
}

class GadgetMaker : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(const wchar_t* elementName) override {
    asked.push_back(elementName);
    return std::wstring(elementName) == L"Gadget" ? new CContainerUI() : nullptr;
  }
  std::vector<std::wstring> asked;
};

TEST(SkinBuilder, TheCallbackCreatesWhatTheFactoryDoesNotKnow) {
  GadgetMaker maker;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(
      builder.Create(L"<Window><Gadget name=\"g\"><Button name=\"inner\"/></Gadget></Window>", nullptr, &maker));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"g");
  EXPECT_EQ(AsContainer(root.get())->GetCount(), 1);
  ASSERT_EQ(maker.asked.size(), 1u);
  EXPECT_EQ(maker.asked[0], L"Gadget");
}

CControlUI* WidgetPlugin(const wchar_t* elementName) {
  if (std::wstring(elementName) != L"Widget") return nullptr;
  auto* control = new CControlUI();
  control->SetUserData(L"from plug-in");
  return control;
}

TEST(SkinBuilder, PluginCreatorsAreAskedBeforeTheCallback) {
  CControlFactory::AddPlugin(WidgetPlugin);
  EXPECT_FALSE(CControlFactory::AddPlugin(WidgetPlugin));
  GadgetMaker maker;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(L"<Window><Widget name=\"w\"/></Window>", nullptr, &maker));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetUserData(), L"from plug-in");
  EXPECT_TRUE(maker.asked.empty());
  EXPECT_FALSE(CControlFactory::LoadPlugin(L"no-such-plugin-library.dll"));
  EXPECT_FALSE(CControlFactory::LoadPlugin(L"kernel32.dll"));  // no "CreateControl" export
}

TEST(SkinBuilder, DefaultAttributesComeBeforeTheElementsOwn) {
  CPaintManagerUI manager;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      L"<Window><Default name=\"Button\" value=\"width=&quot;50&quot; height=&quot;20&quot;\"/>"
      L"<VerticalLayout><Button name=\"b\" width=\"80\"/></VerticalLayout></Window>",
      nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  CControlUI* button = AsContainer(root.get())->GetItemAt(0);
  EXPECT_EQ(button->GetFixedWidth(), 80);
  EXPECT_EQ(button->GetFixedHeight(), 20);
}

TEST(SkinBuilder, IncludeWithCountThreeInsertsThreeCopies) {
  MemorySkin skin(MakeZip({
      {"main.xml", "<Window><HorizontalLayout name=\"row\"><Include source=\"part.xml\" count=\"3\"/>"
                   "<Label name=\"after\"/></HorizontalLayout></Window>"},
      {"part.xml", "<Part><Button text=\"copy\"/></Part>"},
  }));
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(L"main.xml"));
  ASSERT_NE(root, nullptr);
  IContainerUI* row = AsContainer(root.get());
  ASSERT_EQ(row->GetCount(), 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(row->GetItemAt(i)->GetText(), L"copy");
  EXPECT_EQ(row->GetItemAt(3)->GetName(), L"after");
}

TEST(SkinBuilder, ADocumentThatIncludesItselfStops) {
  MemorySkin skin(MakeZip({
      {"loop.xml", "<Window><HorizontalLayout><Include source=\"self.xml\"/></HorizontalLayout></Window>"},
      {"self.xml", "<Part><Label/><Include source=\"self.xml\"/></Part>"},
  }));
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(L"loop.xml"));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(AsContainer(root.get())->GetCount(), 16);
}

// Counts the controls of the "Counted" element that are destroyed.
class CountedControl : public CControlUI {
 public:
  explicit CountedControl(int* destroyed) : destroyed_(destroyed) {}
  ~CountedControl() override { ++*destroyed_; }

 private:
  int* destroyed_;
};

class CountedMaker : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(const wchar_t* elementName) override {
    if (std::wstring(elementName) != L"Counted") return nullptr;
    ++created;
    return new CountedControl(&destroyed);
  }
  int created = 0;
  int destroyed = 0;
};

TEST(SkinBuilder, AnIncludeUnderTheWindowGivesTheRootAndDropsFurtherCopies) {
  MemorySkin skin(MakeZip({
      {"top.xml", "<Window><Include source=\"part.xml\" count=\"2\"/><Counted name=\"late\"/></Window>"},
      {"part.xml", "<Part><Counted name=\"included\"/></Part>"},
  }));
  CountedMaker maker;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(L"top.xml", nullptr, &maker));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"included");
  EXPECT_EQ(maker.created, 3);
  EXPECT_EQ(maker.destroyed, 2);  // the second copy and the later element: nothing would own them
  root.reset();
  EXPECT_EQ(maker.destroyed, 3);
}

TEST(SkinBuilder, AnOptionBuiltButNeverAttachedLeavesNoGroupEntry) {
  BareWindow bare;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      L"<Window><HorizontalLayout><Option group=\"g\"/><Option group=\"g\"/></HorizontalLayout></Window>",
      nullptr, nullptr, &bare.manager));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(bare.manager.GetOptionGroup(L"g"), nullptr);
  root.reset();
  EXPECT_EQ(bare.manager.GetOptionGroup(L"g"), nullptr);

  root.reset(builder.Create(L"<Window><HorizontalLayout><Option group=\"g\"/></HorizontalLayout></Window>",
                            nullptr, nullptr, &bare.manager));
  bare.manager.AttachRoot(root.release());
  ASSERT_NE(bare.manager.GetOptionGroup(L"g"), nullptr);
  EXPECT_EQ(bare.manager.GetOptionGroup(L"g")->size(), 1u);
}

std::string ReadLog() {
  std::string bytes;
  FILE* file = _wfopen(GetLogFilePath().c_str(), L"rb");
  if (file == nullptr) return bytes;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(SkinBuilder, AnUnregisteredClassIsSkippedAndLoggedOncePerProcess) {
  MemorySkin skin(MakeZip({
      {"tree.xml", "<Window><VerticalLayout><TreeView name=\"t\"><Label/></TreeView><Label name=\"l\"/>"
                   "<treeview/></VerticalLayout></Window>"},
  }));
  const size_t before = ReadLog().size();
  CSkinBuilder builder;
  for (int pass = 0; pass < 2; ++pass) {
    std::unique_ptr<CControlUI> root(builder.Create(L"tree.xml"));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(AsContainer(root.get())->GetCount(), 1);
    EXPECT_EQ(AsContainer(root.get())->GetItemAt(0)->GetName(), L"l");
  }
  const std::string added = ReadLog().substr(before);
  EXPECT_EQ(CountOf(added, "names the unknown control class"), 1) << added;
  EXPECT_EQ(CountOf(added, "SkinUI: skin file tree.xml names the unknown control class \"TreeView\"; the element is "
                           "skipped"),
            1)
      << added;
}

TEST(SkinBuilder, MissingOrBrokenDocumentsYieldNull) {
  MemorySkin skin(MakeZip({{"broken.xml", "<Window><Label></Window>"}}));
  CSkinBuilder builder;
  EXPECT_EQ(builder.Create(L"absent.xml"), nullptr);
  EXPECT_EQ(builder.Create(L"broken.xml"), nullptr);
  EXPECT_FALSE(builder.GetLastErrorMessage().empty());
  EXPECT_EQ(builder.Create(L"<Window><Label></Window>"), nullptr);
  EXPECT_EQ(builder.Create(static_cast<UINT>(4242), L"ZKZIP_RES"), nullptr);
}

TEST(SkinBuilder, AParentWithoutChildListGetsNothing) {
  CControlUI leaf;
  CSkinBuilder builder;
  EXPECT_EQ(builder.Create(L"<Window><Label/></Window>", nullptr, nullptr, nullptr, &leaf), nullptr);
}

TEST(ControlFactory, EveryClassOfTheTableIsRegistered) {
  const wchar_t* names[] = {
      L"CControlUI", L"CContainerUI", L"CButtonUI", L"CComboUI", L"CComboBoxUI", L"CEditUI", L"CGifAnimUI",
      L"CGroupBoxUI", L"CLabelUI", L"CListUI", L"CListHeaderUI", L"CListHeaderItemUI", L"CListLabelElementUI",
      L"CListTextElementUI", L"CListContainerElementUI", L"COptionUI", L"CCheckBoxUI", L"CProgressUI",
      L"CScrollBarUI", L"CSliderUI", L"CTextUI", L"CAnimationTabLayoutUI", L"CChildLayoutUI",
      L"CHorizontalLayoutUI", L"CTabLayoutUI", L"CTileLayoutUI", L"CVerticalLayoutUI", L"CRollTextUI",
      L"CFadeButtonUI", L"CRingUI",
  };
  for (const wchar_t* name : names) {
    std::unique_ptr<CControlUI> control(CControlFactory::GetInstance()->CreateControl(name));
    ASSERT_NE(control, nullptr) << Utf8(name);
    // "CButtonUI" makes a control whose class name is "ButtonUI".
    EXPECT_EQ(control->GetClassName(), std::wstring(name + 1)) << Utf8(name);
  }
}

TEST(ControlFactory, ControlsWithoutAnImplementationAreNotRegistered) {
  const wchar_t* names[] = {
      L"CActiveXUI", L"CFlashUI", L"CWebBrowserUI", L"CRichEditUI", L"CMenuUI", L"CMenuElementUI",
      L"CDateTimeUI", L"CIPAddressUI", L"CIPAddressExUI", L"CHotKeyUI", L"CColorPaletteUI", L"CTreeViewUI",
      L"CTreeNodeUI", L"CListExUI", L"CListContainerHeaderItemUI", L"CListTextExtElementUI",
  };
  for (const wchar_t* name : names) EXPECT_FALSE(CControlFactory::GetInstance()->IsRegistered(name)) << Utf8(name);
}

CControlUI* MakeLabelInstead() { return new CControlUI(); }

TEST(ControlFactory, LookupIgnoresCaseAndTheFirstRegistrationStays) {
  CControlFactory* factory = CControlFactory::GetInstance();
  std::unique_ptr<CControlUI> button(factory->CreateControl(L"cbuttonui"));
  ASSERT_NE(button, nullptr);
  EXPECT_NE(button->GetInterface(L"Button"), nullptr);
  EXPECT_FALSE(factory->RegisterControl(L"CButtonUI", MakeLabelInstead));
  std::unique_ptr<CControlUI> again(factory->CreateControl(L"CButtonUI"));
  EXPECT_EQ(again->GetClassName(), L"ButtonUI");
  EXPECT_EQ(factory->CreateControl(L"CNoSuchThingUI"), nullptr);
  EXPECT_TRUE(factory->RegisterControl(L"CCustomThingUI", MakeLabelInstead));
  std::unique_ptr<CControlUI> custom(factory->CreateControl(L"ccustomthingui"));
  EXPECT_NE(custom, nullptr);
}

}  // namespace
