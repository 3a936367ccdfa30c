#include "app/controller/graph_worker.h"

#include <algorithm>
#include <system_error>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/search_driver.h"

namespace kaimo {
namespace {

// A read of "狸" with no transposition table: a graph read is short, and
// runs beside the other searches without sharing anything with them.
const Evaluator kGraphEvaluator{};

int blackPointOfView(int side, int value) { return side == kBlack ? value : -value; }

}  // namespace

GraphReading readGraphPosition(const Board& board, int side, std::stop_token stop) {
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
  SearchContext context{};
  prepareSearch(context, kGraphEvaluator, std::move(stop), nullptr, depth, nullptr);
  const int value = searchRoot(board, mover, depth, -SCORE_INF, SCORE_INF, context, 0, depth);
  if (isMarker(value) || value == SCORE_NO_MOVE) return reading;
  reading.value = blackPointOfView(mover, value);
  reading.kind = depth >= empties ? GraphValueKind::Exact : GraphValueKind::Estimate;
  return reading;
}

void GraphWorker::start(const Board& board, int side) {
  if (running()) return;
  finished_.store(false, std::memory_order_relaxed);
  stop_ = std::stop_source();
  try {
    thread_ = std::thread([this, board, side, stop = stop_.get_token()] {
      reading_ = readGraphPosition(board, side, stop);
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
  stop_.request_stop();
  thread_.join();
}

}  // namespace kaimo
