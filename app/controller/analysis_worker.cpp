#include "app/controller/analysis_worker.h"

#include <chrono>

#include "app/controller/controller_window.h"
#include "app/controller/exchange.h"
#include "app/controller/game_texts.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_analysis.h"

namespace kaimo {
namespace {

using Clock = std::chrono::steady_clock;

void publishProgress(const SquareValues& values, int done, int total, void* user) {
  const Clock::time_point start = *static_cast<const Clock::time_point*>(user);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
  exchange().publishValues(values);
  exchange().setStatusText(kProgressPane, texts::analysisProgressText(done * 100.0 / total, seconds));
}

void postValues(int last, const SquareValues& values) {
  if (last == SCORE_EVAL_ERROR) exchange().flagEvalError();
  exchange().setStatusText(kProgressPane, texts::kAnalysisDone);
  exchange().postAnalysisDone(values);
}

}  // namespace

void analysisWorker(AnalysisJob* job) {
  Clock::time_point start = Clock::now();
  SquareValues values;
  const AnalysisResult result =
      analyzeEndgame(job->board, job->side, job->evaluator, job->stop, values, publishProgress, &start);
  postValues(result.last, values);
}

}  // namespace kaimo
