// Cost of one evaluation: "狐" of a Board and at a search leaf (its pattern
// indices kept by the search), against the simple evaluation of "狸".
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/eval/eval_simple.h"
#include "engine/eval/eval_simple_bits.h"
#include "engine/eval/pattern_evaluator.h"
#include "engine/eval/score.h"
#include "tools/reference/mailbox_board.h"
#include "tools/reference/pattern_sample_data.h"

namespace {

using kaimo::Board;
using kaimo::DiscCounts;

struct Sample {
  Board board;
  int side;
};

// Stages 11 to 13 (41..52 empty squares): three stages, so every weight read
// after the first pass hits the cache.
constexpr int kFirstStage = 11;
constexpr int kLastStage = 13;

const std::vector<Sample>& samples() {
  static const std::vector<Sample> positions = [] {
    std::mt19937 rng(12345);
    std::vector<Sample> out;
    while (out.size() < 256) {
      Sample s;
      s.board = kaimo::mailbox::randomGame(rng, 44 + static_cast<int>(out.size() % 12), &s.side);
      DiscCounts counts;
      kaimo::boardCount(s.board, counts);
      const int stage = kaimo::stageOfEmpties(counts[kaimo::kEmpty]);
      if (counts[kaimo::kEmpty] > 0 && stage >= kFirstStage && stage <= kLastStage) out.push_back(s);
    }
    return out;
  }();
  return positions;
}

// The data of generated files, with their three stages read; the files are
// removed again once the data hold them.
std::shared_ptr<const kaimo::PatternData> patternData() {
  static const std::shared_ptr<const kaimo::PatternData> instance = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("kaimo_eval_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const long rows = kaimo::testing::rowCountOfWrittenTables();
    for (int s = kFirstStage; s <= kLastStage; ++s) {
      kaimo::testing::writeStage(s, kaimo::testing::randomStage(rows, s, 3000, 20000));
    }
    std::filesystem::current_path(previous);
    auto data = std::make_shared<const kaimo::PatternData>(dir, stderr);
    for (int s = kFirstStage; s <= kLastStage; ++s) {
      if (data->stage(s) == nullptr) std::fprintf(stderr, "stage %d cannot be read\n", s);
    }
    std::filesystem::remove_all(dir);
    return data;
  }();
  return instance;
}

// A sample position as the search holds it: masks and pattern indices.
struct Leaf {
  kaimo::BitBoard bits;
  int side;
  kaimo::PatternIndices indices;
};

const std::vector<Leaf>& leaves() {
  static const std::vector<Leaf> all = [] {
    std::vector<Leaf> out;
    for (const Sample& s : samples()) {
      const kaimo::BitBoard bits = kaimo::toBits(s.board);
      out.push_back({bits, s.side, kaimo::patternIndicesOf(bits.black, bits.white)});
    }
    return out;
  }();
  return all;
}

template <typename Evaluate>
void evaluateAll(benchmark::State& state, Evaluate evaluate) {
  const auto& positions = samples();
  for (auto _ : state) {
    int sum = 0;
    for (const auto& p : positions) {
      DiscCounts counts;
      kaimo::boardCount(p.board, counts);
      sum += evaluate(p.board, 0, p.side, counts);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * positions.size());
}

template <typename Score>
void scoreAllLeaves(benchmark::State& state, Score score) {
  const auto& positions = leaves();
  for (auto _ : state) {
    int sum = 0;
    for (const auto& p : positions) sum += score(p);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * positions.size());
}

// "狐" of a Board: the pattern indices computed from scratch (the program
// outside the search: the evaluation pane, the command line, the trainer).
void BM_EvalPatternBoard(benchmark::State& state) {
  const kaimo::PatternEvaluator e(patternData());
  evaluateAll(state, [&](const Board& b, int f, int side, DiscCounts& c) { return e.evaluate(b, f, side, c); });
}

// "狐" at a search leaf: the indices kept by the search, the features from
// the masks.
void BM_EvalPatternLeaf(benchmark::State& state) {
  const kaimo::PatternEvaluator e(patternData());
  scoreAllLeaves(state,
                 [&](const Leaf& p) { return e.score(p.indices, p.bits.black, p.bits.white, p.bits.empty, p.side); });
}

void BM_EvalSimple(benchmark::State& state) { evaluateAll(state, kaimo::evalSimple); }

// "狸" at a search leaf.
void BM_EvalSimpleLeaf(benchmark::State& state) {
  scoreAllLeaves(state, [](const Leaf& p) { return kaimo::evalSimpleBits(p.bits.black, p.bits.white, p.bits.empty); });
}

// On a shared machine the fastest repetition is the one least disturbed by
// other work; run with --benchmark_repetitions to see it.
double fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

BENCHMARK(BM_EvalPatternBoard)->ComputeStatistics("min", fastest);
BENCHMARK(BM_EvalPatternLeaf)->ComputeStatistics("min", fastest);
BENCHMARK(BM_EvalSimple)->ComputeStatistics("min", fastest);
BENCHMARK(BM_EvalSimpleLeaf)->ComputeStatistics("min", fastest);

}  // namespace

BENCHMARK_MAIN();
