#include "tools/common/computer_turn.h"

#include <cstdio>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/computer_read.h"
#include "engine/search/timed_move.h"
#include "support/kr/kr_error.h"
#include "tools/common/cli_args.h"
#include "tools/common/cpu_deadline.h"

namespace kaimo::tools {
namespace {

struct FinishedRead {
  int depth = 0;
  int value = SCORE_NONE;
  int move = -1;
  std::optional<Verdict> verdict;
};

// Deepens until the deadline stops it; the deepest finished read, or none.
FinishedRead deepenUntilStopped(SearchJob& job) {
  FinishedRead last;
  const int result = searchDeepening(*job.board, job.side, job.depth, job.context, [&](int depth, int value, int move) {
    last = {depth, value, move, std::nullopt};
  });
  if (result == SCORE_NO_MOVE || result == SCORE_EVAL_ERROR) last = {job.depth, result, -1, std::nullopt};
  return last;
}

}  // namespace

TurnResult TurnSearcher::play(const Board& board, int side, const SideSettings& settings) {
  return play(board, side, settings, routineEvaluator(settings.routine));
}

TurnResult TurnSearcher::play(const Board& board, int side, const SideSettings& settings, const Evaluator& evaluator,
                              int msPerMove, int threads) {
  const std::int64_t cpuStart = processCpuMicros();
  const std::int64_t start = searchClockMs();
  if (!job_) job_ = std::make_unique<SearchJob>();
  SearchJob& job = *job_;
  const bool toEnd = settings.readsToEnd(boardEmptyCount(board));
  FinishedRead read;
  std::int64_t leaves = 0, nodes = 0;
  if (msPerMove <= 0 || toEnd) {
    prepareComputerMove(job, board, side, settings, evaluator, {}, nullptr, threads);
    const ComputerRead computer = readComputerMove(job);
    read = {job.depth, computer.value, job.context.bestMove, computer.verdict};
  } else {
    const CpuDeadline deadline(msPerMove);
    prepareComputerMove(job, board, side, settings, evaluator, deadline.token(), nullptr, threads);
    read = deepenUntilStopped(job);
    if (read.depth == 0) {
      // Not even one ply in the time: that ply, untimed, so there is a move.
      leaves = job.context.thread.leafCount;
      nodes = job.context.thread.nodeCount;
      SideSettings onePly = settings;
      onePly.normalDepth = 1;
      prepareComputerMove(job, board, side, onePly, evaluator, {}, nullptr, threads);
      read = deepenUntilStopped(job);
    }
  }
  const bool moved = !isMarker(read.value) && read.value != SCORE_NO_MOVE;
  return {read.value,
          moved ? read.move : -1,
          read.depth,
          leaves + job.context.thread.leafCount,
          searchClockMs() - start,
          (processCpuMicros() - cpuStart) / 1000,
          nodes + job.context.thread.nodeCount,
          toEnd,
          read.verdict};
}

TurnResult TurnSearcher::playWithin(const Board& board, int side, const SideSettings& settings,
                                    const Evaluator& evaluator, const MoveBudget& budget, int threads) {
  const std::int64_t cpuStart = processCpuMicros();
  const std::int64_t start = searchClockMs();
  if (!job_) job_ = std::make_unique<SearchJob>();
  const TimedMove timed =
      searchTimedMove(*job_, board, side, settings, evaluator, budget, processCpuMicros, {}, nullptr, threads);
  const bool moved = !isMarker(timed.value) && timed.value != SCORE_NO_MOVE;
  return {timed.value,
          moved ? timed.move : -1,
          timed.depth,
          job_->context.thread.leafCount,
          searchClockMs() - start,
          (processCpuMicros() - cpuStart) / 1000,
          job_->context.thread.nodeCount,
          timed.toEnd,
          std::nullopt};
}

std::optional<Board> playToTheEnd(Board board, int side, const std::function<int(const Board&, int)>& chooseMove,
                                  std::vector<int>* moves) {
  for (int passes = 0; passes < 2;) {
    if (boardMobility(board, side) == 0) {
      ++passes;
      side = opponentOf(side);
      continue;
    }
    passes = 0;
    const int move = chooseMove(board, side);
    if (move < 0 || move >= kSquareCount || boardPlayInPlace(board, move, side) <= 1) return std::nullopt;
    if (moves != nullptr) moves->push_back(move);
    side = opponentOf(side);
  }
  return board;
}

int routineFromArgument(const std::string& text) {
  int index = routineIndexOf(text.c_str());
  if (index < 0 && !text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() < 3) {
    index = std::stoi(text);
    if (index >= routineCount()) index = -1;
  }
  if (index < 0) {
    std::string names;
    for (int i = kSimpleRoutine; i < routineCount(); ++i)
      names += std::string(i > kSimpleRoutine ? ", " : "") + routineTable[i].name;
    throw UsageError("unknown routine '" + text + "' (computer routines: " + names + ")");
  }
  if (index == kHumanRoutine)
    throw UsageError(std::string("routine ") + routineTable[index].name + " is a human player and does not search");
  return index;
}

OptionSyntax routineOption(const char* name, const char* fallback, const char* help) {
  return textOption(name, "NAME|INDEX", fallback, help,
                    [](const std::string&, const std::string& value) { routineFromArgument(value); });
}

std::int64_t kiloLeavesPerSecond(std::int64_t leaves, std::int64_t msec) { return leaves / (msec > 0 ? msec : 1); }

void printEvalError() { std::fprintf(stderr, "%s\n", kr_messageWithErrorLog(kEvalErrorMessage).c_str()); }

}  // namespace kaimo::tools
