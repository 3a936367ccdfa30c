// One training position as the trainer stores it: the board, the side to
// move, the target and where the target came from. Files of positions are
// plain runs of fixed-size records, so they can be appended to, cut at a
// record boundary after a crash, and concatenated.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/board/board.h"

namespace kaimo::train {

// Where a position's target comes from.
enum class LabelKind : std::uint8_t {
  Outcome = 0,  // the final margin of the self-play game it was taken from
  Played = 1,   // both sides played perfectly from here: the final margin is exact
  Solved = 2,   // an exact read of this very position
};

struct TrainingPosition {
  Board board;
  int side = 0;
  LabelKind kind = LabelKind::Outcome;
  int margin = 0;   // black discs - white discs at the end, the target
  std::int32_t game = 0;  // which self-play game it comes from
};

// 25 bytes of two-bit squares, side, empties, kind, margin (int16), game (int32).
constexpr int kRecordBytes = 36;

// Empty squares of a board, as stored with the record for quick filtering.
int emptiesOf(const Board& board);

void encodeRecord(const TrainingPosition& position, unsigned char* bytes);
// False for a record that cannot be a position (a square or field out of range).
bool decodeRecord(const unsigned char* bytes, TrainingPosition& position);

// Appends all positions; false on a write error.
bool appendPositions(const std::string& name, const std::vector<TrainingPosition>& positions);

// Reads every whole record; a trailing partial record (an interrupted write)
// is ignored. False when the file cannot be opened or holds a bad record;
// `error` says which.
bool readPositions(const std::string& name, std::vector<TrainingPosition>& positions, std::string& error);

}  // namespace kaimo::train
