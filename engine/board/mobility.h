// Black's legal moves minus white's, the mobility both evaluations read at
// every leaf: the two colours' moves are the same shift-fill with the masks
// exchanged, so where the processor has 256-bit registers (AVX2, asked at
// run time) both are computed in one pass, one colour in each 128-bit half.
#pragma once

#include "engine/board/bitboard.h"

namespace kaimo {

int bitMobilityDifference(Bits black, Bits white, Bits empty);

}  // namespace kaimo
