#include "engine/search/midgame_search.h"

#include <algorithm>

#include "engine/eval/score.h"
#include "engine/search/empties.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/transposition_table.h"

namespace kaimo {
namespace {

// About one ordered node in this many asks whether to stop: the callback
// stays off the hot path and a stop still lands within milliseconds.
constexpr std::uint32_t kStopPollRate = 10;
// Ordering keys of moves whose child is in the table: 512000000 - middle is
// above every evaluated move (evaluations stay far inside +-SCORE_INF).
constexpr int kTableOrderBase = 512000000;

// A small generator per thread: the window thread and a worker may both draw,
// and a draw must cost next to nothing.
thread_local std::uint32_t pollState = 0x9e3779b9u;

std::uint32_t drawPoll() {
  std::uint32_t x = pollState;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  pollState = x;
  return x;
}

bool stopRequested(const SearchContext& context) {
  return drawPoll() % kStopPollRate == 0 && context.shouldStop != nullptr && context.shouldStop() != 0;
}

void reportProgress(SearchContext& context, int value) {
  if (context.progress != nullptr) context.progress(value, &context);
}

// The value of a finished game after a move, from `side`'s point of view.
int finishedGame(SearchContext& context, const Board& child, int side) {
  DiscCounts counts;
  boardCount(child, counts);
  ++context.leafCount;
  return scoreFinal(counts[side], counts[opponentOf(side)]);
}

int leafValue(const Board& board, int side, SearchContext& context, TableEntry* entry) {
  ++context.leafCount;
  DiscCounts counts;
  boardCount(board, counts);
  int value;
  if (counts[2] == 0) {
    value = scorePlayedOut(counts[side], counts[opponentOf(side)]);
  } else {
    value = context.evaluate(board, 0, side, counts);
    if (isMarker(value)) return value;
    if (side == kWhite) value = -value;
  }
  if (entry != nullptr) entry->lower = entry->upper = entry->middle = value;
  return value;
}

// What the node knows before it searches: its entry's bounds may already
// answer the window. Returns true with `answer` set when they do.
bool tableStep(int depth, int alpha, int beta, SearchContext& context, int progressEnd, TableEntry* entry,
               int& answer) {
  if (depth > context.hashDepth && context.entryCount >= kTableEntryCap && context.clearAllowed != 0) {
    kr_mapDeleteAll(context.table);
    context.entryCount = 0;
  }
  if (entry == nullptr) return false;
  if (entry->lower == entry->upper || entry->lower >= beta) {
    answer = entry->lower;
  } else if (entry->upper <= alpha) {
    answer = entry->upper;
  } else {
    return false;
  }
  ++context.hashCutoffs;
  reportProgress(context, progressEnd);
  return true;
}

// A move's value after its child returned: a pass searches the child again
// for `side`, a double pass ends the game. `value` is the child's result.
template <typename SearchAgain>
int afterChild(int value, SearchContext& context, const Board& child, int side, SearchAgain searchAgain) {
  if (value != SCORE_NO_MOVE) return -value;
  value = searchAgain();
  if (isMarker(value)) return value;
  if (value == SCORE_NO_MOVE) return finishedGame(context, child, side);
  return value;
}

// Records a value that lifted m; true when the entry's bounds now meet.
bool raiseLower(TableEntry* entry, int value) {
  if (entry == nullptr || value <= entry->lower) return false;
  entry->lower = value;
  entry->middle = (entry->upper + value) / 2;
  return value == entry->upper;
}

int normalFinish(SearchContext& context, int depth, int alpha, int m, int best, int bestLocal, int progressEnd,
                 TableEntry* entry, const std::uint16_t (&savedTried)[7]) {
  context.bestMove = bestLocal;
  if (depth >= context.progressDepth) reportProgress(context, progressEnd);
  if (entry != nullptr) {
    entry->upper = best;
    entry->middle = (best + entry->lower) / 2;
    // Every move failed low: the next visit, with another window, must
    // search them all again.
    if (m <= alpha) std::copy(std::begin(savedTried), std::end(savedTried), entry->tried);
  }
  return best;
}

// m starts just below a known lower bound, so that a move reaching the bound
// exactly still counts as raising m.
int startingM(int alpha, const TableEntry* entry) {
  return entry != nullptr ? std::max(alpha, entry->lower - 1) : alpha;
}

// A revisit skips the moves settled before (tried squares, or the squares
// before `resume`), whose values are at most `lower`; counting from `lower`
// keeps the result, and the `upper` stored from it, from falling below what
// those moves already proved.
int startingBest(const TableEntry* entry) { return entry != nullptr ? entry->lower : -SCORE_INF; }

// An ordered revisit that finds every move settled has nothing left to
// search, which is not a pass: a side with moves has a proven `lower`.
int settledOrNoMove(const TableEntry* entry) {
  return entry != nullptr && entry->lower > -SCORE_INF ? entry->lower : SCORE_NO_MOVE;
}

struct OrderedMove {
  int key;
  int index;
};

// Per-move working storage of an ordered node: each move is played once, for
// ordering, and searched from the stored child.
struct MoveList {
  int count = 0;
  int square[kSquareCount];
  Board child[kSquareCount];
  PositionKey key[kSquareCount];
  TableEntry* entry[kSquareCount];
  OrderedMove order[kSquareCount];

  // Keeps `order` in decreasing key order; among equal keys the move
  // generated first stays first.
  void insert(int key, int index) {
    int i = count;
    while (i > 0 && order[i - 1].key < key) {
      order[i] = order[i - 1];
      --i;
    }
    order[i] = {key, index};
    ++count;
  }
};

// Plays and scores every move of `side` not yet settled in `entry`.
void generateMoves(const Board& board, int side, int depth, SearchContext& context, const std::int8_t* list,
                   TableEntry* entry, MoveList& moves) {
  const bool probe = context.table != nullptr && depth - 1 >= context.solverDepth;
  // evalOrdering counts the child's discs; they follow from this board's
  // counts and the flips, so the same evaluation is called with them.
  DiscCounts nodeCounts;
  boardCount(board, nodeCounts);
  for (; *list >= 0; ++list) {
    const int s = *list;
    if (entry != nullptr && isTried(*entry, s)) continue;
    const int k = moves.count;
    const int played = boardPlay(board, moves.child[k], s, side);
    if (played <= 1) {
      if (entry != nullptr) markTried(*entry, s);
      continue;
    }
    moves.square[k] = s;
    moves.entry[k] = nullptr;
    TableEntry* found = nullptr;
    if (probe) {
      boardPackKey(moves.key[k], moves.child[k], opponentOf(side), 0);
      found = static_cast<TableEntry*>(kr_mapFind(context.table, &moves.key[k], 0, nullptr));
    }
    int key;
    if (found != nullptr) {
      ++context.hashProbes;
      ++context.hashFound;
      key = kTableOrderBase - found->middle;
      if (depth - 1 <= context.hashDepth) moves.entry[k] = found;
    } else {
      DiscCounts childCounts = nodeCounts;
      childCounts[side] += played;
      childCounts[opponentOf(side)] -= played - 1;
      childCounts[2] -= 1;
      key = evalSimple(moves.child[k], 0, opponentOf(side), childCounts);
      if (side == kWhite) key = -key;
    }
    ++context.orderCount;
    moves.insert(key, k);
  }
}

// The child's entry when it is in the depth range that keeps entries and has
// none yet: a new one while the table has room.
TableEntry* childEntry(int depth, SearchContext& context, MoveList& moves, int k) {
  if (context.table == nullptr || depth - 1 < context.solverDepth || depth - 1 > context.hashDepth ||
      moves.entry[k] != nullptr) {
    return moves.entry[k];
  }
  ++context.hashProbes;
  if (context.entryCount >= kTableEntryCap) return nullptr;
  auto* created = static_cast<TableEntry*>(kr_mapLookup(context.table, &moves.key[k]));
  if (created == nullptr) return nullptr;
  ++context.entryCount;
  initEntry(*created, moves.key[k]);
  return created;
}

int orderedNode(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
                int progressBase, int progressSpan, const std::int8_t* empties, TableEntry* entry,
                const std::uint16_t (&savedTried)[7]) {
  std::int8_t list[kEmptiesCapacity];
  keepEmpty(board, empties, list);
  if (stopRequested(context)) return SCORE_NONE;
  MoveList moves;
  generateMoves(board, side, depth, context, list, entry, moves);
  if (moves.count == 0) return settledOrNoMove(entry);

  const int progressEnd = progressBase + progressSpan;
  int m = startingM(alpha, entry);
  int best = startingBest(entry);
  int bestLocal = -1;
  const int step = progressSpan / moves.count;
  int cur = progressBase;
  for (int i = 0; i < moves.count; ++i) {
    const int k = moves.order[i].index;
    const int s = moves.square[k];
    const Board& child = moves.child[k];
    TableEntry* next = childEntry(depth, context, moves, k);
    int value = searchMidgame(child, opponentOf(side), depth - 1, -beta, -m, context, cur, step, list, next);
    if (isMarker(value)) return value;
    value = afterChild(value, context, child, side, [&] {
      return searchMidgame(child, side, depth - 1, m, beta, context, cur, step, list, nullptr);
    });
    if (isMarker(value)) return value;
    if (depth >= context.progressDepth) reportProgress(context, cur + step);
    best = std::max(best, value);
    if (value > m) {
      const bool settled = raiseLower(entry, value);
      if (!settled) {
        m = value;
        bestLocal = s;
      }
      if (settled || value >= beta) {
        context.bestMove = s;
        if (depth >= context.progressDepth) reportProgress(context, progressEnd);
        return value;
      }
    }
    if (entry != nullptr) markTried(*entry, s);
    cur += step;
  }
  return normalFinish(context, depth, alpha, m, best, bestLocal, progressEnd, entry, savedTried);
}

int resumeSquare(const TableEntry* entry) {
  if (entry == nullptr) return 0;
  const int square = entry->resume;
  return square >= 0 && square < kSquareCount ? square : 0;
}

int shallowNode(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
                int progressBase, int progressSpan, const std::int8_t* empties, TableEntry* entry,
                const std::uint16_t (&savedTried)[7]) {
  int m = startingM(alpha, entry);
  int best = startingBest(entry);
  int bestLocal = -1;
  int n = 0;
  const int start = resumeSquare(entry);
  const bool toSolver = depth <= context.solverDepth;
  const bool refresh = depth <= context.refreshDepth;
  // The solver wants each child's counts: they follow from this board's
  // counts and the flips, without recounting every child.
  DiscCounts nodeCounts{};
  if (toSolver) boardCount(board, nodeCounts);
  Board child;
  for (int s = start; s < kSquareCount; ++s) {
    if (board[s] != kEmpty) continue;
    const int played = boardPlay(board, child, s, side);
    if (played <= 1) continue;
    ++n;
    int value;
    if (!toSolver) {
      value = searchMidgame(child, opponentOf(side), depth - 1, -beta, -m, context, progressBase, 0, empties, nullptr);
    } else {
      DiscCounts counts = nodeCounts;
      counts[side] += played;
      counts[opponentOf(side)] -= played - 1;
      counts[2] -= 1;
      std::int8_t fresh[kEmptiesCapacity];
      const std::int8_t* list = empties;
      if (refresh) {
        keepEmpty(child, empties, fresh);
        list = fresh;
      }
      value = solveEndgame(child, opponentOf(side), depth - 1, -beta, -m, context.evaluate, context.leafCount, list,
                           counts);
    }
    if (isMarker(value)) return value;
    value = afterChild(value, context, child, side, [&] {
      return searchMidgame(child, side, depth - 1, m, beta, context, progressBase, 0, empties, nullptr);
    });
    if (isMarker(value)) return value;
    best = std::max(best, value);
    if (value > m) {
      if (raiseLower(entry, value)) {
        context.bestMove = s;
        return value;
      }
      m = value;
      bestLocal = s;
      if (value >= beta) {
        context.bestMove = s;
        if (entry != nullptr) entry->resume = static_cast<std::int16_t>(s);
        return value;
      }
    }
  }
  if (n == 0) return SCORE_NO_MOVE;
  return normalFinish(context, depth, alpha, m, best, bestLocal, progressBase + progressSpan, entry, savedTried);
}

}  // namespace

int searchMidgame(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
                  int progressBase, int progressSpan, const std::int8_t* empties, TableEntry* entry) {
  if (depth <= 0) return leafValue(board, side, context, entry);
  std::uint16_t savedTried[7] = {};
  if (context.table != nullptr) {
    int answer;
    if (tableStep(depth, alpha, beta, context, progressBase + progressSpan, entry, answer)) return answer;
    if (entry != nullptr) std::copy(std::begin(entry->tried), std::end(entry->tried), savedTried);
  } else {
    entry = nullptr;
  }
  if (depth >= context.orderDepth) {
    return orderedNode(board, side, depth, alpha, beta, context, progressBase, progressSpan, empties, entry,
                       savedTried);
  }
  return shallowNode(board, side, depth, alpha, beta, context, progressBase, progressSpan, empties, entry,
                     savedTried);
}

}  // namespace kaimo
