// The position a subcommand works on, from --moves, --board/--side or nothing.
#pragma once

#include <string>

#include "engine/board/board.h"
#include "tools/cli/commands.h"

namespace kaimo::cli {

struct Position {
  Board board;
  int side;
};

// The options positionFrom reads, declared for every command that takes a
// position; the synopsis names them all as "[position]".
const tools::OptionList& positionOptions();

// --moves STRING: legal moves from the initial position, passes implied.
// --board FILE (or - for standard input) in the ten-line text form, with
// --side black|white (black when absent). --record FILE: the last entry of a
// game record. None of them: the initial position.
Position positionFrom(const Args& args);

// Plays a move string such as "d5d4d3c3" from the initial position.
Position positionFromMoves(const std::string& moves);

}  // namespace kaimo::cli
