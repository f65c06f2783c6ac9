#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "PaintManagerUI.h"
#include "SkinResourceIndex.h"

namespace SkinUI {
namespace {

using testing::EncodePng;
using testing::TempFolder;

class ResourceIndex : public ::testing::Test {
 protected:
  void SetUp() override { CSkinResourceIndex::Release(); }
  void TearDown() override { CSkinResourceIndex::Release(); }
  CSkinResourceIndex* index() { return CSkinResourceIndex::GetInstance(); }
};

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST_F(ResourceIndex, MarkupTextRegistersNestedLeavesAndTheFirstWins) {
  ASSERT_TRUE(index()->LoadResourceIndex(
      L"<Res><Group><Image id=\"logo\" path=\"img\\logo.png\"/><Deeper><Xml id=\"main\" path=\"Main.xml\"/>"
      L"</Deeper></Group><Image id=\"logo\" path=\"second.png\"/><Image id=\"nopath\"/>"
      L"<Font id=\"f\" path=\"x.ttf\"/></Res>"));
  ASSERT_NE(index()->GetImagePath(L"logo"), nullptr);
  EXPECT_EQ(*index()->GetImagePath(L"logo"), L"img\\logo.png");
  ASSERT_NE(index()->GetXmlPath(L"main"), nullptr);
  EXPECT_EQ(*index()->GetXmlPath(L"main"), L"Main.xml");
  EXPECT_EQ(index()->GetImagePath(L"nopath"), nullptr);
  EXPECT_EQ(index()->GetImagePath(L"f"), nullptr);
  EXPECT_EQ(index()->GetXmlPath(L"logo"), nullptr);
  index()->ResetResourceIndex();
  EXPECT_EQ(index()->GetImagePath(L"logo"), nullptr);
}

TEST_F(ResourceIndex, MissingDocumentFailsQuietly) {
  EXPECT_FALSE(index()->LoadResourceIndex(L"res.xml"));
  EXPECT_FALSE(index()->LoadResourceIndex(L"<Res><broken"));
  EXPECT_FALSE(index()->LoadResourceIndex(L"999", L"XML"));
  EXPECT_EQ(index()->GetImagePath(L"anything"), nullptr);
}

TEST_F(ResourceIndex, DocumentFileMapsImageIdsForThePaintManager) {
  TempFolder folder;
  const std::wstring png = folder.Write(L"real.png", EncodePng(3, 2, std::vector<uint32_t>(6, 0xFF00FF00)));
  const std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Res><Image id=\"logo\" path=\"" +
                          std::string(png.begin(), png.end()) + "\"/></Res>";
  const std::wstring document = folder.Write(L"res.xml", Bytes(xml));
  ASSERT_TRUE(index()->LoadResourceIndex(document));
  CPaintManagerUI manager;
  const TImageDataUI* image = manager.GetOrLoadImage(L"logo");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(manager.GetImage(L"logo"), image) << "registered under the id";
}

TEST_F(ResourceIndex, TextsDocumentReplacesTexts) {
  ASSERT_TRUE(index()->LoadTexts(
      L"<Texts><Text id=\"title\" value=\"Setup\"/><Text id=\"title\" value=\"Tessaro Setup\"/>"
      L"<Text id=\"novalue\"/><Other id=\"x\" value=\"y\"/></Texts>"));
  EXPECT_EQ(index()->GetText(L"title"), L"Tessaro Setup");
  EXPECT_EQ(index()->GetText(L"novalue"), L"novalue");
  EXPECT_EQ(index()->GetText(L"x"), L"x");
  index()->ResetTexts();
  EXPECT_EQ(index()->GetText(L"title"), L"title");
}

}  // namespace
}  // namespace SkinUI
