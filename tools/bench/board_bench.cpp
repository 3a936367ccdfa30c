// The specialised board code against the plain loop over the direction table.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/board/board.h"
#include "tests/common/plain_board.h"

namespace {

using kaimo::Board;

struct Sample {
  Board board;
  int side;
  std::vector<int> empties;
};

// Midgame positions of seeded random games, 20 to 60 plies in, with their
// empty squares (the squares a search tries).
const std::vector<Sample>& samples() {
  static const std::vector<Sample> positions = [] {
    std::mt19937 rng(12345);
    std::vector<Sample> out;
    for (int i = 0; i < 256; ++i) {
      Sample s;
      s.board = kaimo::plain::randomGame(rng, 20 + i % 41, &s.side);
      for (int square = 0; square < kaimo::kSquareCount; ++square) {
        if (s.board[square] == kaimo::kEmpty) s.empties.push_back(square);
      }
      out.push_back(s);
    }
    return out;
  }();
  return positions;
}

template <typename Play>
void playEverySquare(benchmark::State& state, Play play) {
  const auto& positions = samples();
  Board out;
  std::size_t tries = 0;
  for (const auto& p : positions) tries += p.empties.size();
  for (auto _ : state) {
    int sum = 0;
    for (const auto& p : positions) {
      for (int s : p.empties) sum += play(p.board, out, s, p.side);
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations() * tries);
}

void BM_PlaySpecialised(benchmark::State& state) { playEverySquare(state, kaimo::boardPlay); }
void BM_PlayPlain(benchmark::State& state) { playEverySquare(state, kaimo::plain::play); }

template <typename Mobility>
void mobilityOfAll(benchmark::State& state, Mobility mobility) {
  const auto& positions = samples();
  for (auto _ : state) {
    int sum = 0;
    for (const auto& p : positions) sum += mobility(p.board, p.side);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * positions.size());
}

void BM_MobilitySpecialised(benchmark::State& state) { mobilityOfAll(state, kaimo::boardMobility); }
void BM_MobilityPlain(benchmark::State& state) { mobilityOfAll(state, kaimo::plain::mobility); }

template <typename Count>
void countAll(benchmark::State& state, Count count) {
  const auto& positions = samples();
  kaimo::DiscCounts counts;
  for (auto _ : state) {
    for (const auto& p : positions) {
      count(p.board, counts);
      benchmark::DoNotOptimize(counts);
    }
  }
  state.SetItemsProcessed(state.iterations() * positions.size());
}

void BM_CountSpecialised(benchmark::State& state) { countAll(state, kaimo::boardCount); }
void BM_CountPlain(benchmark::State& state) { countAll(state, kaimo::plain::count); }

BENCHMARK(BM_PlaySpecialised);
BENCHMARK(BM_PlayPlain);
BENCHMARK(BM_MobilitySpecialised);
BENCHMARK(BM_MobilityPlain);
BENCHMARK(BM_CountSpecialised);
BENCHMARK(BM_CountPlain);

}  // namespace

BENCHMARK_MAIN();
