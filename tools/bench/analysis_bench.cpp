// The endgame analysis against a plain alpha-beta solver (no table, no move
// ordering, squares in index order) on the same positions of seeded play,
// timed side by side in one run; both must give every move the same value.
//
//   kaimo-bench-analysis [MIN_EMPTIES [MAX_EMPTIES [POSITIONS [SEED]]]]
//   kaimo-bench-analysis 16 24 2 --analysis-only [--threads N] [--stable DISCS] [--positions]
//   kaimo-bench-analysis 22 24 8 44 --positions-only
//
// --threads: the analysis's threads (the machine's cores, at most two);
// --stable: only positions with at least DISCS discs that can never flip;
// --positions: each position is printed, in the board file's form, before
// it is solved (for kaimo-cli analyze --board); --positions-only: only
// printed, none solved (a set of positions for timing kaimo-cli).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_analysis.h"
#include "engine/search/stable_discs.h"
#include "tools/cli/bench_suite.h"

namespace {

using namespace kaimo;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor time of the whole process: both workers of the analysis.
double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

int discsOf(const Board& board, int colour) {
  DiscCounts counts;
  boardCount(board, counts);
  return counts[colour];
}

// Discs of either colour that can never be turned over.
int stableCount(const Board& board) {
  const BitBoard bits = toBits(board);
  return bitCount(stableDiscs(bits.black, bits.white, bits.empty) | stableDiscs(bits.white, bits.black, bits.empty));
}

// The baseline: alpha-beta over every line in square order, no table, no
// ordering; a pass costs nothing, an ended game is scored by scoreFinal.
int plainValue(const Board& board, int side, int alpha, int beta) {
  Board child;
  bool moved = false;
  for (int s = 0; s < kSquareCount; ++s) {
    if (board[s] != kEmpty || boardPlay(board, child, s, side) <= 1) continue;
    moved = true;
    const int value = -plainValue(child, opponentOf(side), -beta, -alpha);
    if (value > alpha) alpha = value;
    if (alpha >= beta) return alpha;
  }
  if (moved) return alpha;
  if (boardMobility(board, opponentOf(side)) == 0) {
    const int final = scoreFinal(discsOf(board, side), discsOf(board, opponentOf(side)));
    return final < alpha ? alpha : final > beta ? beta : final;
  }
  return -plainValue(board, opponentOf(side), -beta, -alpha);
}

// Every legal move's exact value the obvious way, one thread.
SquareValues plainAnalysis(const Board& board, int side) {
  SquareValues values;
  values.fill(SCORE_NONE);
  Board child;
  for (int s = 0; s < kSquareCount; ++s) {
    if (board[s] != kEmpty || boardPlay(board, child, s, side) <= 1) continue;
    const int opponent = opponentOf(side);
    if (boardMobility(child, opponent) > 0) {
      values[s] = -plainValue(child, opponent, -SCORE_INF, SCORE_INF);
    } else if (boardMobility(child, side) > 0) {
      values[s] = plainValue(child, side, -SCORE_INF, SCORE_INF);
    } else {
      values[s] = scoreFinal(discsOf(child, side), discsOf(child, opponent));
    }
  }
  return values;
}

int argumentOr(int argc, char** argv, int index, int fallback) {
  return argc > index && argv[index][0] != '-' ? std::atoi(argv[index]) : fallback;
}

bool hasFlag(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return true;
  }
  return false;
}

int flagValueOr(int argc, char** argv, const char* flag, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return std::atoi(argv[i + 1]);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int minEmpties = argumentOr(argc, argv, 1, 13);
  const int maxEmpties = argumentOr(argc, argv, 2, 16);
  const int positions = argumentOr(argc, argv, 3, 3);
  const unsigned seed = static_cast<unsigned>(argumentOr(argc, argv, 4, 1));
  const bool plain = !hasFlag(argc, argv, "--analysis-only");
  const int minStable = flagValueOr(argc, argv, "--stable", 0);
  const bool positionsOnly = hasFlag(argc, argv, "--positions-only");
  const bool showPositions = positionsOnly || hasFlag(argc, argv, "--positions");
  AnalysisSetup setup;
  setup.threads = std::clamp(flagValueOr(argc, argv, "--threads", defaultSearchThreads()), 1, 16);
  const Evaluator fox = routineEvaluator(kPatternRoutine);
  setup.orderer = &fox;
  if (fox.failed()) std::printf("without the data of 狐: the reads are ordered from the masks alone\n");
  std::mt19937 rng(seed);
  std::printf("%7s %9s %12s %12s %12s %12s %9s %9s %7s\n", "empties", "positions", "analysis s", "(cpu s)", "plain s",
              "(cpu s)", "ratio", "cpu ratio", "growth");
  double allAnalysis = 0, allPlain = 0, allAnalysisCpu = 0, allPlainCpu = 0, previous = 0;
  for (int empties = minEmpties; empties <= maxEmpties; ++empties) {
    double analysisSeconds = 0, plainSeconds = 0, analysisCpu = 0, plainCpu = 0;
    for (int i = 0; i < positions; ++i) {
      int side;
      Board board;
      do {
        board = cli::seededPosition(rng, empties, side);
      } while (boardEmptyCount(board) != empties || stableCount(board) < minStable);
      if (showPositions) {
        std::printf("position %s\n", side == kBlack ? "black" : "white");
        boardWriteText(board, stdout);
        std::fflush(stdout);
      }
      if (positionsOnly) continue;
      SquareValues fast;
      auto start = Clock::now();
      double cpuStart = cpuSeconds();
      analyzeEndgame(board, side, Evaluator{}, {}, fast, nullptr, nullptr, setup);
      analysisSeconds += secondsSince(start);
      analysisCpu += cpuSeconds() - cpuStart;
      if (!plain) continue;
      start = Clock::now();
      cpuStart = cpuSeconds();
      const SquareValues slow = plainAnalysis(board, side);
      plainSeconds += secondsSince(start);
      plainCpu += cpuSeconds() - cpuStart;
      if (fast != slow) {
        std::fprintf(stderr, "the values differ at %d empty squares, position %d\n", empties, i);
        return 1;
      }
    }
    const double growth = previous > 0 ? analysisSeconds / previous : 0;
    std::printf("%7d %9d %12.3f %12.3f %12.3f %12.3f %9.1f %9.1f %7.2f\n", empties, positions, analysisSeconds,
                analysisCpu, plainSeconds, plainCpu, plain ? plainSeconds / analysisSeconds : 0.0,
                plain ? plainCpu / analysisCpu : 0.0, growth);
    std::fflush(stdout);
    previous = analysisSeconds;
    allAnalysis += analysisSeconds;
    allPlain += plainSeconds;
    allAnalysisCpu += analysisCpu;
    allPlainCpu += plainCpu;
  }
  if (plain) {
    std::printf("all: analysis %.3f s (cpu %.3f), plain %.3f s (cpu %.3f), ratio %.1f (cpu %.1f)\n", allAnalysis,
                allAnalysisCpu, allPlain, allPlainCpu, allPlain / allAnalysis, allPlainCpu / allAnalysisCpu);
  }
  return 0;
}
