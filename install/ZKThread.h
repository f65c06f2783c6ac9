#pragma once
// A worker thread with a first-in-first-out task queue. Tasks added from any thread run on the
// worker one after another, in order, each once. Destruction stops the worker between tasks and
// joins it; tasks still queued are dropped unrun.

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

#include "ZKEvent.h"

template <typename T>
class CZKThread {
 public:
  CZKThread() : stop_(false) {
    // Last step: the worker exists as soon as the object does. It enters Run directly rather
    // than through the virtual slot, whose table the derived constructor is still writing.
    worker_ = std::thread([this] { this->CZKThread::Run(); });
  }
  CZKThread(const CZKThread&) = delete;
  CZKThread& operator=(const CZKThread&) = delete;

  virtual ~CZKThread() { StopAndJoin(); }

  // The worker loop.
  virtual void Run() {
    for (;;) {
      if (stop_.load()) return;
      {
        // Sleeping only while there is nothing to do; AddTask and the destructor signal under
        // the same mutex, so a wake-up between this check and the wait is never lost. A spurious
        // wake-up with an empty queue goes back to sleep.
        std::unique_lock<std::mutex> lock(event_.mutex);
        event_.signal.wait(lock, [this] { return stop_.load() || HasTasks(); });
      }
      if (stop_.load()) return;
      while (HasTasks() && !stop_.load()) {
        T task{};
        if (TryPopTask(task)) DoTask(task);
      }
    }
  }

  // Performs one task on the worker thread, holding no lock of this object.
  virtual void DoTask(T& task) = 0;

  void AddTask(const T& task) {
    {
      std::lock_guard<std::mutex> lock(queueMutex_);
      queue_.push_back(task);
    }
    WakeWorker(false);
  }

  bool TryPopTask(T& task) {
    std::lock_guard<std::mutex> lock(queueMutex_);
    if (queue_.empty()) return false;
    task = queue_.front();
    queue_.pop_front();
    return true;
  }

 protected:
  // The event the worker sleeps on; a notification without a task must change nothing.
  CZKEvent& event() { return event_; }

  // Stops the worker between tasks and joins it; waits for a task that is running. A derived
  // class whose DoTask uses its own members calls this first in its destructor, so the worker
  // never runs a task on a half-destroyed object. Safe to call more than once.
  void StopAndJoin() {
    if (!stop_.exchange(true)) WakeWorker(true);
    if (worker_.joinable()) worker_.join();
  }

 private:
  bool HasTasks() {
    std::lock_guard<std::mutex> lock(queueMutex_);
    return !queue_.empty();
  }

  void WakeWorker(bool all) {
    // Taking the worker's mutex orders this wake-up after its last check of the queue.
    { std::lock_guard<std::mutex> lock(event_.mutex); }
    if (all) {
      event_.signal.notify_all();
    } else {
      event_.signal.notify_one();
    }
  }

  std::deque<T> queue_;
  std::mutex queueMutex_;
  CZKEvent event_;
  std::thread worker_;
  std::atomic<bool> stop_;
};
