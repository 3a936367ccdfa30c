// The positions of a training directory and how they are split: whole games
// are held out, so no held-out position shares a game (and its outcome) with
// a training position.
#pragma once

#include <string>
#include <vector>

#include "tools/train/position_record.h"

namespace kaimo::train {

// Every *.kpos file (games and solved positions) of each directory of the
// comma-separated list `dirs`; false with `error` set when a directory holds
// none or a file cannot be read.
bool loadTrainingSet(const std::string& dirs, std::vector<TrainingPosition>& positions, std::string& error);

// One game in `every` is held out: its positions only measure the result.
inline bool isHeldOut(std::int32_t game, int every) { return every > 0 && game % every == every - 1; }
// Another game in `every` decides when a fit stops improving.
inline bool isValidation(std::int32_t game, int every) { return every > 2 && game % every == every - 2; }

// A decimal number within [low, high], or tools::UsageError naming `what`.
double parseNumber(const std::string& text, const std::string& what, double low, double high);

// "A-B" or "A" within [low, high].
void parseRange(const std::string& text, const std::string& what, int low, int high, int& from, int& to);

}  // namespace kaimo::train
