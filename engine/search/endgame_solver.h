// The lean search of the last plies: fixed depth, squares in list order, disc
// counts kept up to date by arithmetic, and hand-written solvers for the last
// two and three empty squares. No table, no ordering, no stop poll: this is
// the hot inner part of every search.
//
// Results are from the point of view of `side`; SCORE_NO_MOVE means `side`
// has no move, and a value above SCORE_INF is an evaluation marker passed up
// unchanged. When the plies reach the end of the game the result is the exact
// final margin; when they run out first, `evaluate` scores the position.
#pragma once

#include <cstdint>

#include "engine/board/board.h"
#include "engine/eval/eval_simple.h"
#include "engine/eval/score.h"

namespace kaimo {

// A position played out to the end, from the mover's point of view, with the
// wipe-out rule. Without walls the plain margin would do (a full board of one
// colour is 100 discs, SCORE_WIPEOUT), but on a board with walls a side that
// loses its last disc as the last square fills has still lost everything.
inline int scorePlayedOut(int own, int opponent) { return scoreFinal(own, opponent); }

// `depth` plies left. `empties` must name every empty square of the board
// (it may name filled ones too); `counts` describes the board and is changed
// while the call runs, restored on return (not after a marker).
int solveEndgame(const Board& board, int side, int depth, int alpha, int beta, EvalFunc evaluate,
                 std::int64_t& leafCount, const std::int8_t* empties, DiscCounts& counts);

// One ply left: the exact margin when one square is empty, otherwise the
// best evaluated move.
int solveLastPly(const Board& board, int side, int alpha, int beta, EvalFunc evaluate, std::int64_t& leafCount,
                 const std::int8_t* empties, const DiscCounts& counts);

// Exactly two empty squares and two plies: flip counts only. `own` and
// `opponent` are the disc counts of the side to move and of the other side.
int solveTwoEmpties(const Board& board, int side, int alpha, int beta, std::int64_t& leafCount, int square1,
                    int square2, int own, int opponent);

// Exactly three empty squares and three plies.
int solveThreeEmpties(const Board& board, int side, int alpha, int beta, std::int64_t& leafCount, int square1,
                      int square2, int square3, const DiscCounts& counts);

}  // namespace kaimo
