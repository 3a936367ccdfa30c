// Self-play games for training: a few random plies to spread the openings,
// then the engine's own searches with the occasional random move early on,
// and perfect play by exact reads over the last empty squares, so the end of
// every game is labelled exactly.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/common/computer_turn.h"
#include "tools/train/position_record.h"

namespace kaimo::train {

struct SelfPlaySettings {
  int routine = 1;          // the routine that searches ("狸" until there are weights)
  int depth = 3;            // normal depth of its searches
  int exactDepth = 14;      // exact reads from this many empty squares on
  int randomPliesMin = 2;   // uniformly random plies at the start: from..
  int randomPliesMax = 10;  // ..to (inclusive)
  int epsilonPercent = 10;  // chance of a random move..
  int epsilonPlies = 30;    // ..during the first plies after the random ones
};

// The positions of game `game` (the same game for the same seed, index and
// settings, whichever process plays it), each labelled with the final margin:
// Played from the first exact read on, Outcome before. Only positions the
// network scores (1 to 84 empty squares, a legal move for the side to move)
// are kept. An evaluation failure leaves `failed` set and no positions.
std::vector<TrainingPosition> playTrainingGame(std::uint64_t seed, std::int32_t game, const SelfPlaySettings& settings,
                                               tools::TurnSearcher& searcher, bool& failed);

}  // namespace kaimo::train
