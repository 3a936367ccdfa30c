// One position of a game read for the review: the value of the move played
// and the value of the best move, from one and the same read, so the loss
// (best - played) is never negative and is 0 when the move played was as
// good as any. The midgame is read by "狐" to a fixed depth; within reach of
// the end the read is exact.
//
// This is the review's only door into the engine: the reads, the exact
// values and the evaluation of "狐" are all behind it.
#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>

#include "engine/board/board.h"
#include "engine/eval/evaluator.h"

namespace kaimo {

class SearchTable;

struct ReviewSettings {
  int depth;         // plies of a midgame read
  int exactEmpties;  // at or below this many empty squares a read goes to the end
  bool operator==(const ReviewSettings&) const = default;
};

// Depth 8 reads a position in a few tenths of a second, and 20 empty squares
// to the end in under one to two seconds: a whole game in well under a
// minute on two threads.
constexpr ReviewSettings kDefaultReviewSettings{8, 20};

// Whether the midgame is read by "狐", or only the positions within exact
// reach are read (the data of "狐" cannot be read).
enum class ReviewEvaluator { Fox, ExactOnly };

// Where a value comes from: nothing yet, a midgame read, or a read to the end.
enum class ReviewValueKind { None, Estimate, Exact };

enum class ReadOutcome {
  Done,
  Stopped,   // the stop flag was set: read the position again later
  NoData,    // a midgame read without the data of "狐" (or with ExactOnly)
  NotAMove,  // the move played is not a legal move of the position (an edited game)
};

struct PositionRead {
  ReadOutcome outcome;
  ReviewValueKind kind;  // Estimate or Exact when Done
  int played;            // the value of the move played, for the side that played it (score units)
  int bestMove;          // the best square; the move played when nothing beats it
  int best;              // its value, never below `played`
  std::int64_t leaves;
};

// True when the evaluation of "狐" has its tables. A stage file that is
// missing still makes the reads of its positions come back NoData.
bool foxDataReadable();

// The final disc margin of a finished position, from black's point of view.
int finishedPositionValue(const Board& board);

// Reads positions one after another on one thread, with a table of its own.
class PositionReader {
 public:
  PositionReader(const ReviewSettings& settings, ReviewEvaluator evaluator);
  ~PositionReader();
  PositionReader(const PositionReader&) = delete;
  PositionReader& operator=(const PositionReader&) = delete;

  // `side` is to move on `board` and played `played`. Stops early (Stopped)
  // once `stop` is requested. The same position gives the same values,
  // whatever was read before.
  PositionRead read(const Board& board, int side, int played, std::stop_token stop);

 private:
  ReviewSettings settings_;
  ReviewEvaluator use_;
  Evaluator fox_;
  std::unique_ptr<SearchTable> table_;
};

}  // namespace kaimo
