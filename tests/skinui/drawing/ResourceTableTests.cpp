#include <gtest/gtest.h>

#include "ResourceTable.h"

namespace SkinUI {
namespace {

using Table = CResourceTable<std::wstring>;

std::unique_ptr<std::wstring> Text(const wchar_t* text) { return std::make_unique<std::wstring>(text); }

// Two keys that land in the same bucket.
std::pair<std::wstring, std::wstring> CollidingKeys() {
  for (int a = 0; a < 1000; ++a) {
    for (int b = a + 1; b < 1000; ++b) {
      const std::wstring ka = L"k" + std::to_wstring(a);
      const std::wstring kb = L"k" + std::to_wstring(b);
      if (Table::BucketOf(ka) == Table::BucketOf(kb)) return {ka, kb};
    }
  }
  return {};
}

TEST(ResourceTable, HashRunsFromLastCharacterTimes33) {
  // "ab": hash = ('b') * 33 + 'a'.
  EXPECT_EQ(Table::HashKey(L"ab"), 98u * 33u + 97u);
  EXPECT_EQ(Table::HashKey(L""), 0u);
  EXPECT_EQ(Table::BucketOf(L"ab"), (98u * 33u + 97u) % 83u);
  EXPECT_EQ(Table::kBucketCount, 83u);
  // Unsigned 32-bit wrap-around on long keys.
  const std::wstring longKey(40, L'z');
  uint32_t expected = 0;
  for (size_t i = 0; i < longKey.size(); ++i) expected = expected * 33u + L'z';
  EXPECT_EQ(Table::HashKey(longKey), expected);
}

TEST(ResourceTable, KeysCompareExactly) {
  Table table;
  ASSERT_TRUE(table.Insert(L"Button", Text(L"one")));
  EXPECT_EQ(table.Find(L"button"), nullptr);
  ASSERT_NE(table.Find(L"Button"), nullptr);
  EXPECT_EQ(*table.Find(L"Button"), L"one");
  EXPECT_FALSE(table.Insert(L"Button", Text(L"two")));
  EXPECT_EQ(*table.Find(L"Button"), L"one");
  EXPECT_FALSE(table.Insert(L"", Text(L"empty")));
  EXPECT_EQ(table.Find(L""), nullptr);
}

TEST(ResourceTable, LookupMovesEntryToFrontOfBucket) {
  const auto [first, second] = CollidingKeys();
  ASSERT_FALSE(first.empty());
  Table table;
  table.Insert(first, Text(L"1"));
  table.Insert(second, Text(L"2"));
  const uint32_t bucket = Table::BucketOf(first);
  EXPECT_EQ(table.GetBucketKeys(bucket), (std::vector<std::wstring>{second, first}));
  ASSERT_NE(table.Find(first), nullptr);
  EXPECT_EQ(table.GetBucketKeys(bucket), (std::vector<std::wstring>{first, second}));
  EXPECT_EQ(*table.Find(second), L"2");
  EXPECT_EQ(table.GetBucketKeys(bucket), (std::vector<std::wstring>{second, first}));
}

TEST(ResourceTable, SetReplacesAndRemoveHandsBackValue) {
  Table table;
  table.Set(L"a", Text(L"old"));
  table.Set(L"a", Text(L"new"));
  EXPECT_EQ(table.GetSize(), 1u);
  EXPECT_EQ(*table.Find(L"a"), L"new");
  auto removed = table.Remove(L"a");
  ASSERT_TRUE(removed);
  EXPECT_EQ(*removed, L"new");
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_FALSE(table.Remove(L"a"));
}

TEST(ResourceTable, RemoveIfAndClearDropEntries) {
  Table table;
  for (int i = 0; i < 200; ++i) table.Insert(std::to_wstring(i), Text(i % 2 ? L"odd" : L"even"));
  EXPECT_EQ(table.GetSize(), 200u);
  table.RemoveIf([](const std::wstring&, std::wstring& value) { return value == L"odd"; });
  EXPECT_EQ(table.GetSize(), 100u);
  EXPECT_EQ(table.Find(L"3"), nullptr);
  EXPECT_NE(table.Find(L"4"), nullptr);
  table.Clear();
  EXPECT_EQ(table.GetSize(), 0u);
  EXPECT_EQ(table.Find(L"4"), nullptr);
}

}  // namespace
}  // namespace SkinUI
