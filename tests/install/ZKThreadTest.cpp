#include "ZKThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "InstallInfo.h"

namespace {

using namespace std::chrono_literals;

// Generous bound for "does not hang"; a lost wake-up never completes at all.
constexpr auto kHang = 10s;

// Records every task it runs and lets a test wait for a count or hold a task open.
class RecordingThread final : public CZKThread<int> {
 public:
  explicit RecordingThread(std::atomic<int>* ranCount = nullptr) : ranCount_(ranCount) {}
  ~RecordingThread() override { StopAndJoin(); }

  void DoTask(int& task) override {
    std::unique_lock<std::mutex> lock(mutex_);
    running_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !holdTasks_; });
    ran_.push_back(task);
    if (ranCount_) ++*ranCount_;
    running_ = false;
    changed_.notify_all();
  }

  bool WaitForCount(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kHang, [&] { return ran_.size() >= count; });
  }
  bool WaitUntilRunning() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kHang, [&] { return running_; });
  }
  void HoldTasks(bool hold) {
    std::lock_guard<std::mutex> lock(mutex_);
    holdTasks_ = hold;
    changed_.notify_all();
  }
  std::vector<int> Ran() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ran_;
  }
  void WakeWithoutTask() { event().signal.notify_all(); }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<int> ran_;
  bool running_ = false;
  bool holdTasks_ = false;
  std::atomic<int>* ranCount_;
};

}  // namespace

TEST(CZKThread, TaskAddedBeforeTheWorkerFirstWaitsStillRuns) {
  for (int round = 0; round < 200; ++round) {
    RecordingThread thread;
    thread.AddTask(round);
    ASSERT_TRUE(thread.WaitForCount(1)) << "round " << round;
    EXPECT_EQ(thread.Ran(), std::vector<int>{round});
  }
}

TEST(CZKThread, TaskAddedAsTheQueueDrainsStillRuns) {
  // Each task is added the moment the previous one finished, when the worker is between its
  // last queue check and its wait: the window where a wake-up can be lost.
  RecordingThread thread;
  for (int i = 0; i < 3000; ++i) {
    thread.AddTask(i);
    ASSERT_TRUE(thread.WaitForCount(static_cast<size_t>(i) + 1)) << "task " << i << " never ran";
  }
}

TEST(CZKThread, TasksRunOnceEachInTheOrderAdded) {
  RecordingThread thread;
  std::vector<int> expected;
  for (int i = 0; i < 500; ++i) {
    thread.AddTask(i);
    expected.push_back(i);
  }
  ASSERT_TRUE(thread.WaitForCount(expected.size()));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(thread.Ran(), expected);
}

TEST(CZKThread, TaskAddedWhileBusyIsPickedUpWithoutAnotherWakeUp) {
  RecordingThread thread;
  thread.HoldTasks(true);
  thread.AddTask(1);
  ASSERT_TRUE(thread.WaitUntilRunning());
  thread.AddTask(2);
  thread.HoldTasks(false);
  ASSERT_TRUE(thread.WaitForCount(2));
  EXPECT_EQ(thread.Ran(), (std::vector<int>{1, 2}));
}

TEST(CZKThread, SpuriousWakeUpRunsNothing) {
  RecordingThread thread;
  for (int i = 0; i < 50; ++i) thread.WakeWithoutTask();
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(thread.Ran().empty());
  thread.AddTask(7);
  ASSERT_TRUE(thread.WaitForCount(1));
  EXPECT_EQ(thread.Ran(), std::vector<int>{7});
}

TEST(CZKThread, DestructionWhileIdleReturnsPromptly) {
  auto destroyed = std::async(std::launch::async, [] {
    RecordingThread thread;
    std::this_thread::sleep_for(20ms);
  });
  EXPECT_EQ(destroyed.wait_for(kHang), std::future_status::ready);
}

TEST(CZKThread, DestructionImmediatelyAfterConstructionReturns) {
  auto destroyed = std::async(std::launch::async, [] {
    for (int i = 0; i < 200; ++i) RecordingThread thread;
  });
  EXPECT_EQ(destroyed.wait_for(kHang), std::future_status::ready);
}

TEST(CZKThread, DestructionWhileBusyWaitsForTheTaskAndDropsTheRest) {
  std::atomic<int> ranCount{0};
  auto thread = std::make_unique<RecordingThread>(&ranCount);
  thread->HoldTasks(true);
  thread->AddTask(1);
  thread->AddTask(2);
  ASSERT_TRUE(thread->WaitUntilRunning());

  RecordingThread* raw = thread.get();
  auto destroyed = std::async(std::launch::async, [&] { thread.reset(); });
  EXPECT_EQ(destroyed.wait_for(100ms), std::future_status::timeout) << "destructor did not wait for the task";
  raw->HoldTasks(false);
  ASSERT_EQ(destroyed.wait_for(kHang), std::future_status::ready);
  EXPECT_EQ(ranCount.load(), 1) << "a task queued behind the running one ran after stop";
}

namespace {

class InstallInfoThread final : public CZKThread<NINSTALL_INFO> {
 public:
  ~InstallInfoThread() override { StopAndJoin(); }
  void DoTask(NINSTALL_INFO& task) override {
    if (task.progress) task.progress(1, 2);
    done_.set_value(task);
  }
  std::promise<NINSTALL_INFO> done_;
};

}  // namespace

TEST(CZKThread, InstallTaskIsCopiedWholeEvenWithoutProgressCallable) {
  InstallInfoThread thread;
  auto result = thread.done_.get_future();
  thread.AddTask(NINSTALL_INFO{L"C:\\dl\\zk.7z", L"C:\\Program Files\\zk\\zkbin", nullptr, nullptr});
  ASSERT_EQ(result.wait_for(kHang), std::future_status::ready);
  const NINSTALL_INFO ran = result.get();
  EXPECT_EQ(ran.archivePath, L"C:\\dl\\zk.7z");
  EXPECT_EQ(ran.targetDir, L"C:\\Program Files\\zk\\zkbin");
  EXPECT_FALSE(ran.progress);
}

TEST(CZKThread, InstallTaskProgressRunsOnTheWorker) {
  InstallInfoThread thread;
  auto result = thread.done_.get_future();
  std::thread::id caller;
  uint64_t done = 0, total = 0;
  thread.AddTask(NINSTALL_INFO{L"a", L"b", [&](uint64_t d, uint64_t t) {
                                 caller = std::this_thread::get_id();
                                 done = d;
                                 total = t;
                               },
                               nullptr});
  ASSERT_EQ(result.wait_for(kHang), std::future_status::ready);
  EXPECT_NE(caller, std::this_thread::get_id());
  EXPECT_EQ(done, 1u);
  EXPECT_EQ(total, 2u);
}
