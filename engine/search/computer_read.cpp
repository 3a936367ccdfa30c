#include "engine/search/computer_read.h"

#include "engine/eval/score.h"

namespace kaimo {
namespace {

int readInWindow(SearchJob& job, int alpha, int beta) {
  return searchRoot(*job.board, job.side, job.depth, alpha, beta, job.context, 0, job.progressSpan);
}

}  // namespace

const char* verdictWord(Verdict verdict) {
  switch (verdict) {
    case Verdict::Win: return "win";
    case Verdict::Draw: return "draw";
    case Verdict::Loss: return "loss";
  }
  return "";
}

ComputerRead readComputerMove(SearchJob& job, const std::function<void(Verdict)>& onVerdict) {
  if (job.read != ReadKind::WinLoss) return {readInWindow(job, -SCORE_INF, SCORE_INF), std::nullopt};
  // Fail-soft: a win comes back as a value of at least +1 and the move that
  // reached it, a draw as exactly 0, a loss as a bound of at most -1.
  const int bound = readInWindow(job, -1, 1);
  if (isMarker(bound) || bound == SCORE_NO_MOVE) return {bound, std::nullopt};
  const Verdict verdict = verdictOf(bound);
  if (onVerdict) onVerdict(verdict);
  if (verdict != Verdict::Loss) return {bound, verdict};
  // The margin lies at or below the bound: a window closed just above it
  // cuts more and still holds the value. The table's entries of the first
  // read are bounds of the same values, so they serve this one.
  job.context.root.shown = -1;  // a new read: its progress starts again
  return {readInWindow(job, -SCORE_INF, bound + 1), verdict};
}

}  // namespace kaimo
