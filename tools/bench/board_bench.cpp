// The board code the engine runs against the mailbox board written the
// obvious way, and the mask form the searches use, on the same positions.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/board/bitboard.h"
#include "engine/board/board.h"
#include "tools/cli/commands.h"
#include "tools/reference/mailbox_board.h"

namespace {

using kaimo::Bits;
using kaimo::Board;

struct Sample {
  Board board;
  int side;
  std::vector<int> empties;
  Bits own;
  Bits opp;
  Bits empty;
};

// Midgame positions of seeded random games, 20 to 60 plies in, with their
// empty squares (the squares a search tries).
const std::vector<Sample>& samples() {
  static const std::vector<Sample> positions = [] {
    std::mt19937 rng(12345);
    std::vector<Sample> out;
    for (int i = 0; i < 256; ++i) {
      Sample s;
      s.board = kaimo::mailbox::randomGame(rng, 20 + i % 41, &s.side);
      for (int square = 0; square < kaimo::kSquareCount; ++square) {
        if (s.board[square] == kaimo::kEmpty) s.empties.push_back(square);
      }
      const kaimo::BitBoard m = kaimo::toBits(s.board);
      s.own = s.side == kaimo::kBlack ? m.black : m.white;
      s.opp = s.side == kaimo::kBlack ? m.white : m.black;
      s.empty = m.empty;
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

void BM_Play(benchmark::State& state) { playEverySquare(state, kaimo::boardPlay); }
void BM_PlayMailbox(benchmark::State& state) { playEverySquare(state, kaimo::mailbox::play); }

// A move on masks that the search already holds: flips, then three updates.
void BM_PlayMasks(benchmark::State& state) {
  const auto& positions = samples();
  std::size_t tries = 0;
  for (const auto& p : positions) tries += p.empties.size();
  for (auto _ : state) {
    for (const auto& p : positions) {
      for (int s : p.empties) {
        const Bits flips = kaimo::bitFlips(p.own, p.opp, s);
        Bits own = p.own | flips | kaimo::squareBit(s);
        Bits opp = p.opp & ~flips;
        benchmark::DoNotOptimize(own);
        benchmark::DoNotOptimize(opp);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * tries);
}

template <typename Mobility>
void mobilityOfAll(benchmark::State& state, Mobility mobility) {
  const auto& positions = samples();
  for (auto _ : state) {
    int sum = 0;
    for (const auto& p : positions) sum += mobility(p);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * positions.size());
}

void BM_Mobility(benchmark::State& state) {
  mobilityOfAll(state, [](const Sample& p) { return kaimo::boardMobility(p.board, p.side); });
}
void BM_MobilityMailbox(benchmark::State& state) {
  mobilityOfAll(state, [](const Sample& p) { return kaimo::mailbox::mobility(p.board, p.side); });
}
void BM_MobilityMasks(benchmark::State& state) {
  mobilityOfAll(state, [](const Sample& p) { return kaimo::bitCount(kaimo::bitLegalMoves(p.own, p.opp, p.empty)); });
}

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

void BM_Count(benchmark::State& state) { countAll(state, kaimo::boardCount); }
void BM_CountMailbox(benchmark::State& state) { countAll(state, kaimo::mailbox::count); }

// From the initial position, `state.range(0)` plies deep.
template <typename Perft>
void perftFromStart(benchmark::State& state, Perft perft) {
  Board start;
  const int side = kaimo::boardInit(start);
  for (auto _ : state) benchmark::DoNotOptimize(perft(start, side, static_cast<int>(state.range(0))));
}

void BM_Perft(benchmark::State& state) { perftFromStart(state, kaimo::cli::perft); }
void BM_PerftMailbox(benchmark::State& state) { perftFromStart(state, kaimo::mailbox::perft); }

BENCHMARK(BM_Play);
BENCHMARK(BM_PlayMailbox);
BENCHMARK(BM_PlayMasks);
BENCHMARK(BM_Mobility);
BENCHMARK(BM_MobilityMailbox);
BENCHMARK(BM_MobilityMasks);
BENCHMARK(BM_Count);
BENCHMARK(BM_CountMailbox);
BENCHMARK(BM_Perft)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftMailbox)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
