#pragma once
// Base of every object that passes numbered messages to a relay target: the main frame, the
// wizard pages and, through the frame, the worker's progress callable.

#include <cstdint>
#include <functional>
#include <memory>

class ZkBase {
 public:
  ZkBase() = default;
  ZkBase(const ZkBase&) = delete;
  ZkBase& operator=(const ZkBase&) = delete;

  // Invokes the destroy callable, if set, before the members are released.
  virtual ~ZkBase();
  // The base ignores every message.
  virtual void OnMessage(uint32_t code, int32_t param1, int32_t param2);
  virtual void SetDestroyCallback(std::function<void()> callback);
  virtual void SetExtraCallback(std::function<void()> callback);

  // Stores target without ownership; it is never deleted through this reference.
  void SetTarget(ZkBase* target);
  void SetTag(int32_t tag) { tag_ = tag; }

  ZkBase* target() const { return target_.get(); }
  int32_t tag() const { return tag_; }

  // Delivers a message to this object's relay target if it has one, otherwise to itself.
  void Deliver(uint32_t code, int32_t param1, int32_t param2);

 protected:
  // Passes a code-1 message on to the target; drops any other code and anything without a target.
  void RelayPostToTarget(uint32_t code, int32_t param1, int32_t param2);

 private:
  std::shared_ptr<ZkBase> target_;
  std::function<void()> onDestroy_;
  std::function<void()> extraCallback_;
  int32_t tag_ = 0;
};
