#pragma once
// Listener lists of a control: delegates fired in insertion order with one argument (the
// control, a TControlEventUI or a TNotifyMsgUI); a delegate answering false ends the firing.

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace SkinUI {

class CDelegateBase {
 public:
  virtual ~CDelegateBase() = default;
  virtual bool Invoke(void* param) const = 0;
  virtual std::unique_ptr<CDelegateBase> Copy() const = 0;
  virtual bool Equals(const CDelegateBase& other) const = 0;

  bool operator()(void* param) const { return Invoke(param); }
};

// A plain function.
class CDelegateStatic final : public CDelegateBase {
 public:
  using Function = bool (*)(void* param);

  explicit CDelegateStatic(Function function) : function_(function) {}

  bool Invoke(void* param) const override { return function_ == nullptr || function_(param); }
  std::unique_ptr<CDelegateBase> Copy() const override { return std::make_unique<CDelegateStatic>(function_); }
  bool Equals(const CDelegateBase& other) const override {
    const auto* same = dynamic_cast<const CDelegateStatic*>(&other);
    return same != nullptr && same->function_ == function_;
  }

 private:
  Function function_;
};

// A member function of an object the list does not own.
template <typename T>
class CDelegateMember final : public CDelegateBase {
 public:
  using Method = bool (T::*)(void* param);

  CDelegateMember(T* object, Method method) : object_(object), method_(method) {}

  bool Invoke(void* param) const override { return object_ == nullptr || (object_->*method_)(param); }
  std::unique_ptr<CDelegateBase> Copy() const override {
    return std::make_unique<CDelegateMember>(object_, method_);
  }
  bool Equals(const CDelegateBase& other) const override {
    const auto* same = dynamic_cast<const CDelegateMember*>(&other);
    return same != nullptr && same->object_ == object_ && same->method_ == method_;
  }

 private:
  T* object_;
  Method method_;
};

inline CDelegateStatic MakeDelegate(CDelegateStatic::Function function) { return CDelegateStatic(function); }

template <typename T>
CDelegateMember<T> MakeDelegate(T* object, bool (T::*method)(void*)) {
  return CDelegateMember<T>(object, method);
}

class CDelegateList {
 public:
  CDelegateList() = default;
  CDelegateList(const CDelegateList&) = delete;
  CDelegateList& operator=(const CDelegateList&) = delete;

  // A delegate equal to one already listed is not added twice.
  void Add(const CDelegateBase& delegate) {
    if (Find(delegate) != delegates_.end()) return;
    delegates_.push_back(delegate.Copy());
  }
  // While the list fires, a removed delegate only leaves its place empty, so the delegates after
  // it keep their indexes; the places are dropped when the firing ends.
  void Remove(const CDelegateBase& delegate) {
    auto it = Find(delegate);
    if (it == delegates_.end()) return;
    if (firing_ > 0)
      it->reset();
    else
      delegates_.erase(it);
  }
  void Clear() {
    if (firing_ == 0) {
      delegates_.clear();
      return;
    }
    for (auto& delegate : delegates_) delegate.reset();
  }

  CDelegateList& operator+=(const CDelegateBase& delegate) {
    Add(delegate);
    return *this;
  }
  CDelegateList& operator+=(CDelegateStatic::Function function) {
    Add(CDelegateStatic(function));
    return *this;
  }
  CDelegateList& operator-=(const CDelegateBase& delegate) {
    Remove(delegate);
    return *this;
  }

  bool IsEmpty() const { return GetCount() == 0; }
  size_t GetCount() const {
    size_t count = 0;
    for (const auto& delegate : delegates_) count += delegate ? 1 : 0;
    return count;
  }

  // True when every delegate agreed; the first one to refuse ends the firing.
  bool Fire(void* param) const {
    // A delegate may add to or remove from this list while it runs: the bound is read again on
    // every step.
    ++firing_;
    bool agreed = true;
    for (size_t i = 0; agreed && i < delegates_.size(); ++i) {
      if (delegates_[i] && !delegates_[i]->Invoke(param)) agreed = false;
    }
    if (--firing_ == 0)
      delegates_.erase(std::remove(delegates_.begin(), delegates_.end(), nullptr), delegates_.end());
    return agreed;
  }
  bool operator()(void* param) const { return Fire(param); }

 private:
  using List = std::vector<std::unique_ptr<CDelegateBase>>;

  List::iterator Find(const CDelegateBase& delegate) {
    for (auto it = delegates_.begin(); it != delegates_.end(); ++it) {
      if (*it && (*it)->Equals(delegate)) return it;
    }
    return delegates_.end();
  }

  // Fire is const for its callers; the emptied places are the list's own bookkeeping.
  mutable List delegates_;
  mutable int firing_ = 0;
};

}  // namespace SkinUI
