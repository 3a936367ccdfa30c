#include "app/controller/study_workers.h"

#include "app/controller/move_values.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

// The engine's progress call: `user` is the job's exchange.
void reportValues(const SquareValues& values, int done, int /*total*/, void* user) {
  static_cast<ValuesWorker::Exchange*>(user)->report([&](ValuesProgress& p) {
    // Calls from two threads of the analysis may arrive out of turn: the
    // one with more moves done is the newer.
    if (done < p.done) return;
    p.values = values;
    p.done = done;
  });
}

}  // namespace

SquareValues noSquareValues() {
  SquareValues values;
  values.fill(SCORE_NONE);
  return values;
}

ValuesResult analyse(const AnalysisJob& job, std::stop_token stop, ValuesWorker::Exchange& exchange) {
  ValuesResult result;
  const AnalysisResult read = analyzeEndgame(job.board, job.side, job.evaluator, std::move(stop), result.values,
                                             reportValues, &exchange, AnalysisSetup{nullptr, &job.orderer});
  result.evalFailed = read.last == SCORE_EVAL_ERROR;
  return result;
}

ValuesResult hint(const HintJob& job, std::stop_token stop, ValuesWorker::Exchange& exchange) {
  ValuesResult result;
  SearchTable table;
  const MoveValuesResult read = searchMoveValues(job.board, job.side, job.settings, std::move(stop), table,
                                                 result.values, reportValues, &exchange);
  result.evalFailed = read.last == SCORE_EVAL_ERROR;
  return result;
}

}  // namespace kaimo
