// How deep a side reads, and where inside that read the search changes gear.
#include <algorithm>

#include "engine/search/search_driver.h"

namespace kaimo {
namespace {

// Where a read hands its last plies to the lean solver: the longer the read,
// the more plies the solver takes, so the costly nodes above it stay few.
constexpr int kDeepReadDepth = 19;   // from here the solver takes all but 11 plies
constexpr int kLongReadDepth = 15;   // from here all but 10
constexpr int kDeepReadMargin = 11;
constexpr int kLongReadMargin = 10;
constexpr int kShortReadSolverDepth = 3;  // shorter reads: the two- and three-empty solvers
// The root and its children keep no table entries, so they may empty a full
// table while no node holds an entry.
constexpr int kHashMargin = 2;
// A read to the end orders its top three plies and every node with 8 or
// more plies left; the nodes below scan squares in order.
constexpr int kOrderMargin = 2;
constexpr int kMaxExactOrderDepth = 8;
// A normal read orders every node with two or more plies left.
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
