// Data files of "狐" for tests and benchmarks, written into the current
// directory: index tables built from the reversal rule, stage weights drawn
// from a seeded generator.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/eval/pattern_layout.h"

namespace kaimo::testing {

struct StageData {
  std::vector<std::int16_t> weights;  // rowCount * 4
  std::array<std::int16_t, kOutputWeights> output{};
};

// The table every pattern with an index table reads.
inline IndexTable classTableFor(const PatternDescriptor& d) {
  return buildLineClasses(indexTableLength(d), d.kind == kKindEdge);
}

// Writes fgtb040.kmx .. fgtb100.kmx and fgtb081.kmx; returns the class count
// of each pattern (0 for patterns without a table).
inline std::array<std::int32_t, kPatternCount> writeIndexTables() {
  std::array<std::int32_t, kPatternCount> counts{};
  for (int p = 0; p < kPatternCount; ++p) {
    const PatternDescriptor& d = kPatternDescriptors[p];
    if (!usesIndexTable(d)) continue;
    const IndexTable table = classTableFor(d);
    writeIndexTable(indexTableFileName(d).c_str(), table);
    counts[p] = table.classCount;
  }
  return counts;
}

inline long rowCountOfWrittenTables() { return weightLayoutFor(writeIndexTables()).rowCount; }

// Row weights uniform in [-rowSpread, rowSpread], output weights in
// [-outputSpread, outputSpread].
inline StageData randomStage(long rowCount, std::uint64_t seed, int rowSpread, int outputSpread) {
  std::mt19937_64 rng(seed);
  StageData data;
  data.weights.resize(static_cast<std::size_t>(rowCount) * kHiddenUnits);
  const auto span = static_cast<std::uint64_t>(2 * rowSpread + 1);
  // Four weights from each 64-bit draw keep a 4 MB stage cheap to build.
  for (std::size_t i = 0; i < data.weights.size(); i += 4) {
    std::uint64_t bits = rng();
    for (std::size_t k = i; k < i + 4 && k < data.weights.size(); ++k, bits >>= 16) {
      data.weights[k] = static_cast<std::int16_t>(static_cast<int>((bits & 0xffff) % span) - rowSpread);
    }
  }
  std::uniform_int_distribution<int> output(-outputSpread, outputSpread);
  for (auto& w : data.output) w = static_cast<std::int16_t>(output(rng));
  return data;
}

inline bool writeStage(int stage, const StageData& data) {
  return writeStageWeights(stageFileName(stage).c_str(), data.weights.data(),
                           static_cast<long>(data.weights.size() / kHiddenUnits), data.output.data());
}

// Writes the index tables and the file of every stage "狐" reads (stage s
// drawn from seed `seedBase + s`); returns the stages as written.
inline std::map<int, StageData> writeEveryStage(std::uint64_t seedBase, int rowSpread, int outputSpread) {
  const long rows = rowCountOfWrittenTables();
  std::map<int, StageData> stages;
  for (int s = stageOfEmpties(84); s <= stageOfEmpties(1); ++s) {
    stages[s] = randomStage(rows, seedBase + s, rowSpread, outputSpread);
    if (!writeStage(s, stages[s])) stages.erase(s);
  }
  return stages;
}

}  // namespace kaimo::testing
