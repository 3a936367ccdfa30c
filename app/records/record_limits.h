// How much a game record may hold. No real record comes near these; they
// keep a hostile file or clipboard from costing the program its memory or
// its time.
#pragma once

#include <cstddef>

namespace kaimo {

// A game fills at most 96 squares and every further move needs a board
// edit, so no game comes near this; it keeps a hostile file from growing the
// history until memory runs out. One move more is a format error.
constexpr std::size_t kMaxRecordMoves = 100000;

// A record given as text (a paste, `kaimo-cli record show`): read whole
// before it is parsed, so it is bounded. The longest history the reader
// takes is 200 KB as a move list, and a megabyte is read in milliseconds; a
// larger text is refused before anything is read.
constexpr std::size_t kMaxRecordTextBytes = std::size_t{1} << 20;

}  // namespace kaimo
