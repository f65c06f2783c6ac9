// The skin attribute vocabulary of the control base and of every control class: what each
// attribute stores, how bad values read, and how attribute lists and styles are applied.

#include <gtest/gtest.h>

#include "ButtonUI.h"
#include "CheckBoxUI.h"
#include "ContainerUI.h"
#include "ControlTestSupport.h"
#include "HorizontalLayoutUI.h"
#include "LabelUI.h"
#include "OptionUI.h"
#include "ProgressUI.h"
#include "ScrollBarUI.h"
#include "SkinResourceIndex.h"
#include "TabLayoutUI.h"
#include "VerticalLayoutUI.h"

namespace SkinUI {
namespace {

using test::ControlHost;

std::wstring Custom(CControlUI& control, const wchar_t* name) {
  const std::wstring* value = control.GetCustomAttribute(name);
  return value != nullptr ? *value : L"<none>";
}

TEST(ControlAttributes, PosSetsOriginAndSizeUntilWidthAndHeightReplaceThem) {
  CControlUI control;
  control.SetAttribute(L"pos", L"246,264,0,0");
  EXPECT_EQ(246, control.GetFixedOrigin().cx);
  EXPECT_EQ(264, control.GetFixedOrigin().cy);
  EXPECT_EQ(246, control.GetFixedWidth());
  EXPECT_EQ(264, control.GetFixedHeight());
  control.SetAttribute(L"width", L"208");
  control.SetAttribute(L"height", L"44");
  EXPECT_EQ(208, control.GetFixedWidth());
  EXPECT_EQ(44, control.GetFixedHeight());
  EXPECT_EQ(246, control.GetFixedOrigin().cx);
}

TEST(ControlAttributes, NegativePosValuesTakeTheOtherEdge) {
  CControlUI control;
  control.SetAttribute(L"POS", L"-1,10,30,40");
  EXPECT_EQ(30, control.GetFixedOrigin().cx);
  EXPECT_EQ(10, control.GetFixedOrigin().cy);
  EXPECT_EQ(31, control.GetFixedWidth());
  EXPECT_EQ(30, control.GetFixedHeight());
}

TEST(ControlAttributes, ShortOrJunkNumberListsReadMissingValuesAsZero) {
  CControlUI control;
  control.SetAttribute(L"pos", L"5,6");
  EXPECT_EQ(5, control.GetFixedOrigin().cx);
  EXPECT_EQ(6, control.GetFixedOrigin().cy);
  EXPECT_EQ(5, control.GetFixedWidth());
  EXPECT_EQ(6, control.GetFixedHeight());
  // Junk ends a number and takes the place of its separator.
  control.SetAttribute(L"padding", L"1x,2,");
  EXPECT_EQ(1, control.GetPadding().left);
  EXPECT_EQ(0, control.GetPadding().top);
  EXPECT_EQ(2, control.GetPadding().right);
  EXPECT_EQ(0, control.GetPadding().bottom);
  control.SetAttribute(L"width", L"abc");
  EXPECT_EQ(0, control.GetFixedWidth());
  control.SetAttribute(L"height", L"");
  EXPECT_EQ(0, control.GetFixedHeight());
}

TEST(ControlAttributes, NegativeSizesAndUnchangedLimitsAreIgnored) {
  CControlUI control;
  control.SetAttribute(L"width", L"40");
  control.SetAttribute(L"width", L"-5");
  EXPECT_EQ(40, control.GetFixedWidth());
  control.SetAttribute(L"minwidth", L"-1");
  EXPECT_EQ(0, control.GetMinWidth());
  control.SetAttribute(L"maxheight", L"-3");
  EXPECT_EQ(9999, control.GetMaxHeight());
  control.SetAttribute(L"minwidth", L"7");
  control.SetAttribute(L"minheight", L"8");
  control.SetAttribute(L"maxwidth", L"70");
  control.SetAttribute(L"maxheight", L"80");
  EXPECT_EQ(7, control.GetMinWidth());
  EXPECT_EQ(8, control.GetMinHeight());
  EXPECT_EQ(70, control.GetMaxWidth());
  EXPECT_EQ(80, control.GetMaxHeight());
}

TEST(ControlAttributes, ColoursSkipBlanksExceptTheBorderColours) {
  CControlUI control;
  control.SetAttribute(L"bkcolor", L"  #FF112233");
  EXPECT_EQ(0xFF112233u, control.GetBkColor());
  control.SetAttribute(L"bkcolor1", L"#FF445566");
  EXPECT_EQ(0xFF445566u, control.GetBkColor());
  control.SetAttribute(L"bkcolor2", L"\t#80ABCDEF");
  EXPECT_EQ(0x80ABCDEFu, control.GetBkColor2());
  control.SetAttribute(L"bkcolor3", L"FF010203");
  EXPECT_EQ(0xFF010203u, control.GetBkColor3());
  control.SetAttribute(L"forecolor", L" #FFFFFFFF");
  EXPECT_EQ(0xFFFFFFFFu, control.GetForeColor());
  control.SetAttribute(L"bordercolor", L" #FF112233");
  EXPECT_EQ(0u, control.GetBorderColor());
  control.SetAttribute(L"bordercolor", L"#FF112233");
  EXPECT_EQ(0xFF112233u, control.GetBorderColor());
  control.SetAttribute(L"focusbordercolor", L"#FF0000FF");
  EXPECT_EQ(0xFF0000FFu, control.GetFocusBorderColor());
}

TEST(ControlAttributes, BorderSizeFormsReplaceEachOther) {
  CControlUI control;
  control.SetAttribute(L"bordersize", L"1,1,1,1");
  EXPECT_EQ(0, control.GetBorderSize());
  EXPECT_EQ(1, control.GetLeftBorderSize());
  EXPECT_EQ(1, control.GetBottomBorderSize());
  control.SetAttribute(L"bordersize", L"2");
  EXPECT_EQ(2, control.GetBorderSize());
  EXPECT_EQ(0, control.GetLeftBorderSize());
  EXPECT_EQ(0, control.GetTopBorderSize());
  EXPECT_EQ(0, control.GetRightBorderSize());
  EXPECT_EQ(0, control.GetBottomBorderSize());
  control.SetAttribute(L"leftbordersize", L"3");
  control.SetAttribute(L"topbordersize", L"4");
  control.SetAttribute(L"rightbordersize", L"5");
  control.SetAttribute(L"bottombordersize", L"6");
  EXPECT_EQ(3, control.GetLeftBorderSize());
  EXPECT_EQ(4, control.GetTopBorderSize());
  EXPECT_EQ(5, control.GetRightBorderSize());
  EXPECT_EQ(6, control.GetBottomBorderSize());
  EXPECT_EQ(2, control.GetBorderSize());
  control.SetAttribute(L"borderstyle", L"2");
  EXPECT_EQ(2, control.GetBorderStyle());
  control.SetAttribute(L"borderround", L"6,8");
  EXPECT_EQ(6, control.GetBorderRound().cx);
  EXPECT_EQ(8, control.GetBorderRound().cy);
}

TEST(ControlAttributes, TextAndTooltipTurnTheirLineBreakMarks) {
  CControlUI control;
  control.SetAttribute(L"text", L"one{\\n}two");
  EXPECT_EQ(L"one\ntwo", control.GetText());
  control.SetAttribute(L"tooltip", L"a<n>b<n>");
  EXPECT_EQ(L"a\r\nb\r\n", control.GetToolTip());
  control.SetAttribute(L"userdata", L"payload");
  EXPECT_EQ(L"payload", control.GetUserData());
}

class FixedTexts : public IQueryControlText {
 public:
  bool QueryControlText(const std::wstring& id, const std::wstring&, std::wstring& text) override {
    if (id != L"welcome.title") return false;
    text = L"Welcome";
    return true;
  }
};

TEST(ControlAttributes, ResourceTextIsLookedUpAsAKey) {
  FixedTexts texts;
  CSkinResourceIndex* index = CSkinResourceIndex::GetInstance();
  index->ResetTexts();
  index->SetTextQuery(&texts);
  CControlUI control;
  control.SetAttribute(L"text", L"welcome.title");
  control.SetAttribute(L"tooltip", L"welcome.title");
  EXPECT_EQ(L"welcome.title", control.GetText());
  control.SetAttribute(L"resourcetext", L"true");
  EXPECT_EQ(L"Welcome", control.GetText());
  EXPECT_EQ(L"Welcome", control.GetToolTip());
  control.SetText(L"no.such.id");
  EXPECT_EQ(L"no.such.id", control.GetText());
  index->SetTextQuery(nullptr);
  index->ResetTexts();
}

TEST(ControlAttributes, FlagsAndStates) {
  CControlUI control;
  const wchar_t* const flags[] = {L"drag", L"drop", L"resourcetext", L"richevent", L"menu", L"colorhsl"};
  for (const wchar_t* name : flags) control.SetAttribute(name, L"TRUE");
  EXPECT_TRUE(control.IsDragEnabled());
  EXPECT_TRUE(control.IsDropEnabled());
  EXPECT_TRUE(control.IsResourceText());
  EXPECT_TRUE(control.IsRichEvent());
  EXPECT_TRUE(control.IsContextMenuUsed());
  EXPECT_TRUE(control.IsColorHSL());
  control.SetAttribute(L"drag", L"yes");
  EXPECT_FALSE(control.IsDragEnabled());

  control.SetAttribute(L"enabled", L"false");
  control.SetAttribute(L"mouse", L"false");
  control.SetAttribute(L"keyboard", L"false");
  control.SetAttribute(L"visible", L"false");
  EXPECT_FALSE(control.IsEnabled());
  EXPECT_FALSE(control.IsMouseEnabled());
  EXPECT_FALSE(control.IsKeyboardEnabled());
  EXPECT_FALSE(control.IsVisible());
  EXPECT_EQ(nullptr, control.FindControl([](CControlUI* c, void*) { return c; }, nullptr, kFindVisible));

  control.SetAttribute(L"shortcut", L"Qx");
  EXPECT_EQ(L'Q', control.GetShortcut());
  control.SetAttribute(L"shortcut", L"");
  EXPECT_EQ(L'\0', control.GetShortcut());
  control.SetAttribute(L"name", L"closeBtn");
  EXPECT_EQ(L"closeBtn", control.GetName());
}

TEST(ControlAttributes, ImagesGradientAndFloat) {
  CControlUI control;
  control.SetAttribute(L"bkimage", L"file='bk.png' corner='2,2,2,2'");
  control.SetAttribute(L"foreimage", L"fore.png");
  control.SetAttribute(L"gradient", L"hor");
  EXPECT_EQ(L"file='bk.png' corner='2,2,2,2'", control.GetBkImage());
  EXPECT_EQ(L"fore.png", control.GetForeImage());
  EXPECT_EQ(L"hor", control.GetGradient());
  control.SetAttribute(L"float", L"true");
  EXPECT_TRUE(control.IsFloat());
  control.SetAttribute(L"float", L"false");
  EXPECT_FALSE(control.IsFloat());
  control.SetAttribute(L"float", L"0.1,0.2,0.3,0.4");
  EXPECT_TRUE(control.IsFloat());
  EXPECT_DOUBLE_EQ(0.1, control.GetFloatPercent().left);
  EXPECT_DOUBLE_EQ(0.4, control.GetFloatPercent().bottom);
  control.SetAttribute(L"floatalign", L"right,bottom");
  EXPECT_EQ(kFloatAlignRight | kFloatAlignBottom, control.GetFloatAlign());
  control.SetAttribute(L"floatalign", L"left top center unknown");
  EXPECT_EQ(kFloatAlignCenter, control.GetFloatAlign());
}

TEST(ControlAttributes, CursorNamesMapBothWays) {
  CControlUI control;
  control.SetAttribute(L"cursor", L"sizenesw");
  EXPECT_EQ(32643, control.GetCursor());
  EXPECT_EQ(L"sizenesw", control.GetCursorName());
  control.SetAttribute(L"cursor", L"pointer");
  EXPECT_EQ(32643, control.GetCursor());
  control.SetAttribute(L"cursor", L"hand");
  EXPECT_EQ(32649, control.GetCursor());
  control.SetCursor(1234);
  EXPECT_EQ(L"", control.GetCursorName());
}

TEST(ControlAttributes, UnlistedNamesBecomeCustomAttributesAndKeepTheFirstValue) {
  CControlUI control;
  control.SetAttribute(L"payload", L"first");
  control.SetAttribute(L"payload", L"second");
  EXPECT_EQ(L"first", Custom(control, L"payload"));
  control.SetAttribute(L"empty", L"");
  EXPECT_EQ(L"<none>", Custom(control, L"empty"));
  EXPECT_TRUE(control.RemoveCustomAttribute(L"payload"));
  EXPECT_EQ(L"<none>", Custom(control, L"payload"));
}

TEST(ControlAttributes, AttributeListsTakeSpaceOrCommaSeparators) {
  CControlUI spaced;
  spaced.ApplyAttributeList(L"width=\"10\" height=\"20\"");
  EXPECT_EQ(10, spaced.GetFixedWidth());
  EXPECT_EQ(20, spaced.GetFixedHeight());
  CControlUI commas;
  commas.ApplyAttributeList(L"width=\"11\",height=\"21\"");
  EXPECT_EQ(21, commas.GetFixedHeight());
  CControlUI semicolon;
  semicolon.ApplyAttributeList(L"width=\"12\";height=\"22\"");
  EXPECT_EQ(12, semicolon.GetFixedWidth());
  EXPECT_EQ(0, semicolon.GetFixedHeight());
  CControlUI quoted;
  quoted.ApplyAttributeList(L"bkimage=\"&quot;x&quot;\" width=\"5\"");
  // The quote entity becomes a quote before the list is read: the value ends at it.
  EXPECT_EQ(L"", quoted.GetBkImage());
  CControlUI unterminated;
  unterminated.ApplyAttributeList(L"width=\"13\" height=\"23");
  EXPECT_EQ(13, unterminated.GetFixedWidth());
  EXPECT_EQ(0, unterminated.GetFixedHeight());
  CControlUI noQuote;
  noQuote.ApplyAttributeList(L"width=14 height=\"24\"");
  EXPECT_EQ(0, noQuote.GetFixedWidth());
  EXPECT_EQ(0, noQuote.GetFixedHeight());
}

TEST(ControlAttributes, StylesApplyTheirListAndUnknownStylesStayCustom) {
  ControlHost host;
  host.manager.AddStyle(L"square", L"width=\"30\" height=\"30\"");
  host.manager.AddStyle(L"loop", L"style=\"loop\" width=\"9\"");
  auto* root = new CContainerUI();
  auto* control = new CControlUI();
  root->Add(control);
  host.Attach(root);
  control->SetAttribute(L"style", L"square");
  EXPECT_EQ(30, control->GetFixedWidth());
  EXPECT_EQ(L"<none>", Custom(*control, L"style"));
  control->SetAttribute(L"style", L"nosuch");
  EXPECT_EQ(L"nosuch", Custom(*control, L"style"));
  control->ApplyAttributeList(L"square");
  EXPECT_EQ(30, control->GetFixedHeight());
  control->SetAttribute(L"innerstyle", L"height=\"12\"");
  EXPECT_EQ(12, control->GetFixedHeight());
  // A style that names itself ends instead of recursing.
  control->SetAttribute(L"style", L"loop");
  EXPECT_EQ(9, control->GetFixedWidth());
}

TEST(ControlAttributes, VirtualWindowIsInheritedFromTheParent) {
  ControlHost host;
  auto* root = new CVerticalLayoutUI();
  auto* page = new CVerticalLayoutUI();
  auto* leaf = new CButtonUI();
  page->Add(leaf);
  root->Add(page);
  host.Attach(root);
  EXPECT_EQ(L"", leaf->GetVirtualWindow());
  page->SetAttribute(L"virtualwnd", L"install1");
  EXPECT_EQ(L"install1", leaf->GetVirtualWindow());
  EXPECT_TRUE(host.manager.IsUsedVirtualWnd());
}

TEST(ControlAttributes, SizesReadBackThroughTheDisplayScale) {
  ControlHost host;
  host.manager.GetDpiScaler()->SetAwareness(CDpiScaler::Awareness::PerMonitorAware);
  host.manager.GetDpiScaler()->SetScale(150);
  auto* root = new CContainerUI();
  auto* control = new CControlUI();
  control->ApplyAttributeList(L"width=\"100\" height=\"10\" padding=\"2,4,6,8\" bordersize=\"2\" minwidth=\"4\"");
  root->Add(control);
  host.Attach(root);
  EXPECT_EQ(150, control->GetFixedWidth());
  EXPECT_EQ(15, control->GetFixedHeight());
  EXPECT_EQ(3, control->GetPadding().left);
  EXPECT_EQ(6, control->GetPadding().top);
  EXPECT_EQ(3, control->GetBorderSize());
  EXPECT_EQ(6, control->GetMinWidth());
  EXPECT_EQ(450, control->GetToolTipWidth());
  // The stored value is still the skin's.
  control->SetManager(nullptr, root, false);
  EXPECT_EQ(100, control->GetFixedWidth());
  control->SetManager(&host.manager, root, false);
}

TEST(ContainerAttributes, InsetPaddingAlignmentAndFlags) {
  CContainerUI box;
  box.SetAttribute(L"inset", L"1,2,3,4");
  EXPECT_EQ(4, box.GetInset().bottom);
  box.SetAttribute(L"childpadding", L"6");
  EXPECT_EQ(6, box.GetChildPadding());
  box.SetAttribute(L"childalign", L"center");
  box.SetAttribute(L"childvalign", L"bottom");
  EXPECT_EQ(1u, box.GetChildAlign());
  EXPECT_EQ(8u, box.GetChildVAlign());
  box.SetAttribute(L"childalign", L"middle");
  EXPECT_EQ(1u, box.GetChildAlign());
  box.SetAttribute(L"mousechild", L"false");
  EXPECT_FALSE(box.IsMouseChildEnabled());
  box.SetAttribute(L"scrollstepsize", L"24");
  EXPECT_EQ(24, box.GetScrollStepSize());
  box.SetAttribute(L"scrollstepsize", L"0");
  EXPECT_EQ(24, box.GetScrollStepSize());
  box.SetAttribute(L"vscrollbar", L"true");
  ASSERT_NE(nullptr, box.GetVerticalScrollBar());
  EXPECT_FALSE(box.GetVerticalScrollBar()->IsHorizontal());
  EXPECT_EQ(nullptr, box.GetHorizontalScrollBar());
  box.SetAttribute(L"hscrollbar", L"true");
  ASSERT_NE(nullptr, box.GetHorizontalScrollBar());
  EXPECT_TRUE(box.GetHorizontalScrollBar()->IsHorizontal());
  box.SetAttribute(L"vscrollbarstyle", L"width=\"9\"");
  EXPECT_EQ(9, box.GetVerticalScrollBar()->GetFixedWidth());
  box.SetAttribute(L"vscrollbar", L"false");
  EXPECT_EQ(nullptr, box.GetVerticalScrollBar());
  EXPECT_NE(nullptr, box.GetHorizontalScrollBar());
}

TEST(ContainerAttributes, SeparatorAttributesOfTheLayouts) {
  CVerticalLayoutUI column;
  column.SetAttribute(L"sepheight", L"-4");
  column.SetAttribute(L"sepimm", L"true");
  EXPECT_EQ(-4, column.GetSepHeight());
  EXPECT_TRUE(column.IsSepImmMode());
  EXPECT_EQ(kFlagSetCursor, column.GetFlags());
  CHorizontalLayoutUI row;
  EXPECT_EQ(0u, row.GetFlags());
  row.SetAttribute(L"sepwidth", L"5");
  EXPECT_EQ(5, row.GetSepWidth());
  EXPECT_EQ(kFlagSetCursor, row.GetFlags());
}

TEST(LabelAttributes, AlignmentWordsAndStyleBits) {
  CLabelUI label;
  EXPECT_EQ(0x24u, label.GetTextStyle());
  label.SetAttribute(L"align", L"right");
  EXPECT_EQ(0x26u, label.GetTextStyle());
  label.SetAttribute(L"align", L"center");
  EXPECT_EQ(0x25u, label.GetTextStyle());
  label.SetAttribute(L"align", L"left");
  EXPECT_EQ(0x24u, label.GetTextStyle());
  label.SetAttribute(L"valign", L"bottom");
  EXPECT_EQ(0x28u, label.GetTextStyle());
  label.SetAttribute(L"valign", L"top");
  EXPECT_EQ(0x20u, label.GetTextStyle());
  label.SetAttribute(L"wordbreak", L"true");
  EXPECT_EQ(0x2010u, label.GetTextStyle());
  label.SetAttribute(L"wordbreak", L"false");
  EXPECT_EQ(0x20u, label.GetTextStyle());
  label.SetAttribute(L"endellipsis", L"true");
  label.SetAttribute(L"noprefix", L"true");
  EXPECT_EQ(0x8820u, label.GetTextStyle());
  label.SetAttribute(L"endellipsis", L"false");
  EXPECT_EQ(0x820u, label.GetTextStyle());
}

TEST(LabelAttributes, FontColoursPaddingAndSizing) {
  CLabelUI label;
  label.SetAttribute(L"font", L"3");
  EXPECT_EQ(3, label.GetFont());
  label.SetAttribute(L"textcolor", L"#00FFFFFF");
  EXPECT_EQ(0x00FFFFFFu, label.GetTextColor());
  label.SetAttribute(L"disabledtextcolor", L"FF808080");
  EXPECT_EQ(0xFF808080u, label.GetDisabledTextColor());
  label.SetAttribute(L"textpadding", L"1,2,3,4");
  EXPECT_EQ(3, label.GetTextPadding().right);
  label.SetAttribute(L"showhtml", L"true");
  EXPECT_TRUE(label.IsShowHtml());
  label.SetAttribute(L"autocalcwidth", L"true");
  label.SetAttribute(L"autocalcheight", L"true");
  EXPECT_TRUE(label.IsAutoWidth());
  EXPECT_TRUE(label.IsAutoHeight());
  EXPECT_EQ(kFlagSetCursor, label.GetFlags());
  label.SetEnabled(false);
  EXPECT_EQ(0u, label.GetFlags());
}

TEST(ButtonAttributes, StateImagesColoursFontsAndTabBinding) {
  CButtonUI button;
  EXPECT_EQ(0x25u, button.GetTextStyle());
  button.SetAttribute(L"normalimage", L"n.png");
  button.SetAttribute(L"hotimage", L"h.png");
  button.SetAttribute(L"pushedimage", L"p.png");
  button.SetAttribute(L"focusedimage", L"f.png");
  button.SetAttribute(L"disabledimage", L"d.png");
  button.SetAttribute(L"hotforeimage", L"hf.png");
  EXPECT_EQ(L"n.png", button.GetNormalImage());
  EXPECT_EQ(L"h.png", button.GetHotImage());
  EXPECT_EQ(L"p.png", button.GetPushedImage());
  EXPECT_EQ(L"f.png", button.GetFocusedImage());
  EXPECT_EQ(L"d.png", button.GetDisabledImage());
  EXPECT_EQ(L"hf.png", button.GetHotForeImage());
  button.SetAttribute(L"stateimage", L"s.png");
  EXPECT_EQ(L"s.png", button.GetStateImage());
  EXPECT_EQ(L"", button.GetNormalImage());
  button.SetAttribute(L"statecount", L"4");
  EXPECT_EQ(4, button.GetStateCount());

  button.SetAttribute(L"hotbkcolor", L" #FF000001");
  button.SetAttribute(L"pushedbkcolor", L"#FF000002");
  button.SetAttribute(L"disabledbkcolor", L"#FF000003");
  button.SetAttribute(L"hottextcolor", L" #FF000004");
  button.SetAttribute(L"pushedtextcolor", L"#FF000005");
  button.SetAttribute(L"focusedtextcolor", L"#FF000006");
  EXPECT_EQ(0xFF000001u, button.GetHotBkColor());
  EXPECT_EQ(0xFF000002u, button.GetPushedBkColor());
  EXPECT_EQ(0xFF000003u, button.GetDisabledBkColor());
  EXPECT_EQ(0xFF000004u, button.GetHotTextColor());
  EXPECT_EQ(0xFF000005u, button.GetPushedTextColor());
  EXPECT_EQ(0xFF000006u, button.GetFocusedTextColor());

  button.SetAttribute(L"hotfont", L"1");
  button.SetAttribute(L"pushedfont", L"2");
  button.SetAttribute(L"focuedfont", L"3");
  EXPECT_EQ(1, button.GetHotFont());
  EXPECT_EQ(2, button.GetPushedFont());
  EXPECT_EQ(3, button.GetFocusedFont());
  // Only the shorter spelling names the focused font.
  button.SetAttribute(L"focusedfont", L"4");
  EXPECT_EQ(3, button.GetFocusedFont());
  EXPECT_EQ(L"4", Custom(button, L"focusedfont"));

  button.SetAttribute(L"bindtabindex", L"2");
  button.SetAttribute(L"bindtabindex", L"-1");
  button.SetAttribute(L"bindtablayoutname", L"tabInstall");
  EXPECT_EQ(2, button.GetBindTabIndex());
  EXPECT_EQ(L"tabInstall", button.GetBindTabLayoutName());
  EXPECT_EQ(kFlagSetCursor | kFlagTabStop, button.GetFlags());
  button.SetKeyboardEnabled(false);
  EXPECT_EQ(kFlagSetCursor, button.GetFlags());
}

TEST(OptionAttributes, SelectedStateVocabulary) {
  COptionUI option;
  option.SetAttribute(L"group", L"pages");
  option.SetAttribute(L"selected", L"true");
  option.SetAttribute(L"selectedimage", L"s.png");
  option.SetAttribute(L"selectedhotimage", L"sh.png");
  option.SetAttribute(L"selectedpushedimage", L"sp.png");
  option.SetAttribute(L"selecteddisableimage", L"sd.png");
  option.SetAttribute(L"selectedforeimage", L"sf.png");
  option.SetAttribute(L"selectedstateimage", L"ss.png");
  option.SetAttribute(L"selectedstatecount", L"3");
  option.SetAttribute(L"selectedbkcolor", L"#FF00FF00");
  option.SetAttribute(L"selectedtextcolor", L"#FFFF0000");
  option.SetAttribute(L"selectedfont", L"5");
  EXPECT_EQ(L"pages", option.GetGroup());
  EXPECT_TRUE(option.IsSelected());
  EXPECT_EQ(kStateSelected, option.GetButtonState() & kStateSelected);
  EXPECT_EQ(L"s.png", option.GetSelectedImage());
  EXPECT_EQ(L"sh.png", option.GetSelectedHotImage());
  EXPECT_EQ(L"sp.png", option.GetSelectedPushedImage());
  EXPECT_EQ(L"sd.png", option.GetSelectedDisabledImage());
  EXPECT_EQ(L"sf.png", option.GetSelectedForeImage());
  EXPECT_EQ(L"ss.png", option.GetSelectedStateImage());
  EXPECT_EQ(3, option.GetSelectedStateCount());
  EXPECT_EQ(0xFF00FF00u, option.GetSelectedBkColor());
  EXPECT_EQ(0xFFFF0000u, option.GetSelectedTextColor());
  EXPECT_EQ(5, option.GetSelectedFont());

  CCheckBoxUI check;
  check.SetAttribute(L"EnableAutoCheck", L"true");
  EXPECT_TRUE(check.IsAutoCheck());
  // The pair also goes on to the option and ends as a custom attribute.
  EXPECT_EQ(L"true", Custom(check, L"EnableAutoCheck"));
}

TEST(ProgressAttributes, RangeValueAndDirection) {
  CProgressUI progress;
  EXPECT_EQ(12, progress.GetFixedHeight());
  EXPECT_EQ(0x21u, progress.GetTextStyle());
  progress.SetAttribute(L"hor", L"false");
  EXPECT_FALSE(progress.IsHorizontal());
  progress.SetAttribute(L"min", L"10");
  progress.SetAttribute(L"max", L"20");
  progress.SetAttribute(L"value", L"15");
  EXPECT_EQ(15, progress.GetValue());
  progress.SetAttribute(L"value", L"21");
  EXPECT_EQ(15, progress.GetValue());
  progress.SetAttribute(L"value", L"9");
  EXPECT_EQ(15, progress.GetValue());
  progress.SetAttribute(L"isstretchfore", L"false");
  EXPECT_FALSE(progress.IsStretchForeImage());
}

TEST(ProgressAttributes, ShownTextIsTheRoundedPercentage) {
  CProgressUI progress;
  progress.SetShowText(true);
  EXPECT_EQ(L"0%", progress.GetText());
  progress.SetMaxValue(3);
  progress.SetValue(2);
  EXPECT_EQ(L"67%", progress.GetText());
  progress.SetValue(3);
  EXPECT_EQ(L"100%", progress.GetText());
  progress.SetShowText(false);
  EXPECT_EQ(L"", progress.GetText());
  // An empty range does not divide by zero.
  progress.SetShowText(true);
  progress.SetMinValue(3);
  progress.UpdateText();
  EXPECT_EQ(L"0%", progress.GetText());
}

TEST(ClassNames, EveryClassAnswersItsNamesAndItsBases) {
  CControlUI control;
  CContainerUI container;
  CVerticalLayoutUI vertical;
  CHorizontalLayoutUI horizontal;
  CTabLayoutUI tab;
  CLabelUI label;
  CButtonUI button;
  COptionUI option;
  CCheckBoxUI check;
  CProgressUI progress;
  CScrollBarUI bar;
  EXPECT_EQ(L"ControlUI", control.GetClassName());
  EXPECT_EQ(L"ContainerUI", container.GetClassName());
  EXPECT_EQ(L"VerticalLayoutUI", vertical.GetClassName());
  EXPECT_EQ(L"HorizontalLayoutUI", horizontal.GetClassName());
  EXPECT_EQ(L"TabLayoutUI", tab.GetClassName());
  EXPECT_EQ(L"LabelUI", label.GetClassName());
  EXPECT_EQ(L"ButtonUI", button.GetClassName());
  EXPECT_EQ(L"OptionUI", option.GetClassName());
  EXPECT_EQ(L"CheckBoxUI", check.GetClassName());
  EXPECT_EQ(L"ProgressUI", progress.GetClassName());
  EXPECT_EQ(L"ScrollBarUI", bar.GetClassName());

  EXPECT_EQ(&control, control.GetInterface(L"control"));
  EXPECT_EQ(nullptr, control.GetInterface(L"Button"));
  EXPECT_EQ(static_cast<IContainerUI*>(&container), container.GetInterface(L"IContainer"));
  EXPECT_EQ(&vertical, vertical.GetInterface(L"VerticalLayout"));
  EXPECT_EQ(static_cast<CContainerUI*>(&vertical), vertical.GetInterface(L"Container"));
  EXPECT_EQ(&horizontal, horizontal.GetInterface(L"HorizontalLayout"));
  EXPECT_EQ(&tab, tab.GetInterface(L"TabLayout"));
  EXPECT_EQ(&check, check.GetInterface(L"CheckBox"));
  EXPECT_EQ(static_cast<COptionUI*>(&check), check.GetInterface(L"Option"));
  EXPECT_EQ(static_cast<CButtonUI*>(&check), check.GetInterface(L"Button"));
  EXPECT_EQ(static_cast<CLabelUI*>(&progress), progress.GetInterface(L"Label"));
  EXPECT_EQ(&progress, progress.GetInterface(L"Progress"));
  EXPECT_EQ(nullptr, label.GetInterface(L"Button"));
}

TEST(DelegateList, FiresInOrderStopsAtRefusalAndIgnoresDuplicates) {
  static std::vector<int> calls;
  calls.clear();
  CDelegateList list;
  auto first = [](void*) {
    calls.push_back(1);
    return true;
  };
  auto refuse = [](void*) {
    calls.push_back(2);
    return false;
  };
  auto last = [](void*) {
    calls.push_back(3);
    return true;
  };
  list += first;
  list += first;
  EXPECT_EQ(1u, list.GetCount());
  list += refuse;
  list += last;
  EXPECT_FALSE(list.Fire(nullptr));
  EXPECT_EQ((std::vector<int>{1, 2}), calls);
  list -= CDelegateStatic(refuse);
  calls.clear();
  EXPECT_TRUE(list(nullptr));
  EXPECT_EQ((std::vector<int>{1, 3}), calls);
}

struct SelfRemover {
  CDelegateList* list;
  std::vector<int>* calls;
  int id;
  bool Once(void*) {
    calls->push_back(id);
    *list -= MakeDelegate(this, &SelfRemover::Once);
    return true;
  }
};

TEST(DelegateList, ADelegateRemovingItselfWhileFiringSkipsNoOther) {
  std::vector<int> calls;
  CDelegateList list;
  SelfRemover first{&list, &calls, 1};
  SelfRemover second{&list, &calls, 2};
  SelfRemover third{&list, &calls, 3};
  list += MakeDelegate(&first, &SelfRemover::Once);
  list += MakeDelegate(&second, &SelfRemover::Once);
  list += MakeDelegate(&third, &SelfRemover::Once);
  EXPECT_TRUE(list.Fire(nullptr));
  EXPECT_EQ((std::vector<int>{1, 2, 3}), calls);
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(0u, list.GetCount());
}

}  // namespace
}  // namespace SkinUI
