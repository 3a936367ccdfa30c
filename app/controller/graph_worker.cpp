#include "app/controller/graph_worker.h"

#include <algorithm>
#include <system_error>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/search_driver.h"

namespace kaimo {
namespace {

// The search's stop check takes no argument; there is one graph worker.
std::atomic<int> graphStop{0};
int isGraphStopRequested() { return graphStop.load(std::memory_order_relaxed); }

// A read of "狸" with no transposition table: a graph read is short, and
// runs beside the other searches without sharing anything with them.
SearchContext ownContext(int depth, StopFunc shouldStop) {
  SearchContext context{};
  prepareSearch(context, routineTable[kSimpleRoutine].evaluate, shouldStop, nullptr, depth, nullptr);
  return context;
}

int blackPointOfView(int side, int value) { return side == kBlack ? value : -value; }

}  // namespace

GraphReading readGraphPosition(const Board& board, int side, StopFunc shouldStop) {
  GraphReading reading{board, side, SCORE_NONE, GraphValueKind::None};
  DiscCounts counts;
  boardCount(board, counts);
  int mover = side;
  if (boardMobility(board, mover) == 0) {
    mover = opponentOf(side);
    if (boardMobility(board, mover) == 0) {
      reading.value = scoreFinal(counts[kBlack], counts[kWhite]);
      reading.kind = GraphValueKind::Exact;
      return reading;
    }
  }
  const int empties = counts[2];
  const int depth = empties <= kGraphExactEmpties ? empties : std::min(kGraphDepth, empties);
  SearchContext context = ownContext(depth, shouldStop);
  const int value = searchRoot(board, mover, depth, -SCORE_INF, SCORE_INF, context, 0, depth);
  if (isMarker(value) || value == SCORE_NO_MOVE) return reading;
  reading.value = blackPointOfView(mover, value);
  reading.kind = depth >= empties ? GraphValueKind::Exact : GraphValueKind::Estimate;
  return reading;
}

void GraphWorker::start(const Board& board, int side) {
  if (running()) return;
  finished_.store(false, std::memory_order_relaxed);
  graphStop.store(0, std::memory_order_relaxed);
  try {
    thread_ = std::thread([this, board, side] {
      reading_ = readGraphPosition(board, side, isGraphStopRequested);
      finished_.store(true, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    // No thread: the graph simply waits for the next chance.
  }
}

bool GraphWorker::collect(GraphReading& out) {
  if (!running() || !finished_.load(std::memory_order_acquire)) return false;
  thread_.join();
  out = reading_;
  return true;
}

void GraphWorker::halt() {
  if (!running()) return;
  graphStop.store(1, std::memory_order_relaxed);
  thread_.join();
  graphStop.store(0, std::memory_order_relaxed);
}

}  // namespace kaimo
