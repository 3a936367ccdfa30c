// The ProbCut regressions of "狐" fitted from samples: for every stage and
// deep depth d, the line that predicts the value of a d-ply read from the
// value of a read of the pair's shallow depth, and the deviation around it.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "engine/search/probcut.h"
#include "tools/train/probcut_samples.h"

namespace kaimo::train {

// The shallowest node depth that checks: below it a check costs about what
// the node does.
constexpr int kFirstProbCutDepth = 3;

// The shallow depth a node of `depth` plies asks: about two fifths of the
// depth, of the same parity (a read of an odd depth ends on the mover's own
// move, which "狐" scores higher than an even one; pairs of one parity keep
// that bias out of the line).
int shallowDepthFor(int depth);

struct ProbCutFit {
  ProbCutTable table;
  std::vector<std::size_t> counts;  // samples behind each entry, stage by stage, depth by depth
};

// Stages of `width` empty squares; deep depths kFirstProbCutDepth..lastDepth.
// A stage with fewer than `minSamples` samples of a depth borrows those of
// the stages nearest to it until it has enough. None when a depth has
// fewer than three samples in all.
std::optional<ProbCutFit> fitProbCut(const std::vector<ProbCutSample>& samples, int width, int lastDepth,
                                     std::size_t minSamples);

}  // namespace kaimo::train
