// How deep a side reads, and where inside that read the search changes gear.
#include <algorithm>

#include "engine/search/search_driver.h"

namespace kaimo {
namespace {

// Exact reads hand this many plies and more to the lean solver: deep reads
// spend their ordering and table work only where it pays.
constexpr int kDeepReadDepth = 19;   // from here the solver takes all but 11 plies
constexpr int kLongReadDepth = 15;   // from here all but 10
constexpr int kDeepReadMargin = 11;
constexpr int kLongReadMargin = 10;
constexpr int kShortReadSolverDepth = 3;  // shorter reads: the two- and three-empty solvers
// The table and the ordered nodes leave out the two plies next to the
// leaves, where a probe costs more than the work it saves.
constexpr int kHashMargin = 2;
constexpr int kOrderMargin = 2;
// Ordered nodes in a read to the end stop this far above the leaves.
constexpr int kMaxExactOrderDepth = 8;
// A normal read orders every node but the last two plies.
constexpr int kNormalOrderDepth = 2;

}  // namespace

int chooseDepth(int normalDepth, int exactDepth, int winDepth, int empties) {
  if (empties <= exactDepth || empties <= winDepth) return empties;
  return std::min(normalDepth, empties);
}

int solverDepthFor(int depth, int empties) {
  int solver = kShortReadSolverDepth;
  if (depth >= kDeepReadDepth) {
    solver = depth - kDeepReadMargin;
  } else if (depth >= kLongReadDepth) {
    solver = depth - kLongReadMargin;
  }
  return depth < empties ? solver - 1 : solver;
}

int hashDepthFor(int depth, int /*empties*/) { return depth - kHashMargin; }

int orderDepthFor(int depth, int empties) {
  if (depth < empties) return kNormalOrderDepth;
  return std::min(depth - kOrderMargin, kMaxExactOrderDepth);
}

}  // namespace kaimo
