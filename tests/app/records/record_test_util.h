// Game records as strings, and histories to write, for the record tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "app/records/history.h"
#include "app/records/record_reader.h"
#include "app/records/record_writer.h"
#include "tests/common/capture.h"
#include "tests/common/plain_board.h"

namespace kaimo::testing {

inline RecordReadResult readText(const std::string& text) {
  std::FILE* f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  RecordReadResult result = readRecord(f);
  std::fclose(f);
  return result;
}

inline std::string writeText(const History& history) {
  return captureOutput([&](std::FILE* f) { EXPECT_EQ(writeRecord(f, history).status, RecordStatus::Ok); }).output;
}

// The ten lines of a board, spelt out here rather than by boardWriteText.
inline std::string boardLines(const Board& b) {
  std::string text;
  for (int row = 0; row < 10; ++row) {
    for (int column = 0; column < 10; ++column) text += "xo.-"[b[10 * column + row]];
    text += '\n';
  }
  return text;
}

// A board token as the writer spells it.
inline std::string boardToken(const Board& b) {
  std::string text = "B\n";
  text += boardLines(b);
  return text;
}

inline Board initialBoard() {
  Board b;
  boardInit(b);
  return b;
}

inline Board emptyBoard() {
  Board b;
  b.fill(kEmpty);
  return b;
}

// Black a1 over white a2 and black f1 over white f2, the rest empty. Black
// a3 takes white's only disc in column a; white's last disc on f2 sits under
// a black disc on the top edge and has no move, so black plays f3 as well.
inline Board whitePassesAfterA3Board() {
  Board b = emptyBoard();
  b[squareAt(0, 0)] = kBlack;
  b[squareAt(0, 1)] = kWhite;
  b[squareAt(5, 0)] = kBlack;
  b[squareAt(5, 1)] = kWhite;
  return b;
}

// The reference rules: a move on an empty square places the disc and flips
// what it closes; on an occupied square nothing changes.
inline Board playedOn(const Board& b, int square, int side) {
  Board out = b;
  plain::play(b, out, square, side);
  return out;
}

// The other colour moves next unless it cannot move: then the mover, also
// when the game is over.
inline int nextSide(const Board& b, int mover) { return plain::mobility(b, 1 - mover) == 0 ? mover : 1 - mover; }

// The history of playing `squares` from `start` by the rules, passes implied.
inline History playedHistory(const Board& start, int side, const std::vector<int>& squares) {
  History history;
  Board b = start;
  for (int square : squares) {
    history.push_back({side, square, b});
    b = playedOn(b, square, side);
    side = nextSide(b, side);
  }
  history.push_back({side, -1, b});
  return history;
}

inline int randomLegalMove(std::mt19937& rng, const Board& b, int side) {
  std::vector<int> moves;
  Board scratch;
  for (int s = 0; s < 100; ++s) {
    if (plain::play(b, scratch, s, side) > 1) moves.push_back(s);
  }
  if (moves.empty()) return -1;
  return moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
}

// A whole game of random legal moves from the initial position.
inline History randomGame(std::mt19937& rng) {
  Board b = initialBoard();
  int side = kBlack;
  std::vector<int> squares;
  for (;;) {
    const int move = randomLegalMove(rng, b, side);
    if (move < 0) break;  // neither side can move: the game is over
    squares.push_back(move);
    b = playedOn(b, move, side);
    side = nextSide(b, side);
  }
  return playedHistory(initialBoard(), kBlack, squares);
}

inline int percent(std::mt19937& rng) { return std::uniform_int_distribution<int>(0, 99)(rng); }

// Changes a few squares as board editing does: discs added, removed, turned
// over, or made into walls.
inline void editBoard(std::mt19937& rng, Board& b) {
  const int edits = std::uniform_int_distribution<int>(1, 6)(rng);
  for (int i = 0; i < edits; ++i) {
    b[std::uniform_int_distribution<int>(0, 99)(rng)] =
        static_cast<std::int8_t>(std::uniform_int_distribution<int>(0, 3)(rng));
  }
}

// A history as the window can build it: mostly legal play, with now and then
// an edited position, a changed side to move or a move the rules refuse, and
// sometimes a start away from the initial position.
inline History randomEditedHistory(std::mt19937& rng, int entries) {
  Board b = percent(rng) < 30 ? plain::randomBoard(rng, 10) : initialBoard();
  int side = percent(rng) < 20 ? kWhite : kBlack;
  History history;
  for (int i = 0; i < entries; ++i) {
    const int roll = percent(rng);
    if (i > 0 && roll < 10) editBoard(rng, b);
    if (roll >= 90) side = 1 - side;
    int move = percent(rng) < 90 ? randomLegalMove(rng, b, side) : -1;
    if (move < 0) move = std::uniform_int_distribution<int>(0, 99)(rng);
    history.push_back({side, move, b});
    b = playedOn(b, move, side);
    side = nextSide(b, side);
  }
  if (percent(rng) < 10) side = 1 - side;  // set by hand in the final position
  // The last entry's move is never written; any value must do.
  history.push_back({side, std::uniform_int_distribution<int>(-1, 99)(rng), b});
  return history;
}

// Entries with nothing to do with each other: mostly empty boards with a
// few discs and walls, so that the pass rule often finds a side without a
// move and the boards of consecutive entries disagree about it.
inline History randomUnrelatedHistory(std::mt19937& rng, int entries) {
  History history;
  for (int i = 0; i < entries; ++i) {
    Board b = emptyBoard();
    for (auto& square : b) {
      if (percent(rng) < 15) square = static_cast<std::int8_t>(std::uniform_int_distribution<int>(0, 3)(rng));
    }
    history.push_back(
        {std::uniform_int_distribution<int>(0, 1)(rng), std::uniform_int_distribution<int>(0, 99)(rng), b});
  }
  return history;
}

// What reading back a written history must give: the same entries, with
// the last entry's move as -1.
inline History asReadBack(History history) {
  history.back().move = -1;
  return history;
}

}  // namespace kaimo::testing

namespace kaimo {

inline void PrintTo(const HistoryEntry& e, std::ostream* os) {
  *os << "{side " << e.side << ", move " << e.move << ", board\n" << testing::boardLines(e.board) << "}";
}

}  // namespace kaimo
