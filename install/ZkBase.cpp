#include "ZkBase.h"

#include "ZkMessages.h"

ZkBase::~ZkBase() {
  if (onDestroy_) onDestroy_();
}

void ZkBase::OnMessage(uint32_t, int32_t, int32_t) {}

void ZkBase::SetDestroyCallback(std::function<void()> callback) { onDestroy_.swap(callback); }

void ZkBase::SetExtraCallback(std::function<void()> callback) { extraCallback_.swap(callback); }

void ZkBase::SetTarget(ZkBase* target) {
  target_ = target ? std::shared_ptr<ZkBase>(target, [](ZkBase*) {}) : std::shared_ptr<ZkBase>();
}

void ZkBase::Deliver(uint32_t code, int32_t param1, int32_t param2) {
  if (target_) {
    target_->OnMessage(code, param1, param2);
  } else {
    OnMessage(code, param1, param2);
  }
}

void ZkBase::RelayPostToTarget(uint32_t code, int32_t param1, int32_t param2) {
  if (code == kMsgPostToUiThread && target_ && target_.get() != this) {
    target_->OnMessage(code, param1, param2);
  }
}
