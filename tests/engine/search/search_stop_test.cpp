// A stop asked for from another thread ends a long search within 100 ms of
// processor time per searching thread: what the searching threads still do
// after the request, whatever the load of the machine (time on the clock
// also counts the waits of a busy machine).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include <time.h>

#include "engine/eval/routines.h"
#include "engine/search/endgame_analysis.h"
#include "engine/search/search_driver.h"
#include "engine/search/search_team.h"
#include "tests/common/plain_board.h"

namespace kaimo {
namespace {

using Clock = std::chrono::steady_clock;

// The processor time of the whole process so far, in milliseconds: this
// thread only sleeps meanwhile, so it is the searching threads' work.
long processorMs() {
  timespec time{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
  return time.tv_sec * 1000L + time.tv_nsec / 1000000;
}

// What one searching thread may still spend after the stop. Under
// ThreadSanitizer the process's time also counts the sanitizer's own
// thread and its bookkeeping at every join and free, several times the
// search's.
#if defined(__SANITIZE_THREAD__)
constexpr long kStopMsPerThread = 1000;
#else
constexpr long kStopMsPerThread = 100;
#endif

// Long enough for the search to be well under way when the stop comes,
// its setting up done.
constexpr long kHeadStartMs = 200;

// Waits for `condition`, sleeping between looks (a wait that costs no
// processor time), up to `limit` on the clock.
template <typename Condition>
bool waitFor(Condition condition, Clock::duration limit) {
  const auto deadline = Clock::now() + limit;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// One thread, and two sharing the tree (the helper stops too).
class SearchStopThreads : public ::testing::TestWithParam<int> {};

TEST_P(SearchStopThreads, AnotherThreadStopsALongSearchWithin100Ms) {
  Board b;
  const int side = boardInit(b);
  // Far deeper than a test can wait for: only the stop can end it.
  SearchJob job;
  std::stop_source stop;
  prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = 30, .exactDepth = 0},
                      stop.get_token(), nullptr, GetParam());
  // A small table for the job's (see the analysis below).
  SearchTable table(SearchTable::kMinReadBucketBits);
  ASSERT_TRUE(table.startSearch());
  job.context.setup.table = &table;
  std::atomic<int> result{0};
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    result.store(searchRoot(b, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan));
    finished.store(true);
  });
  const long started = processorMs();
  EXPECT_TRUE(waitFor([&] { return processorMs() - started >= kHeadStartMs; }, std::chrono::seconds(30)));
  const long asked = processorMs();
  stop.request_stop();
  const bool stopped = waitFor([&] { return finished.load(); }, std::chrono::seconds(30));
  const long took = processorMs() - asked;
  worker.join();
  ASSERT_TRUE(stopped) << "the search did not stop";
  EXPECT_EQ(result.load(), SCORE_NONE);
  EXPECT_LE(took, kStopMsPerThread * GetParam());
}

INSTANTIATE_TEST_SUITE_P(OneAndTwo, SearchStopThreads, ::testing::Values(1, 2));

// The analysis runs two workers; a stop ends both, and the analysis returns
// the stop marker with the values found so far.
TEST(SearchStop, AnotherThreadStopsTheAnalysisWithin100Ms) {
  // About 30 empty squares of a random game: far more than a test can wait
  // for.
  std::mt19937 rng(7);
  int side;
  Board b;
  do {
    b = plain::randomGame(rng, 66, &side);
  } while (std::count(b.begin(), b.end(), kEmpty) < 28 || boardMobility(b, side) < 2);
  ASSERT_GT(boardMobility(b, side), 1);
  std::atomic<int> last{0};
  std::atomic<bool> finished{false};
  SquareValues values;
  std::stop_source stop;
  // A table small enough to be in memory before the stop: a big one's
  // fresh pages, taken while the threads wind down, cost what the machine's
  // memory makes them cost (on a virtual machine, up to a second for a few
  // huge pages), not what the stop does.
  SearchTable table(SearchTable::kMinReadBucketBits);
  std::thread worker([&] {
    last.store(
        analyzeEndgame(b, side, Evaluator{}, stop.get_token(), values, nullptr, nullptr, AnalysisSetup{.table = &table})
            .last);
    finished.store(true);
  });
  const long started = processorMs();
  EXPECT_TRUE(waitFor([&] { return processorMs() - started >= kHeadStartMs; }, std::chrono::seconds(30)));
  const long asked = processorMs();
  stop.request_stop();
  const bool stopped = waitFor([&] { return finished.load(); }, std::chrono::seconds(30));
  const long took = processorMs() - asked;
  worker.join();
  ASSERT_TRUE(stopped) << "the analysis did not stop";
  EXPECT_EQ(last.load(), SCORE_NONE);
  EXPECT_LE(took, kStopMsPerThread * defaultSearchThreads());
}

}  // namespace
}  // namespace kaimo
