#include "tools/common/computer_turn.h"

#include <cstdio>
#include <time.h>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "support/kr/kr_error.h"
#include "tools/common/cli_args.h"

namespace kaimo::tools {
namespace {

std::int64_t threadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

TurnResult TurnSearcher::play(const Board& board, int side, const SideSettings& settings) {
  return play(board, side, settings, routineEvaluator(settings.routine));
}

TurnResult TurnSearcher::play(const Board& board, int side, const SideSettings& settings, const Evaluator& evaluator) {
  const std::int64_t cpuStart = threadCpuMs();
  if (!job_) job_ = std::make_unique<SearchJob>();
  SearchJob& job = *job_;
  prepareComputerMove(job, board, side, settings, evaluator, {}, nullptr);
  const int value = searchRoot(board, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
  const std::int64_t msec = searchClockMs() - job.context.startTime;
  const std::int64_t cpuMsec = threadCpuMs() - cpuStart;
  const bool moved = !isMarker(value) && value != SCORE_NO_MOVE;
  return {value, moved ? job.context.bestMove : -1, job.depth, job.context.leafCount, msec, cpuMsec,
          job.context.nodeCount};
}

int routineFromArgument(const std::string& text) {
  int index = routineIndexOf(text.c_str());
  if (index < 0 && !text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() < 3) {
    index = std::stoi(text);
    if (index >= routineCount()) index = -1;
  }
  if (index < 0) {
    std::string names;
    for (int i = kSimpleRoutine; i < routineCount(); ++i) names += std::string(i > kSimpleRoutine ? ", " : "") + routineTable[i].name;
    throw UsageError("unknown routine '" + text + "' (computer routines: " + names + ")");
  }
  if (index == kHumanRoutine) throw UsageError(std::string("routine ") + routineTable[index].name + " is a human player and does not search");
  return index;
}

std::int64_t kiloLeavesPerSecond(std::int64_t leaves, std::int64_t msec) { return leaves / (msec > 0 ? msec : 1); }

void printEvalError() { std::fprintf(stderr, "%s\n", kr_messageWithErrorLog(kEvalErrorMessage).c_str()); }

}  // namespace kaimo::tools
