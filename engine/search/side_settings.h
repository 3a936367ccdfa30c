// One computer side's settings as the search consumes them: its routine,
// how deep it reads, when it reads to the end of the game, and its ProbCut.
// The defaults are the program's own for a side nobody has set.
#pragma once

#include <algorithm>

#include "engine/eval/routines.h"

namespace kaimo {

// What a computer turn reads: a normal read to its depth, a read to the end
// that only asks whether the side wins, draws or loses (the window -1..+1,
// far cheaper than the margin), or the exact final margin.
enum class ReadKind { Normal, WinLoss, Exact };

struct SideSettings {
  int routine = kSimpleRoutine;  // row of the routine table; the human never reaches the search
  int normalDepth = 6;           // plies of a normal read
  int exactDepth = 13;           // reads to the end at this many empty squares or fewer
  int winDepth = 0;              // also reads to the end at this many empty squares or fewer
  bool probCut = false;          // "狐" reads with ProbCut when its data folder has the table
  int cutValue = 1500;           // the confidence, in thousandths of a deviation
  int probCutMaxDepth = 15;      // the deepest node depth that tries a cut
  int probCutAboveEmpties = 15;  // only nodes with more empty squares than this try a cut

  // Whether the side reads a position with `empties` empty squares to the end.
  constexpr bool readsToEnd(int empties) const { return empties <= exactDepth || empties <= winDepth; }
  // How deep the side reads such a position: to the end, or its normal depth
  // (never past the end).
  constexpr int depthFor(int empties) const { return readsToEnd(empties) ? empties : std::min(normalDepth, empties); }
  // Which read the side makes there: the exact margin where the exact-read
  // depth covers the position (or the normal depth reaches the end anyway),
  // else win/draw/loss where the win-read depth covers it.
  constexpr ReadKind readKindFor(int empties) const {
    if (empties <= exactDepth || empties <= normalDepth) return ReadKind::Exact;
    return empties <= winDepth ? ReadKind::WinLoss : ReadKind::Normal;
  }
};

}  // namespace kaimo
