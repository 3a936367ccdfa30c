// The positions of a training directory and how they are split: whole games
// are held out, so no held-out position shares a game (and its outcome) with
// a training position.
#pragma once

#include <string>
#include <vector>

#include "tools/train/position_record.h"

namespace kaimo::train {

// The folders of a comma-separated list such as "r7-fox,r8-fox"; an empty
// name in it is a tools::UsageError naming `what`.
std::vector<std::string> folderList(const std::string& text, const std::string& what);

// Every *.kpos file (games and solved positions) of each of `dirs`, each
// checked as a chunk of its folder's games (readChunkOfGames); false with
// `error` set when a folder holds no games or no positions, or a file is
// refused.
bool loadTrainingSet(const std::vector<std::string>& dirs, std::vector<TrainingPosition>& positions,
                     std::string& error);

// One game in `every` is held out: its positions only measure the result.
inline bool isHeldOut(std::int32_t game, int every) { return every > 0 && game % every == every - 1; }
// Another game in `every` decides when a fit stops improving.
inline bool isValidation(std::int32_t game, int every) { return every > 2 && game % every == every - 2; }

// "A-B" or "A" within [low, high].
void parseRange(const std::string& text, const std::string& what, int low, int high, int& from, int& to);

}  // namespace kaimo::train
