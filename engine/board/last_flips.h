// The last empty square of a board without walls: how many discs a side
// turns over there, from a table per line instead of a run per direction.
// The other 99 squares are all discs, so a line's pattern of one side's
// discs says everything: the square's four lines are taken out of the mask
// with BMI2's pext and each is looked up. Where pext is slow or missing the
// caller flips as anywhere else (bitFlips).
#pragma once

#include "engine/board/bitboard.h"

namespace kaimo {

// True when lastFlipCount may be called: the processor has BMI2 and runs
// pext in hardware (not the microcoded pext of AMD's first two Zen
// generations, slower than the flips it would replace).
bool lastFlipCountRunnable();

// The discs `own` turns over by playing `square`, the one square of the
// board that is neither `own`'s nor the opponent's (no walls, no other
// empty square). Precondition: lastFlipCountRunnable().
int lastFlipCount(Bits own, int square);

}  // namespace kaimo
