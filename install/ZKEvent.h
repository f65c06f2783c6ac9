#pragma once
// What a worker sleeps on: a plain mutex and a condition variable that waits with any lock.

#include <condition_variable>
#include <mutex>

class CZKEvent {
 public:
  CZKEvent() = default;
  CZKEvent(const CZKEvent&) = delete;
  CZKEvent& operator=(const CZKEvent&) = delete;
  virtual ~CZKEvent() = default;

  std::mutex mutex;
  std::condition_variable_any signal;
};
