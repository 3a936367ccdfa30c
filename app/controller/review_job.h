// The game review's job on a Worker: reads a batch of the game's positions
// in order, reporting each read as it is done.
#pragma once

#include <stop_token>
#include <vector>

#include "app/controller/worker.h"
#include "app/review/review_batch.h"

namespace kaimo {

struct ReviewJob {
  std::vector<ReviewRequest> positions;
  ReviewSettings settings;
  ReviewEvaluator evaluator;
};

// The reads done since the window thread last looked, in the order read.
struct ReviewProgress {
  std::vector<ReviewResult> reads;
};

// The batch has been read, or stopped; its reads came as progress.
struct ReviewBatchDone {};

using ReviewWorker = Worker<ReviewProgress, ReviewBatchDone>;

inline ReviewBatchDone readReviewBatch(const ReviewJob& job, std::stop_token stop, ReviewWorker::Exchange& exchange) {
  readPositions(job.positions, job.settings, job.evaluator, stop, [&exchange](const ReviewResult& read) {
    exchange.report([&read](ReviewProgress& p) { p.reads.push_back(read); });
  });
  return {};
}

}  // namespace kaimo
