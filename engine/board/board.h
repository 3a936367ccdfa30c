// The position record and the operations every part of the program asks of it.
//
// A Board is 100 signed bytes, one per square, with no border: square
// s = 10 * column + row, column and row 0..9, square 0 at the top left.
// The side to move is kept beside the board, never in it.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

namespace kaimo {

constexpr int kSquareCount = 100;
constexpr int kBoardSize = 10;

// Square values.
constexpr std::int8_t kBlack = 0;
constexpr std::int8_t kWhite = 1;
constexpr std::int8_t kEmpty = 2;
constexpr std::int8_t kWall = 3;  // out of play; only ever read from a game record

using Board = std::array<std::int8_t, kSquareCount>;

// Black discs, white discs, empty squares (walls are counted nowhere),
// indexed by the square values kBlack, kWhite and kEmpty.
using DiscCounts = std::array<std::int32_t, 3>;

// 25 bytes of two-bit squares, then a tag and the side to move.
constexpr int kPositionKeySize = 26;
using PositionKey = std::array<std::uint8_t, kPositionKeySize>;

// One 0/1 mark per square.
using MoveMarks = std::array<std::int32_t, kSquareCount>;

inline constexpr int opponentOf(int colour) { return 1 - colour; }
inline constexpr int columnOf(int square) { return square / kBoardSize; }
inline constexpr int rowOf(int square) { return square % kBoardSize; }
inline constexpr int squareAt(int column, int row) { return kBoardSize * column + row; }

// --- move execution -------------------------------------------------------
// The three play operations return 1 when the move is illegal (the square is
// not empty or nothing flips), otherwise 1 + the number of flipped discs.

// Fills the initial position; returns the colour that moves first (black).
int boardInit(Board& board);
void boardCopy(Board& destination, const Board& source);
// Reads `in` only and writes `out` (left untouched when the square is occupied).
int boardPlay(const Board& in, Board& out, int square, int colour);
// Places the disc first: a move that flips nothing leaves a lone disc.
int boardPlayInPlace(Board& board, int square, int colour);
int boardFlipCount(const Board& board, int square, int colour);

// --- move generation and position summary ---------------------------------
int boardIsLegal(const Board& board, int square, int colour);
int boardLegalMarks(const Board& board, int colour, MoveMarks& marks);
int boardMobility(const Board& board, int colour);
int boardMobilityDiff(const Board& board);
void boardCount(const Board& board, DiscCounts& counts);
// The empty squares alone: what the depth rules and the search ask.
int boardEmptyCount(const Board& board);
void boardPackKey(PositionKey& key, const Board& board, int colour, int tag);

// --- transforms and text form ---------------------------------------------
// Reflection in the diagonal through squares 0 and 99.
void boardTranspose(Board& destination, const Board& source);
// A quarter turn clockwise as drawn.
void boardRotate(Board& destination, const Board& source);
// Ten lines of ten symbols from "xo.-"; returns 0.
int boardWriteText(const Board& board, std::FILE* stream);
// Reads exactly 100 symbols, skipping white space; 0 on success, -1 on end of
// file or a character that is not a symbol (squares read so far keep their
// new values).
int boardReadText(Board& board, std::FILE* stream);

}  // namespace kaimo
