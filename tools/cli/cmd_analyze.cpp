#include <atomic>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <csignal>
#include <stop_token>
#include <thread>

#include <signal.h>
#include <unistd.h>

#include "engine/board/notation.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/computer_read.h"
#include "engine/search/endgame_analysis.h"
#include "engine/search/search_team.h"
#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"
#include "tools/common/computer_turn.h"
#include "tools/common/limits.h"

namespace kaimo::cli {
namespace {

constexpr const char* kTooManyEmpties = "空きの数が40以上あるので、終盤解析はできません。";
// A side that must pass, a full board or one of walls: nothing to analyse.
constexpr const char* kNoMove = "打てる手がないので、終盤解析はできません。";

// The values are the same without the data, only the reads take longer:
// said, so that a slow analysis started away from the data is understood.
constexpr const char* kWithoutPatternData =
    "analyze: no data of 狐 here (errorlog.txt says why); the moves are ordered from the masks alone, "
    "which is slower";

// The signal that stopped the analysis, 0 while none has. Set in a signal
// handler and read by the watcher thread: a lock-free atomic serves both.
std::atomic<int> interrupted{0};
static_assert(std::atomic<int>::is_always_lock_free);

void noteInterrupt(int signal) {
  const int saved = errno;  // the interrupted code may be about to read it
  interrupted.store(signal, std::memory_order_relaxed);
  errno = saved;
}

// How often the watcher looks for a Ctrl+C: well within the time a stop may take.
constexpr auto kInterruptPoll = std::chrono::milliseconds(10);

// While it lives, Ctrl+C (or a termination request) stops the analysis
// instead of the process, so the moves solved so far are still printed. The
// signal handler only sets a flag; a watcher thread turns it into the stop
// request (requesting a stop is not safe inside a signal handler).
class InterruptStopsAnalysis {
 public:
  InterruptStopsAnalysis() {
    interrupted.store(0);
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
    watcher_ = std::jthread([this](std::stop_token done) {
      while (!done.stop_requested()) {
        if (interrupted.load(std::memory_order_relaxed) != 0) {
          analysisStop_.request_stop();
          return;
        }
        std::this_thread::sleep_for(kInterruptPoll);
      }
    });
  }
  ~InterruptStopsAnalysis() {
    watcher_.request_stop();
    watcher_.join();
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
  }
  InterruptStopsAnalysis(const InterruptStopsAnalysis&) = delete;
  InterruptStopsAnalysis& operator=(const InterruptStopsAnalysis&) = delete;

  std::stop_token token() const { return analysisStop_.get_token(); }

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
  std::stop_source analysisStop_;
  std::jthread watcher_;
};

struct ProgressLine {
  std::int64_t startMs;
  std::atomic<int> shown{0};  // the most moves done shown yet
};

// Moves done of the total and the time so far, rewritten in place. The two
// threads of the analysis report on their own: an older count is skipped.
void showProgress(const SquareValues& /*values*/, int done, int total, void* user) {
  auto* line = static_cast<ProgressLine*>(user);
  int shown = line->shown.load();
  do {
    if (done <= shown) return;
  } while (!line->shown.compare_exchange_weak(shown, done));
  const double seconds = static_cast<double>(searchClockMs() - line->startMs) / 1000.0;
  std::fprintf(stderr, "\ranalyze: %d/%d moves, %.1f s", done, total, seconds);
  std::fflush(stderr);
}

}  // namespace

const CommandSyntax& analyzeSyntax() {
  static const CommandSyntax syntax{
      kProgram, "analyze", "[position]",
      tools::joinOptions({positionOptions(),
                          {tools::integerOption("--threads", "N", defaultSearchThreads(), 1, tools::kMaxSearchThreads,
                                                "threads reading the moves"),
                           tools::flagOption("--wld", "only whether each move wins, draws or loses")}})};
  return syntax;
}

int runAnalyze(const Words& words, std::FILE* out) {
  const Args args = Args::parse(analyzeSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const Position position = positionFrom(args);
  DiscCounts counts;
  boardCount(position.board, counts);
  if (counts[kEmpty] >= kAnalysisEmptyLimit) {
    std::fprintf(stderr, "%s\n", kTooManyEmpties);
    return 2;
  }
  if (boardMobility(position.board, position.side) == 0) {
    std::fprintf(stderr, "%s\n", kNoMove);
    return 1;
  }

  const bool showing = isatty(STDERR_FILENO) != 0;
  ProgressLine line{searchClockMs()};
  SquareValues values;
  const InterruptStopsAnalysis interruptStops;
  // Ordered by 狐 as in the window (from the masks alone without its data).
  const Evaluator orderer = routineEvaluator(kPatternRoutine);
  if (orderer.failed()) std::fprintf(stderr, "%s\n", kWithoutPatternData);
  AnalysisSetup setup;
  setup.orderer = &orderer;
  setup.threads = args.getInt("--threads");
  setup.winLoss = args.isOn("--wld");
  const AnalysisResult result =
      analyzeEndgame(position.board, position.side, routineEvaluator(kSimpleRoutine), interruptStops.token(), values,
                     showing ? showProgress : nullptr, &line, setup);
  if (showing) std::fprintf(stderr, "\r\033[K");
  for (int s = 0; s < kSquareCount; ++s) {
    if (values[s] == SCORE_NONE) continue;
    if (setup.winLoss) {
      std::fprintf(out, "%s %s\n", squareName(s).c_str(), verdictWord(verdictOf(values[s])));
    } else {
      std::fprintf(out, "%s %+d\n", squareName(s).c_str(), values[s] / SCORE_PER_DISC);
    }
  }
  std::fprintf(out, "leaves %" PRId64 " msec %" PRId64 "\n", result.leafCount, searchClockMs() - line.startMs);
  if (const int signal = interrupted.load(); signal != 0) {
    std::fprintf(stderr, "analyze: interrupted; the moves above are the ones solved\n");
    return 128 + signal;  // the shell's status for a program ended by the signal: 130 Ctrl+C, 143 SIGTERM
  }
  if (result.last == SCORE_EVAL_ERROR) {
    tools::printEvalError();
    return 1;
  }
  return 0;
}

}  // namespace kaimo::cli
