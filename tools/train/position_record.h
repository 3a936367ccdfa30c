// One training position as the trainer stores it: the board, the side to
// move, the target and where the target came from. A file of positions (a
// chunk) is a header with its record count followed by fixed-size records,
// written whole to a temporary file and renamed, so a chunk that is empty,
// cut short or padded is recognised as damaged.
#pragma once

#include <cstddef>
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

// A position no search has scored.
constexpr int kNoSearchValue = -32768;
constexpr int kMaxSearchValue = 10000;  // a wipe-out, in hundredths of a disc

struct TrainingPosition {
  Board board;
  int side = 0;
  LabelKind kind = LabelKind::Outcome;
  int margin = 0;         // black discs - white discs at the end, the target
  std::int32_t game = 0;  // which self-play game it comes from
  // What the player's own search made of the position when it was played
  // (exact from its exact-read depth on), for black, in hundredths of a disc.
  int searchValue = kNoSearchValue;
};

// 25 bytes of two-bit squares, side, empties, kind, margin (int16), game
// (int32), search value (int16).
constexpr int kRecordBytes = 36;

// Empty squares of a board, as stored with the record for quick filtering.
int emptiesOf(const Board& board);

void encodeRecord(const TrainingPosition& position, unsigned char* bytes);
// False for a record that cannot be a position (a square or field out of range).
bool decodeRecord(const unsigned char* bytes, TrainingPosition& position);

// The chunk header: "KPOS", the format version and the record count, both
// little-endian (32 and 64 bits). Version 1 chunks (no search values) are
// still read.
constexpr int kChunkHeaderBytes = 16;
// Far above any chunk of 100000 games; a bound before the file is read.
constexpr std::size_t kMaxChunkBytes = std::size_t{1} << 31;

// Writes the chunk `name` in full (temporary file, flushed to the disk,
// renamed); false with `error` set on any failure.
bool writeChunk(const std::string& name, const std::vector<TrainingPosition>& positions, std::string& error);

// Appends the positions of chunk `name`. False, with `error` naming the file
// and the fault, when it is not a regular file, its header is wrong, its
// length disagrees with the header's count or a record is not a position.
bool readChunk(const std::string& name, std::vector<TrainingPosition>& positions, std::string& error);

}  // namespace kaimo::train
