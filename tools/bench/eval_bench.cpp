// Cost of one evaluation at a search leaf: "狐" with its stage cached, with
// and without the lock that lets two threads share the evaluator, against
// the simple evaluation of "狸".
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
      const int stage = kaimo::stageOfEmpties(counts[2]);
      if (counts[2] > 0 && stage >= kFirstStage && stage <= kLastStage) out.push_back(s);
    }
    return out;
  }();
  return positions;
}

// An evaluator over generated data files, with its three stages loaded; the
// files are removed again once it holds them.
kaimo::PatternEvaluator& evaluator() {
  static const std::unique_ptr<kaimo::PatternEvaluator> instance = [] {
    const auto previous = std::filesystem::current_path();
    const auto dir = std::filesystem::temp_directory_path() / ("kaimo_eval_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    const long rows = kaimo::testing::rowCountOfWrittenTables();
    for (int s = kFirstStage; s <= kLastStage; ++s) {
      kaimo::testing::writeStage(s, kaimo::testing::randomStage(rows, s, 3000, 20000));
    }
    auto e = std::make_unique<kaimo::PatternEvaluator>(stderr);
    for (const Sample& s : samples()) {
      DiscCounts counts;
      kaimo::boardCount(s.board, counts);
      if (e->evaluate(s.board, 0, s.side, counts) > kaimo::SCORE_INF) std::fprintf(stderr, "evaluation failed\n");
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
    return e;
  }();
  return *instance;
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

void BM_EvalPattern(benchmark::State& state) {
  auto& e = evaluator();
  evaluateAll(state, [&](const Board& b, int f, int side, DiscCounts& c) { return e.evaluate(b, f, side, c); });
}

void BM_EvalPatternUnlocked(benchmark::State& state) {
  auto& e = evaluator();
  evaluateAll(state, [&](const Board& b, int f, int side, DiscCounts& c) { return e.evaluateUnlocked(b, f, side, c); });
}

void BM_EvalSimple(benchmark::State& state) { evaluateAll(state, kaimo::evalSimple); }

// On a shared machine the fastest repetition is the one least disturbed by
// other work; run with --benchmark_repetitions to see it.
double fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

BENCHMARK(BM_EvalPattern)->ComputeStatistics("min", fastest);
BENCHMARK(BM_EvalPatternUnlocked)->ComputeStatistics("min", fastest);
BENCHMARK(BM_EvalSimple)->ComputeStatistics("min", fastest);

}  // namespace

BENCHMARK_MAIN();
