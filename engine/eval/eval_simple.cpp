#include "engine/eval/eval_simple.h"

#include "engine/eval/score.h"

namespace kaimo {
namespace {

// Disc differences change sign at this many empty squares: before it having
// fewer discs is good (more mobility later), after it the count decides.
constexpr int kDiscTermFlip = 10;
constexpr int kCornerWeight = 50000;
constexpr int kInnerCornerWeight = -10000;

constexpr int kCorners[4] = {0, 9, 90, 99};
constexpr int kInnerCorners[4] = {11, 18, 81, 88};

// Indexed by square value: a black disc counts +1, a white disc -1, and an
// empty square or a wall (from a game record) nothing.
constexpr int kOwnerSign[4] = {+1, -1, 0, 0};

int ownerSign(const Board& board, int square) { return kOwnerSign[board[square] & 3]; }

}  // namespace

int evalSimple(const Board& board, int scoreAsFinished, int /*side*/, DiscCounts& counts) {
  if (counts[kEmpty] == 0 || scoreAsFinished != 0) return scoreFinal(counts[kBlack], counts[kWhite]);
  const int discs = counts[kEmpty] > kDiscTermFlip ? (counts[kWhite] - counts[kBlack]) * SCORE_PER_DISC
                                                   : (counts[kBlack] - counts[kWhite]) * SCORE_PER_DISC;
  int corners = 0;
  for (int i = 0; i < 4; ++i) {
    corners += kCornerWeight * ownerSign(board, kCorners[i]);
    corners += kInnerCornerWeight * ownerSign(board, kInnerCorners[i]);
  }
  return discs + corners + SCORE_PER_DISC * boardMobilityDiff(board);
}

int evalOrdering(const Board& board, int scoreAsFinished, int side) {
  DiscCounts counts;
  boardCount(board, counts);
  return evalSimple(board, scoreAsFinished, side, counts);
}

}  // namespace kaimo
