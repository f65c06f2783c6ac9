// The edit control driven through a real window: the native EDIT child it hosts while focused
// gets real key and character messages.

#include <gtest/gtest.h>

#include "EditUI.h"
#include "WindowTestSupport.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

constexpr const wchar_t* kEdits =
    L"<Window size=\"300,200\">"
    L"<VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Edit name=\"name\" float=\"true\" pos=\"10,10,210,40\" prompttext=\"Your name\" promptcolor=\"#FF808080\""
    L" textcolor=\"#FF000000\"/>"
    L"<Button name=\"ok\" float=\"true\" pos=\"220,10,290,40\" text=\"OK\"/>"
    L"<Edit name=\"pin\" float=\"true\" pos=\"10,50,210,80\" password=\"true\" numberonly=\"true\" maxchar=\"4\""
    L" textcolor=\"#FF000000\"/>"
    L"<Label name=\"stars\" float=\"true\" pos=\"10,90,210,120\" text=\"****\" textpadding=\"4,3,4,3\""
    L" textcolor=\"#FF000000\"/>"
    L"<Edit name=\"fixed\" float=\"true\" pos=\"10,130,210,160\" readonly=\"true\" text=\"fixed\"/>"
    L"<Edit name=\"off\" float=\"true\" pos=\"220,130,290,160\" enabled=\"false\"/>"
    L"</VerticalLayout></Window>";

class EditInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Open()); }
  CEditUI* Edit(const wchar_t* name) { return static_cast<CEditUI*>(window.Find(name)->GetInterface(L"Edit")); }
  void Type(HWND native, const wchar_t* text) {
    for (; *text != 0; ++text) ::PostMessageW(native, WM_CHAR, *text, 1);
    PumpPending();
  }
  int Ink(const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) count += window.Pixel(x, y) != kWhite ? 1 : 0;
    return count;
  }
  TestWindow window{kEdits};
};

TEST_F(EditInput, ClickTypeEnterAndTabAwayReportTheUsersEditsOnly) {
  CEditUI* edit = Edit(L"name");
  ASSERT_NE(edit, nullptr);
  // The window gives the first tab stop, this edit, the focus: move it off to see the skin's picture.
  window.Manager().SetFocus(window.Find(L"ok"));
  window.Paint();
  EXPECT_EQ(edit->GetNativeWindow(), nullptr);
  EXPECT_GT(Ink(RECT{10, 10, 210, 40}), 0) << "the prompt text is drawn while the edit is empty";

  window.Click(50, 25);
  HWND native = edit->GetNativeWindow();
  ASSERT_NE(native, nullptr);
  EXPECT_TRUE(::IsWindowVisible(native));
  EXPECT_EQ(::GetFocus(), native);
  EXPECT_EQ(window.Manager().GetFocus(), edit);

  Type(native, L"ab");
  EXPECT_EQ(edit->GetText(), L"ab");
  EXPECT_EQ(window.NoteCount(L"textchanged:name"), 2);
  ::PostMessageW(native, WM_KEYDOWN, VK_RETURN, 1);
  PumpPending();
  EXPECT_EQ(window.NoteCount(L"return:name"), 1);
  EXPECT_EQ(edit->GetText(), L"ab") << "Enter adds nothing to a single-line edit";

  // Tab goes through the window's pre-translation to the next tab stop.
  ::PostMessageW(native, WM_KEYDOWN, VK_TAB, 1);
  PumpPending();
  EXPECT_EQ(window.Manager().GetFocus(), window.Find(L"ok"));
  EXPECT_EQ(edit->GetNativeWindow(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(native));

  // A program's own change is not the user's: no notification, and the skin draws the new text.
  edit->SetText(L"");
  window.Paint();
  const int promptInk = Ink(RECT{10, 10, 210, 40});
  edit->SetText(L"W W W W W W W W W W");
  window.Paint();
  EXPECT_GT(Ink(RECT{10, 10, 210, 40}), promptInk);
  EXPECT_EQ(window.NoteCount(L"textchanged:name"), 2);

  // Clicking again edits the new text, the caret after its end.
  window.Click(50, 25);
  native = edit->GetNativeWindow();
  ASSERT_NE(native, nullptr);
  Type(native, L"!");
  EXPECT_EQ(edit->GetText(), L"W W W W W W W W W W!");
}

TEST_F(EditInput, PasswordNumbersReadOnlyAndDisabledRestrictTheText) {
  CEditUI* pin = Edit(L"pin");
  window.Manager().SetFocus(pin);
  HWND native = pin->GetNativeWindow();
  ASSERT_NE(native, nullptr);
  EXPECT_EQ(::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0), L'*');
  Type(native, L"1x2345");
  EXPECT_EQ(pin->GetText(), L"1234") << "a letter is refused and the fifth digit is past the limit";

  // Not editing: the skin draws one star per character, exactly as a label showing stars.
  window.Manager().SetFocus(window.Find(L"ok"));
  window.Paint();
  int differences = 0;
  int ink = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 200; ++x) {
      differences += window.Pixel(10 + x, 50 + y) != window.Pixel(10 + x, 90 + y) ? 1 : 0;
      ink += window.Pixel(10 + x, 50 + y) != kWhite ? 1 : 0;
    }
  }
  EXPECT_GT(ink, 0);
  EXPECT_EQ(differences, 0);

  CEditUI* fixed = Edit(L"fixed");
  window.Manager().SetFocus(fixed);
  ASSERT_NE(fixed->GetNativeWindow(), nullptr);
  Type(fixed->GetNativeWindow(), L"zz");
  EXPECT_EQ(fixed->GetText(), L"fixed");
  EXPECT_EQ(window.NoteCount(L"textchanged:fixed"), 0);

  window.Click(250, 145);
  EXPECT_EQ(Edit(L"off")->GetNativeWindow(), nullptr);
  EXPECT_NE(window.Manager().GetFocus(), Edit(L"off"));
}

}  // namespace

namespace {

TEST(EditInLayeredWindow, TheNativeEditIsComposedIntoThePicture) {
  TestWindow window{
      L"<Window size=\"240,60\" layered=\"true\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
      L"<Edit name=\"edit\" float=\"true\" pos=\"10,10,230,50\" textcolor=\"#FF000000\""
      L" nativebkcolor=\"#FFFFFFFF\"/></VerticalLayout></Window>"};
  ASSERT_TRUE(window.Open());
  auto* edit = static_cast<CEditUI*>(window.Find(L"edit")->GetInterface(L"Edit"));
  window.Manager().SetFocus(edit);
  HWND native = edit->GetNativeWindow();
  ASSERT_NE(native, nullptr);
  for (const wchar_t* ch = L"WWWW"; *ch != 0; ++ch) ::PostMessageW(native, WM_CHAR, *ch, 1);
  PumpPending();
  // The system draws no child of a layered window: the manager prints it into the back buffer.
  window.Manager().Invalidate();
  window.Paint();
  int ink = 0;
  for (int y = 10; y < 50; ++y)
    for (int x = 10; x < 230; ++x) ink += window.Pixel(x, y) != 0xFFFFFFu ? 1 : 0;
  EXPECT_GT(ink, 20);
}

}  // namespace
