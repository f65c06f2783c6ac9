#pragma once
// String-keyed table of owned values: 83 buckets with separate chaining, exact keys, and a
// successful lookup moves its entry to the front of the bucket.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace SkinUI {

template <typename Value>
class CResourceTable {
 public:
  static constexpr uint32_t kBucketCount = 83;

  // Runs over the characters from the last to the first.
  static uint32_t HashKey(const std::wstring& key) {
    uint32_t hash = 0;
    for (auto it = key.rbegin(); it != key.rend(); ++it)
      hash = hash * 33u + static_cast<uint32_t>(static_cast<uint16_t>(*it));
    return hash;
  }
  static uint32_t BucketOf(const std::wstring& key) { return HashKey(key) % kBucketCount; }

  Value* Find(const std::wstring& key) {
    if (key.empty()) return nullptr;
    Bucket& bucket = buckets_[BucketOf(key)];
    for (auto it = bucket.begin(); it != bucket.end(); ++it) {
      if (it->first == key) {
        bucket.splice(bucket.begin(), bucket, it);
        return bucket.front().second.get();
      }
    }
    return nullptr;
  }

  // Refuses an empty key, a missing value and a key that is already present.
  bool Insert(const std::wstring& key, std::unique_ptr<Value> value) {
    if (key.empty() || !value) return false;
    Bucket& bucket = buckets_[BucketOf(key)];
    for (const auto& entry : bucket)
      if (entry.first == key) return false;
    bucket.emplace_front(key, std::move(value));
    ++size_;
    return true;
  }

  // Replaces any entry under the key; the old value is destroyed.
  bool Set(const std::wstring& key, std::unique_ptr<Value> value) {
    Remove(key);
    return Insert(key, std::move(value));
  }

  std::unique_ptr<Value> Remove(const std::wstring& key) {
    if (key.empty()) return nullptr;
    Bucket& bucket = buckets_[BucketOf(key)];
    for (auto it = bucket.begin(); it != bucket.end(); ++it) {
      if (it->first == key) {
        std::unique_ptr<Value> value = std::move(it->second);
        bucket.erase(it);
        --size_;
        return value;
      }
    }
    return nullptr;
  }

  void Clear() {
    for (auto& bucket : buckets_) bucket.clear();
    size_ = 0;
  }

  size_t GetSize() const { return size_; }
  bool IsEmpty() const { return size_ == 0; }

  // Visits every entry without reordering; the visitor gets the key and the value.
  template <typename Visitor>
  void ForEach(Visitor&& visit) {
    for (auto& bucket : buckets_)
      for (auto& entry : bucket) visit(entry.first, *entry.second);
  }

  // Removes every entry for which the predicate returns true.
  template <typename Predicate>
  void RemoveIf(Predicate&& remove) {
    for (auto& bucket : buckets_) {
      for (auto it = bucket.begin(); it != bucket.end();) {
        if (remove(it->first, *it->second)) {
          it = bucket.erase(it);
          --size_;
        } else {
          ++it;
        }
      }
    }
  }

  // Keys of one bucket, front first.
  std::vector<std::wstring> GetBucketKeys(uint32_t bucketIndex) const {
    std::vector<std::wstring> keys;
    if (bucketIndex < kBucketCount)
      for (const auto& entry : buckets_[bucketIndex]) keys.push_back(entry.first);
    return keys;
  }

 private:
  using Bucket = std::list<std::pair<std::wstring, std::unique_ptr<Value>>>;
  std::array<Bucket, kBucketCount> buckets_;
  size_t size_ = 0;
};

}  // namespace SkinUI
