#include "tools/train/probcut_fit.h"

#include <algorithm>

#include "tools/train/line_fit.h"

namespace kaimo::train {
namespace {

// The points (shallow value, deep value) of the samples of stages
// [firstStage, lastStage] that have both values.
void collectPoints(const std::vector<ProbCutSample>& samples, const ProbCutTable& table, int firstStage, int lastStage,
                   int depth, int shallow, std::vector<double>& xs, std::vector<double>& ys) {
  xs.clear();
  ys.clear();
  for (const ProbCutSample& sample : samples) {
    const int stage = table.stageOf(sample.empties);
    if (stage < firstStage || stage > lastStage || depth >= static_cast<int>(sample.values.size())) continue;
    const int deep = sample.values[depth];
    if (deep == kNoSampleValue || sample.values[shallow] == kNoSampleValue) continue;
    xs.push_back(sample.values[shallow]);
    ys.push_back(deep);
  }
}

}  // namespace

int shallowDepthFor(int depth) {
  const int shallow = depth * 2 / 5;
  return (shallow - depth) % 2 == 0 ? shallow : shallow + 1;
}

std::optional<ProbCutFit> fitProbCut(const std::vector<ProbCutSample>& samples, int width, int lastDepth,
                                     std::size_t minSamples) {
  // The initial position has four discs.
  const int stages = (kSquareCount - 4) / width + 1;
  ProbCutFit fit{ProbCutTable(stages, width, kFirstProbCutDepth, lastDepth), {}};
  std::vector<double> xs, ys;
  for (int stage = 0; stage < stages; ++stage) {
    for (int depth = kFirstProbCutDepth; depth <= lastDepth; ++depth) {
      const int shallow = shallowDepthFor(depth);
      // Widen around the stage until there are enough samples or no more stages.
      for (int reach = 0;; ++reach) {
        collectPoints(samples, fit.table, stage - reach, stage + reach, depth, shallow, xs, ys);
        if (xs.size() >= minSamples || reach >= stages) break;
      }
      if (xs.size() < 3) return std::nullopt;
      const LineFit line = fitLine(xs, ys);
      fit.table.at(stage, depth) = {shallow, std::max(line.slope, 0.1), line.intercept, line.deviation};
      fit.counts.push_back(xs.size());
    }
  }
  return fit;
}

}  // namespace kaimo::train
