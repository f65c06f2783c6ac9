#include "XmlMarkup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

struct Outcome {
  bool loaded;
  std::wstring message;
  std::wstring location;
};

Outcome ErrorOf(CXmlMarkup& markup, bool loaded) {
  wchar_t message[100], location[50];
  markup.GetErrorMessage(message, 100);
  markup.GetErrorLocation(location, 50);
  return {loaded, message, location};
}

Outcome Load(const std::wstring& text) {
  CXmlMarkup markup;
  const bool loaded = markup.LoadText(text.c_str());
  return ErrorOf(markup, loaded);
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Utf16(const std::wstring& text, bool bigEndian) {
  std::vector<uint8_t> bytes = bigEndian ? std::vector<uint8_t>{0xFE, 0xFF} : std::vector<uint8_t>{0xFF, 0xFE};
  for (wchar_t c : text) {
    const uint8_t high = static_cast<uint8_t>(c >> 8), low = static_cast<uint8_t>(c);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
  return bytes;
}

}  // namespace

TEST(XmlMarkup, EveryParseErrorHasItsMessageAndLocation) {
  struct Case {
    const wchar_t* text;
    const wchar_t* message;
    const wchar_t* location;
  };
  const Case cases[] = {
      {L"text", L"Expected start tag", L"text"},
      {L"<a><b/>x<c/></a>", L"Expected start tag", L"x<c/></a>"},
      {L"<a><b><c/>", L"Expected start tag", L""},
      {L"<abc", L"Error parsing element name", L""},
      {L"<a x=\"1\"", L"Expected start-tag closing", L""},
      {L"<a x=\"1\"/ >", L"Expected start-tag closing", L"/ >"},
      {L"<a><b><c>text", L"Expected end-tag start", L""},
      {L"<a></A>", L"Unmatched closing tag", L"A>"},
      {L"<a></ab>", L"Unmatched closing tag", L">"},
      {L"<a></a x>", L"Unmatched closing tag", L">"},
      {L"<a></a", L"Unmatched closing tag", L""},
      {L"<a></a></b>", L"Unmatched closing tag", L"</b>"},
      {L"<a x>", L"Error while parsing attributes", L">"},
      {L"<a x \"1\">", L"Error while parsing attributes", L"\"1\">"},
      {L"<a x='1'/>", L"Expected attribute value", L"1'/>"},
      {L"<a x=", L"Expected attribute value", L""},
      {L"<a x=\"1", L"Error while parsing attribute string", L""},
      {L"<a x=\"&quot;", L"Error while parsing attribute string", L""},
  };
  for (const Case& c : cases) {
    const Outcome o = Load(c.text);
    EXPECT_FALSE(o.loaded) << c.text;
    EXPECT_EQ(o.message, c.message) << c.text;
    EXPECT_EQ(o.location, c.location) << c.text;
  }
}

TEST(XmlMarkup, FailedParseClearsTheDocumentButKeepsTheError) {
  CXmlMarkup markup(L"<a><b/></a>");
  ASSERT_TRUE(markup.IsValid());
  CXmlMarkupNode root = markup.Root();
  EXPECT_STREQ(root.Name(), L"a");
  EXPECT_FALSE(markup.LoadText(L"<a></b>"));
  EXPECT_FALSE(markup.IsValid());
  EXPECT_FALSE(markup.Root().IsValid());
  Outcome o = ErrorOf(markup, false);
  EXPECT_EQ(o.message, L"Unmatched closing tag");
  EXPECT_EQ(o.location, L"b>");
  // The next successful parse clears the stored texts.
  EXPECT_TRUE(markup.LoadText(L"<ok/>"));
  o = ErrorOf(markup, true);
  EXPECT_EQ(o.message, L"");
  EXPECT_EQ(o.location, L"");
}

TEST(XmlMarkup, ErrorTextsAreCutToTheirBuffers) {
  const std::wstring text(200, L'z');
  CXmlMarkup markup;
  EXPECT_FALSE(markup.LoadText(text.c_str()));
  wchar_t location[80];
  markup.GetErrorLocation(location, 80);
  EXPECT_EQ(std::wstring(location), std::wstring(49, L'z'));
  wchar_t small[5];
  markup.GetErrorMessage(small, 5);
  EXPECT_STREQ(small, L"Expe");
  markup.GetErrorLocation(small, 5);
  EXPECT_STREQ(small, L"zzzz");
}

TEST(XmlMarkup, DeclarationAndWhitespaceOnlyHaveNoRoot) {
  CXmlMarkup markup;
  EXPECT_TRUE(markup.LoadText(L" \r\n<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\t "));
  EXPECT_TRUE(markup.IsValid());
  EXPECT_FALSE(markup.Root().IsValid());
  EXPECT_TRUE(markup.LoadText(L""));
  EXPECT_FALSE(markup.Root().IsValid());
}

TEST(XmlMarkup, CommentsAndInstructionsAreSkipped) {
  CXmlMarkup markup(L"<?xml version=\"1.0\"?><!-- top --><a><!-- in -><b/><?pi x?><c/></a><!-- end -->");
  CXmlMarkupNode a = markup.Root();
  ASSERT_TRUE(a.IsValid());
  EXPECT_STREQ(a.Name(), L"a");
  EXPECT_STREQ(a.FirstChild().Name(), L"b");
  EXPECT_STREQ(a.FirstChild().NextSibling().Name(), L"c");
  EXPECT_FALSE(a.FirstChild().NextSibling().HasSiblings());
  // A document type declaration runs to the next "->", here the end of the text.
  CXmlMarkup doctype(L"<!DOCTYPE skin><a/>");
  EXPECT_TRUE(doctype.IsValid());
  EXPECT_FALSE(doctype.Root().IsValid());
}

TEST(XmlMarkup, MissingEndTagsAreAcceptedOnlyNearTheTop) {
  CXmlMarkup markup(L"<a x=\"1\">top<b>inner");
  ASSERT_TRUE(markup.IsValid());
  CXmlMarkupNode a = markup.Root();
  EXPECT_STREQ(a.Name(), L"a");
  EXPECT_STREQ(a.AttributeValue(L"x"), L"1");
  EXPECT_STREQ(a.Value(), L"top");
  CXmlMarkupNode b = a.FirstChild();
  EXPECT_STREQ(b.Name(), L"b");
  EXPECT_STREQ(b.Value(), L"inner");
  CXmlMarkup shrunk(L"<a>x &amp; y");
  EXPECT_STREQ(shrunk.Root().Name(), L"a");
  EXPECT_STREQ(shrunk.Root().Value(), L"x & y");
  EXPECT_FALSE(Load(L"<a><b><c>").loaded);
}

TEST(XmlMarkup, TreeHandlesWalkTheDocument) {
  CXmlMarkup markup(
      L"<Window a=\"1\">\n  <Label name=\"l1\"/>\n  <Button name=\"b\"><Inner/></Button>\n"
      L"  <label name=\"l2\">v</label>\n</Window>\n");
  CXmlMarkupNode window = markup.Root();
  ASSERT_TRUE(window.IsValid());
  EXPECT_STREQ(window.Name(), L"Window");
  EXPECT_TRUE(window.HasChildren());
  EXPECT_FALSE(window.HasSiblings());
  EXPECT_FALSE(window.Parent().IsValid());
  CXmlMarkupNode label = window.FirstChild();
  EXPECT_STREQ(label.AttributeValue(L"name"), L"l1");
  EXPECT_FALSE(label.HasChildren());
  CXmlMarkupNode button = label.NextSibling();
  EXPECT_STREQ(button.Name(), L"Button");
  EXPECT_STREQ(button.FirstChild().Name(), L"Inner");
  EXPECT_STREQ(button.FirstChild().Parent().Name(), L"Button");
  EXPECT_STREQ(button.FirstChild().Parent().Parent().Name(), L"Window");
  CXmlMarkupNode last = button.NextSibling();
  EXPECT_STREQ(last.Value(), L"v");
  EXPECT_FALSE(last.NextSibling().IsValid());
  EXPECT_STREQ(window.ChildByName(L"LABEL").AttributeValue(L"name"), L"l1");
  EXPECT_STREQ(window.ChildByName(L"button").AttributeValue(L"name"), L"b");
  EXPECT_FALSE(window.ChildByName(L"Inner").IsValid());
  EXPECT_FALSE(window.ChildByName(nullptr).IsValid());
  EXPECT_STREQ(window.Value(), L"\n  ");
  EXPECT_STREQ(label.Value(), L"");
}

TEST(XmlMarkup, InvalidHandlesAnswerNullAndZero) {
  const CXmlMarkupNode none;
  EXPECT_FALSE(none.IsValid());
  EXPECT_FALSE(none.Parent().IsValid());
  EXPECT_FALSE(none.NextSibling().IsValid());
  EXPECT_FALSE(none.FirstChild().IsValid());
  EXPECT_FALSE(none.ChildByName(L"a").IsValid());
  EXPECT_FALSE(none.HasSiblings());
  EXPECT_FALSE(none.HasChildren());
  EXPECT_EQ(none.Name(), nullptr);
  EXPECT_EQ(none.Value(), nullptr);
  EXPECT_FALSE(none.HasAttributes());
  EXPECT_EQ(none.AttributeCount(), 0);
  EXPECT_EQ(none.AttributeName(0), nullptr);
  EXPECT_EQ(none.AttributeValue(0), nullptr);
  EXPECT_EQ(none.AttributeValue(L"a"), nullptr);
  EXPECT_FALSE(none.HasAttribute(L"a"));
  wchar_t buffer[4] = L"old";
  EXPECT_FALSE(none.CopyAttributeValue(0, buffer, 4));
  EXPECT_FALSE(none.CopyAttributeValue(L"a", buffer, 4));
  EXPECT_STREQ(buffer, L"old");
}

TEST(XmlMarkup, AttributesAreScannedLazilyAndMatchedIgnoringCase) {
  CXmlMarkup markup(L"<a  First = \"1\"  second=\"two\"\tTHIRD=\"\"  ><b/></a>");
  CXmlMarkupNode a = markup.Root();
  ASSERT_TRUE(a.IsValid());
  EXPECT_STREQ(a.Name(), L"a");
  EXPECT_TRUE(a.HasAttributes());
  EXPECT_EQ(a.AttributeCount(), 3);
  EXPECT_STREQ(a.AttributeName(0), L"First");
  EXPECT_STREQ(a.AttributeValue(0), L"1");
  EXPECT_STREQ(a.AttributeName(1), L"second");
  EXPECT_STREQ(a.AttributeName(2), L"THIRD");
  EXPECT_STREQ(a.AttributeValue(2), L"");
  EXPECT_STREQ(a.AttributeValue(L"FIRST"), L"1");
  EXPECT_STREQ(a.AttributeValue(L"Second"), L"two");
  EXPECT_TRUE(a.HasAttribute(L"third"));
  EXPECT_FALSE(a.HasAttribute(L"fourth"));
  EXPECT_STREQ(a.AttributeValue(L"fourth"), L"");
  EXPECT_STREQ(a.AttributeName(3), L"");
  EXPECT_STREQ(a.AttributeValue(-1), L"");
  wchar_t buffer[8] = L"keep";
  EXPECT_FALSE(a.CopyAttributeValue(5, buffer, 8));
  EXPECT_FALSE(a.CopyAttributeValue(L"fourth", buffer, 8));
  EXPECT_STREQ(buffer, L"keep");
  EXPECT_TRUE(a.CopyAttributeValue(L"second", buffer, 8));
  EXPECT_STREQ(buffer, L"two");
  EXPECT_TRUE(a.CopyAttributeValue(1, buffer, 3));
  EXPECT_STREQ(buffer, L"tw");
  CXmlMarkupNode b = a.FirstChild();
  EXPECT_FALSE(b.HasAttributes());
  EXPECT_EQ(b.AttributeCount(), 0);
  EXPECT_STREQ(b.AttributeValue(0), L"");
  // A copy of a scanned handle keeps working.
  CXmlMarkupNode copy = a;
  EXPECT_STREQ(copy.AttributeValue(L"first"), L"1");
}

TEST(XmlMarkup, The65thAttributeIsInvisible) {
  std::wstring text = L"<a";
  for (int i = 0; i < 65; ++i) text += L" n" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
  text += L"/>";
  CXmlMarkup markup(text.c_str());
  CXmlMarkupNode a = markup.Root();
  ASSERT_TRUE(a.IsValid());
  EXPECT_EQ(a.AttributeCount(), 64);
  EXPECT_STREQ(a.AttributeValue(L"n63"), L"63");
  EXPECT_FALSE(a.HasAttribute(L"n64"));
  EXPECT_STREQ(a.AttributeValue(L"n64"), L"");
  EXPECT_STREQ(a.AttributeName(64), L"");
}

TEST(XmlMarkup, FiveNamedEntitiesAreDecodedAndOthersKeptLiterally) {
  CXmlMarkup markup(
      L"<a t=\"say &quot;hi&quot;\" u=\"&amp;lt;\" v=\"&foo; &amp\" w=\"&lt;&gt;&apos;&amp;\" x=\"after\">"
      L"1 &lt; 2 &AMP; &#65;</a>");
  CXmlMarkupNode a = markup.Root();
  ASSERT_TRUE(a.IsValid());
  EXPECT_STREQ(a.AttributeValue(L"t"), L"say \"hi\"");
  EXPECT_STREQ(a.AttributeValue(L"u"), L"&lt;");
  EXPECT_STREQ(a.AttributeValue(L"v"), L"&foo; &amp");
  EXPECT_STREQ(a.AttributeValue(L"w"), L"<>'&");
  EXPECT_STREQ(a.AttributeValue(L"x"), L"after");
  EXPECT_EQ(a.AttributeCount(), 5);
  EXPECT_STREQ(a.Value(), L"1 < 2 &AMP; &#65;");
  // Single quotes are ordinary characters inside a value.
  CXmlMarkup quotes(L"<i file=\"a.png\" dest='0,0,1,1'/>");
  EXPECT_FALSE(quotes.IsValid());
  CXmlMarkup image(L"<i bk=\"file='a.png' dest='0,0,1,1'\"/>");
  EXPECT_STREQ(image.Root().AttributeValue(L"bk"), L"file='a.png' dest='0,0,1,1'");
}

TEST(XmlMarkup, WhitespaceCollapsesAfterASpaceWhenNotPreserved) {
  const wchar_t* text = L"<a v=\"x  \r\n y\"> p  \n  q\t\t r </a>";
  CXmlMarkup kept(text);
  EXPECT_STREQ(kept.Root().Value(), L" p  \n  q\t\t r ");
  EXPECT_STREQ(kept.Root().AttributeValue(L"v"), L"x  \r\n y");
  CXmlMarkup collapsed;
  collapsed.SetPreserveWhitespace(false);
  ASSERT_TRUE(collapsed.LoadText(text));
  EXPECT_STREQ(collapsed.Root().Value(), L" p q\t\t r ");
  EXPECT_STREQ(collapsed.Root().AttributeValue(L"v"), L"x y");
}

TEST(XmlMarkup, Utf8WithAndWithoutMarkGivesTheSameDocument) {
  const std::string text = "<a t=\"\xE5\x9B\xBE \xF0\x9F\x98\x80\">\xC3\xA4</a>";
  CXmlMarkup plain, marked;
  const std::vector<uint8_t> bytes = Bytes(text);
  ASSERT_TRUE(plain.LoadBuffer(bytes.data(), bytes.size(), CXmlMarkup::kEncodingUtf8));
  const std::vector<uint8_t> withMark = Bytes("\xEF\xBB\xBF" + text);
  ASSERT_TRUE(marked.LoadBuffer(withMark.data(), withMark.size()));
  for (CXmlMarkup* m : {&plain, &marked}) {
    EXPECT_STREQ(m->Root().Name(), L"a");
    EXPECT_EQ(std::wstring(m->Root().AttributeValue(L"t")), std::wstring(L"\x56FE \xD83D\xDE00"));
    EXPECT_STREQ(m->Root().Value(), L"\x00E4");
  }
}

TEST(XmlMarkup, Utf16NeedsAByteOrderMark) {
  const std::wstring text = L"<a t=\"\x56FE\">v</a>";
  for (bool bigEndian : {true, false}) {
    std::vector<uint8_t> bytes = Utf16(text, bigEndian);
    bytes.push_back(0x41);  // an odd trailing byte is not a character
    CXmlMarkup markup;
    ASSERT_TRUE(markup.LoadBuffer(bytes.data(), bytes.size(), CXmlMarkup::kEncodingUnicode)) << bigEndian;
    EXPECT_STREQ(markup.Root().AttributeValue(L"t"), L"\x56FE");
    EXPECT_STREQ(markup.Root().Value(), L"v");
  }
  const std::vector<uint8_t> bare = {'<', 0, 'a', 0, '/', 0, '>', 0};
  CXmlMarkup markup;
  EXPECT_FALSE(markup.LoadBuffer(bare.data(), bare.size(), CXmlMarkup::kEncodingUnicode));
  EXPECT_FALSE(markup.IsValid());
  EXPECT_FALSE(markup.LoadBuffer(bare.data(), 1, CXmlMarkup::kEncodingUnicode));
}

TEST(XmlMarkup, AnsiBuffersUseTheSystemCodePage) {
  const std::vector<uint8_t> bytes = Bytes("<a t=\"\xE4\"/>");
  CXmlMarkup markup;
  ASSERT_TRUE(markup.LoadBuffer(bytes.data(), bytes.size(), CXmlMarkup::kEncodingAnsi));
  // 0xE4 is "a with diaeresis" in Latin-1 and in code page 1252 alike.
  EXPECT_STREQ(markup.Root().AttributeValue(L"t"), L"\x00E4");
}

TEST(XmlMarkup, BadBuffersLoadNothing) {
  CXmlMarkup markup(L"<a/>");
  EXPECT_FALSE(markup.LoadBuffer(nullptr, 4));
  EXPECT_FALSE(markup.IsValid());
  EXPECT_FALSE(markup.LoadText(nullptr));
  const std::vector<uint8_t> truncated = Bytes("<a t=\"\xE5\x9B");
  EXPECT_FALSE(markup.LoadBuffer(truncated.data(), truncated.size()));
  const std::vector<uint8_t> empty;
  EXPECT_TRUE(markup.LoadBuffer(empty.data(), 0));
  EXPECT_FALSE(markup.Root().IsValid());
}

TEST(XmlMarkup, ThousandsOfElementsStayReachable) {
  std::wstring text = L"<list>";
  for (int i = 0; i < 3000; ++i) text += L"<item n=\"" + std::to_wstring(i) + L"\"/>";
  text += L"</list>";
  CXmlMarkup markup(text.c_str());
  CXmlMarkupNode list = markup.Root();
  ASSERT_TRUE(list.IsValid());
  int count = 0;
  for (CXmlMarkupNode item = list.FirstChild(); item.IsValid(); item = item.NextSibling()) {
    ASSERT_EQ(std::wstring(item.AttributeValue(L"n")), std::to_wstring(count));
    ASSERT_STREQ(item.Parent().Name(), L"list");
    ++count;
  }
  EXPECT_EQ(count, 3000);
}

TEST(XmlMarkup, DeepNestingAndReloading) {
  std::wstring text;
  for (int i = 0; i < 200; ++i) text += L"<d>";
  for (int i = 0; i < 200; ++i) text += L"</d>";
  CXmlMarkup markup(text.c_str());
  int depth = 0;
  for (CXmlMarkupNode n = markup.Root(); n.IsValid(); n = n.FirstChild()) ++depth;
  EXPECT_EQ(depth, 200);
  ASSERT_TRUE(markup.LoadText(L"<again/>"));
  EXPECT_STREQ(markup.Root().Name(), L"again");
  EXPECT_FALSE(markup.Root().HasChildren());
  markup.Clear();
  EXPECT_FALSE(markup.IsValid());
  EXPECT_FALSE(markup.Root().IsValid());
}

namespace {

std::wstring Nested(size_t depth) {
  std::wstring text;
  for (size_t i = 0; i < depth; ++i) text += L"<a>";
  for (size_t i = 0; i < depth; ++i) text += L"</a>";
  return text;
}

}  // namespace

// Without a limit a deep document overflows the stack of the recursive descent.
TEST(XmlMarkup, DocumentsNestedDeeperThanTheLimitAreRefused) {
  CXmlMarkup markup;
  ASSERT_TRUE(markup.LoadText(Nested(CXmlMarkup::kMaxNestingDepth).c_str()));
  size_t depth = 0;
  for (CXmlMarkupNode node = markup.Root(); node.IsValid(); node = node.FirstChild()) ++depth;
  EXPECT_EQ(depth, CXmlMarkup::kMaxNestingDepth);

  const Outcome tooDeep = Load(Nested(CXmlMarkup::kMaxNestingDepth + 1));
  EXPECT_FALSE(tooDeep.loaded);
  EXPECT_EQ(tooDeep.message, L"Elements nested too deeply");
  const Outcome huge = Load(Nested(1000000));
  EXPECT_FALSE(huge.loaded);
  EXPECT_EQ(huge.message, L"Elements nested too deeply");
}
