#include <cinttypes>
#include <unistd.h>

#include "engine/board/notation.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_analysis.h"
#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"
#include "tools/common/computer_turn.h"

namespace kaimo::cli {
namespace {

constexpr const char* kTooManyEmpties = "空きの数が40以上あるので、終盤解析はできません。";

struct ProgressLine {
  std::int64_t startMs;
};

// Moves done of the total and the time so far, rewritten in place.
void showProgress(const SquareValues& /*values*/, int done, int total, void* user) {
  const auto* line = static_cast<const ProgressLine*>(user);
  const double seconds = static_cast<double>(searchClockMs() - line->startMs) / 1000.0;
  std::fprintf(stderr, "\ranalyze: %d/%d moves, %.1f s", done, total, seconds);
  std::fflush(stderr);
}

}  // namespace

int runAnalyze(const Words& words, std::FILE* out) {
  const Args args = Args::parse(words);
  args.allowOnly(positionOptions());
  if (!args.positional.empty()) throw UsageError("usage: kaimo-cli analyze [position]");
  const Position position = positionFrom(args);
  DiscCounts counts;
  boardCount(position.board, counts);
  if (counts[2] >= kAnalysisEmptyLimit) {
    std::fprintf(stderr, "%s\n", kTooManyEmpties);
    return 2;
  }

  const bool showing = isatty(STDERR_FILENO) != 0;
  ProgressLine line{searchClockMs()};
  SquareValues values;
  const AnalysisResult result = analyzeEndgame(position.board, position.side, routineTable[kSimpleRoutine].evaluate,
                                               nullptr, values, showing ? showProgress : nullptr, &line);
  if (showing) std::fprintf(stderr, "\r\033[K");
  for (int s = 0; s < kSquareCount; ++s) {
    if (values[s] != SCORE_NONE) std::fprintf(out, "%s %+d\n", squareName(s).c_str(), values[s] / SCORE_PER_DISC);
  }
  std::fprintf(out, "leaves %" PRId64 " msec %" PRId64 "\n", result.leafCount, searchClockMs() - line.startMs);
  if (result.last == SCORE_EVAL_ERROR) {
    std::fprintf(stderr, "%s\n", tools::kEvalErrorMessage);
    return 1;
  }
  return 0;
}

}  // namespace kaimo::cli
