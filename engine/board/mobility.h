// Black's legal moves minus white's, the mobility both evaluations read at
// every leaf: the two colours' moves are the same shift-fill with the masks
// exchanged, so where the processor has 256-bit registers (AVX2, asked at
// run time) both are computed in one pass, one colour in each 128-bit half,
// and where it has AVX-512's concatenating shifts (VBMI2) two directions of
// both colours in each 512-bit register.
#pragma once

#include <vector>

#include "engine/board/bitboard.h"

namespace kaimo {

namespace mobility_detail {

using MobilityFn = int (*)(Bits black, Bits white, Bits empty);

// Every way of counting this processor runs, the slowest first: two passes
// of the move generator, then one pass with AVX2, then with VBMI2. Their
// results are the same.
std::vector<MobilityFn> runnableMobilities();

}  // namespace mobility_detail

// The fastest of them (asked once, at the first call).
int bitMobilityDifference(Bits black, Bits white, Bits empty);

}  // namespace kaimo
