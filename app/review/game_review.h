// The review of a game: every move's value against the best move's, from
// the reads of review_read.h, remembered by position so that a cut history,
// navigation or a game read again never mixes them up and never reads a
// position twice. The window and `kaimo-cli review` share it, so both give
// the same values and the same summary.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/records/history.h"
#include "app/review/review_read.h"

namespace kaimo {

// One position of the game the review wants read: the position, the side to
// move and the move it played.
struct ReviewRequest {
  Board board;
  int side;
  int played;
  bool operator==(const ReviewRequest&) const = default;
};

// A move of the game as the review sees it; values from the point of view
// of the side that played it, in score units.
struct MoveReview {
  int entry;  // the history entry it was played from; the move's number is entry + 1
  int colour;
  int square;
  ReadOutcome outcome;  // Done once read; Stopped while it is not read yet
  ReviewValueKind kind;
  int played;
  int bestMove;
  int best;
  bool known() const { return outcome == ReadOutcome::Done; }
  int loss() const { return best - played; }
};

// One point of the evaluation graph: the position's value (the best move's)
// from black's point of view.
struct GraphPoint {
  int value;  // SCORE_NONE when unknown
  ReviewValueKind kind;
};

// How many moves of each side the summary names.
constexpr int kNamedMovesPerSide = 3;

class GameReview {
 public:
  explicit GameReview(const ReviewSettings& settings = kDefaultReviewSettings);

  const ReviewSettings& settings() const { return settings_; }
  // ExactOnly once the data of "狐" turned out missing.
  ReviewEvaluator evaluator() const { return evaluator_; }
  // Chosen at the start from whether "狐" has its tables.
  void setEvaluator(ReviewEvaluator evaluator) { evaluator_ = evaluator; }

  // The positions of `history` that still want a read, in game order, each
  // once however often the record repeats it (a read serves every entry).
  std::vector<ReviewRequest> pending(const History& history) const;
  // Keeps a finished read; a stopped one is dropped (read again later). A
  // read that found no data of "狐" is kept, and the review says so.
  void record(const ReviewRequest& request, const PositionRead& read);

  // One entry per move of `history`.
  std::vector<MoveReview> moves(const History& history) const;
  // The move played from entry `entry` (< history.size() - 1).
  MoveReview move(const History& history, std::size_t entry) const;
  // One point per entry of `history`.
  std::vector<GraphPoint> points(const History& history) const;
  // How many moves of `history` have been read (whatever the outcome).
  std::size_t readCount(const History& history) const;
  // A midgame position could not be read for want of the data of "狐".
  bool missedFoxData() const { return missedFoxData_; }

 private:
  // Looked up for every move of the game at every tick: hashed, not sorted.
  struct RequestHash {
    std::size_t operator()(const ReviewRequest& request) const;
  };
  const PositionRead* find(const History& history, std::size_t entry) const;

  ReviewSettings settings_;
  ReviewEvaluator evaluator_ = ReviewEvaluator::Fox;
  bool missedFoxData_ = false;
  std::unordered_map<ReviewRequest, PositionRead, RequestHash> reads_;
};

// Score units as whole discs, rounded half away from zero.
int roundedDiscs(int value);

// The moves of `colour` with the largest losses, largest first (the earlier
// move first among equals), at most kNamedMovesPerSide, never one whose loss
// rounds to 0 discs.
std::vector<MoveReview> largestLosses(const std::vector<MoveReview>& moves, int colour);

// True when neither side can move in the last position of `history`.
bool historyEndsGame(const History& history);

}  // namespace kaimo
