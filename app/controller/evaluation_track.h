// The values the evaluation graph shows: one per position of the game, from
// black's point of view, each remembered with the position it belongs to so
// that navigation, a cut history or a new game never mixes them up.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "app/records/history.h"

namespace kaimo {

// Where a value came from, in increasing order of trust: a later value of a
// higher kind replaces an earlier one, never the other way round.
enum class GraphValueKind { None, Estimate, Search, Exact };

struct GraphPoint {
  int value;  // black's point of view in score units; SCORE_NONE when unknown
  GraphValueKind kind;
};

class EvaluationTrack {
 public:
  void record(const Board& board, int side, int blackValue, GraphValueKind kind);
  GraphPoint pointOf(const Board& board, int side) const;
  // One point per entry of `history`.
  std::vector<GraphPoint> points(const History& history) const;
  // The first entry of `history` that wants a read, or -1: one without a
  // value, or one with at most `exactEmpties` empty squares whose value is
  // not exact yet.
  int firstToRead(const History& history, int exactEmpties) const;

 private:
  struct Position {
    int side;
    Board board;
    bool operator==(const Position&) const = default;
  };
  // Looked up for every entry of the game at every tick: hashed, not sorted.
  struct PositionHash {
    std::size_t operator()(const Position& p) const;
  };
  std::unordered_map<Position, GraphPoint, PositionHash> values_;
};

// A move that lost value for the side that played it.
struct MoveDrop {
  int entry;   // history entry the move was played from; the move's number is entry + 1
  int square;
  int discs;   // whole discs lost, from the mover's point of view
};

// Moves below this loss are noise between searches of different depths.
constexpr int kLeastNotedDrop = 1000;
// How many moves of each side the summary names.
constexpr int kDropsPerSide = 3;

// The largest drops of `colour`'s moves, largest first: the value before the
// move against the value after it, where both are known and both exact or
// both not.
std::vector<MoveDrop> largestDrops(const History& history, const std::vector<GraphPoint>& points, int colour);

// True when neither side can move in the last position of `history`.
bool historyEndsGame(const History& history);

}  // namespace kaimo
