#include "ZkBase.h"

#include <gtest/gtest.h>

#include <vector>

#include "ZkMessages.h"

namespace {

struct Message {
  uint32_t code;
  int32_t param1;
  int32_t param2;
  bool operator==(const Message& other) const {
    return code == other.code && param1 == other.param1 && param2 == other.param2;
  }
};

class Recorder : public ZkBase {
 public:
  explicit Recorder(bool* destroyed = nullptr) : destroyed_(destroyed) {}
  ~Recorder() override {
    if (destroyed_) *destroyed_ = true;
  }
  void OnMessage(uint32_t code, int32_t param1, int32_t param2) override {
    received.push_back({code, param1, param2});
  }
  std::vector<Message> received;

 private:
  bool* destroyed_;
};

// A wizard page: relays code-1 messages to its target, drops the rest.
class Page : public ZkBase {
 public:
  void OnMessage(uint32_t code, int32_t param1, int32_t param2) override {
    RelayPostToTarget(code, param1, param2);
  }
};

}  // namespace

TEST(ZkBase, DestroyCallbackRunsOnceOnDestruction) {
  int calls = 0;
  {
    ZkBase object;
    object.SetDestroyCallback([&] { ++calls; });
    EXPECT_EQ(calls, 0);
  }
  EXPECT_EQ(calls, 1);
}

TEST(ZkBase, ReplacedDestroyCallbackIsNotInvoked) {
  int first = 0, second = 0;
  {
    ZkBase object;
    object.SetDestroyCallback([&] { ++first; });
    object.SetDestroyCallback([&] { ++second; });
  }
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
}

TEST(ZkBase, TargetIsNeverOwned) {
  bool targetDestroyed = false;
  Recorder target(&targetDestroyed);
  {
    ZkBase source;
    source.SetTarget(&target);
    source.SetTarget(nullptr);
    source.SetTarget(&target);
  }
  EXPECT_FALSE(targetDestroyed);
}

TEST(ZkBase, DeliverGoesToTheTargetWhenSetElseToItself) {
  Recorder frame;
  frame.Deliver(kMsgPostToUiThread, kMsgProgress, 0);
  EXPECT_EQ(frame.received, (std::vector<Message>{{1, 54, 0}}));

  Recorder other;
  frame.SetTarget(&other);
  frame.Deliver(kMsgPostToUiThread, kMsgProgress, 1);
  EXPECT_EQ(frame.received.size(), 1u);
  EXPECT_EQ(other.received, (std::vector<Message>{{1, 54, 1}}));
}

TEST(ZkBase, PageRelaysOnlyCodeOneUnchanged) {
  Recorder frame;
  Page page;
  page.SetTarget(&frame);
  page.OnMessage(kMsgPostToUiThread, kMsgSelectPage, 2);
  page.OnMessage(kMsgSelectPage, 2, 0);
  page.OnMessage(kMsgStartInstall, 0, 0);
  EXPECT_EQ(frame.received, (std::vector<Message>{{1, 52, 2}}));
}

TEST(ZkBase, PageWithoutTargetDropsAndNeverRelaysToItself) {
  Page page;
  page.OnMessage(kMsgPostToUiThread, kMsgSelectPage, 1);  // must not recurse
  page.SetTarget(&page);
  page.OnMessage(kMsgPostToUiThread, kMsgSelectPage, 1);
  SUCCEED();
}

TEST(ZkBase, TagDefaultsToZero) {
  ZkBase object;
  EXPECT_EQ(object.tag(), 0);
  object.SetTag(-3);
  EXPECT_EQ(object.tag(), -3);
}
