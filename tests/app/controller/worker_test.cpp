// The worker that runs every background job of the controller: what a job
// reports and returns reaches its owner once, a stop keeps the result, a new
// job drops what the last one left, and no thread outlives the worker.
#include "app/controller/worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace kaimo {
namespace {

struct Counting {
  int latest = 0;
  std::vector<int> all;
};
using CountingWorker = Worker<Counting, int>;

// A job that reports `from`, waits for its stop, and returns `result`.
auto untilStopped(int from, int result) {
  return [from, result](std::stop_token stop, CountingWorker::Exchange& exchange) {
    exchange.report([from](Counting& c) { c.latest = from; });
    while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return result;
  };
}

bool waitFinished(const CountingWorker& worker) {
  for (int i = 0; i < 10000 && !worker.finished(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return worker.finished();
}

TEST(Worker, ReportsAndResultReachTheOwnerOnce) {
  CountingWorker worker;
  EXPECT_FALSE(worker.active());
  worker.start([](std::stop_token, CountingWorker::Exchange& exchange) {
    for (int i = 1; i <= 3; ++i)
      exchange.report([i](Counting& c) {
        c.latest = i;
        c.all.push_back(i);
      });
    return 7;
  });
  EXPECT_TRUE(worker.active());
  ASSERT_TRUE(waitFinished(worker));
  const std::optional<Counting> progress = worker.takeProgress();
  ASSERT_TRUE(progress);
  EXPECT_EQ(progress->latest, 3) << "a value set twice keeps the latest";
  EXPECT_EQ(progress->all, (std::vector<int>{1, 2, 3})) << "a list keeps every item";
  EXPECT_FALSE(worker.takeProgress()) << "nothing new since";
  EXPECT_EQ(worker.takeResult(), 7);
  EXPECT_FALSE(worker.takeResult());
  EXPECT_FALSE(worker.active());
}

TEST(Worker, AStopKeepsTheResultAndANewJobDropsWhatTheLastLeft) {
  CountingWorker worker;
  worker.start(untilStopped(1, 5));
  EXPECT_FALSE(worker.takeResult()) << "no result before the job returns";
  worker.stop();
  EXPECT_EQ(worker.takeResult(), 5);

  worker.start(untilStopped(2, 6));
  worker.start([](std::stop_token, CountingWorker::Exchange&) { return 9; });
  ASSERT_TRUE(waitFinished(worker));
  EXPECT_FALSE(worker.takeProgress()) << "the report of the job stopped by the new one";
  EXPECT_EQ(worker.takeResult(), 9);

  worker.start(untilStopped(3, 4));
  worker.cancel();
  EXPECT_FALSE(worker.active());
  EXPECT_FALSE(worker.takeProgress());
  EXPECT_FALSE(worker.takeResult());
}

TEST(Worker, GoingAwayStopsTheJobAndWaitsForIt) {
  bool stopped = false;
  {
    CountingWorker worker;
    worker.start([&stopped](std::stop_token stop, CountingWorker::Exchange&) {
      while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      stopped = true;
      return 0;
    });
  }
  EXPECT_TRUE(stopped);
}

}  // namespace
}  // namespace kaimo
