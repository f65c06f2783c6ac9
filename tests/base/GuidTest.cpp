#include "Guid.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

bool IsUpperHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F'); }

}  // namespace

TEST(NewGuidString, BracedFormHasThirtyEightCharactersWithDashes) {
  const std::wstring guid = NewGuidString(true);
  ASSERT_EQ(guid.size(), 38u);
  EXPECT_EQ(guid.front(), L'{');
  EXPECT_EQ(guid.back(), L'}');
  for (size_t i = 1; i < 37; ++i) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      EXPECT_EQ(guid[i], L'-');
    } else {
      EXPECT_TRUE(IsUpperHex(guid[i])) << "position " << i;
    }
  }
}

TEST(NewGuidString, BareFormHasThirtyTwoHexDigitsAndEachCallIsFresh) {
  const std::wstring first = NewGuidString(false);
  const std::wstring second = NewGuidString(false);
  ASSERT_EQ(first.size(), 32u);
  for (wchar_t c : first) EXPECT_TRUE(IsUpperHex(c));
  EXPECT_NE(first, second);
}
