// A computer move's read as the side's settings ask for it (SearchJob::read):
// a normal or an exact read in the full window, or the win/loss read, which
// only asks whether the side to move wins, draws or loses (the window
// -1..+1: far fewer nodes than the exact margin).
#pragma once

#include <functional>
#include <optional>

#include "engine/search/search_driver.h"

namespace kaimo {

// What a read to the end proves for the side to move.
enum class Verdict { Loss, Draw, Win };

// The verdict of a value read to the end: an exact value, or a fail-soft
// bound from the window -1..+1 (at least +1: a win; at most -1: a loss).
constexpr Verdict verdictOf(int value) {
  return value > 0 ? Verdict::Win : value < 0 ? Verdict::Loss : Verdict::Draw;
}

// "win", "draw", "loss": the words the command line prints.
const char* verdictWord(Verdict verdict);

struct ComputerRead {
  // What searchRoot returns for the read (a marker, SCORE_NO_MOVE, or the
  // value for the side to move). After a proven win only a bound: at least
  // +1, not the margin.
  int value;
  std::optional<Verdict> verdict;  // the win/loss read's, once it finished
};

// Reads the job's position as job.read says; job.context.bestMove is then
// the move to play.
// - Normal, Exact: searchRoot in the full window.
// - WinLoss: searchRoot in -1..+1, then `onVerdict` hears the verdict. A win
//   or a draw plays the move that proved it, so the move keeps the verdict;
//   a loss is read again for the exact margin (the window's upper end below
//   the bound the first read proved), and plays the move that loses least.
ComputerRead readComputerMove(SearchJob& job, const std::function<void(Verdict)>& onVerdict = {});

}  // namespace kaimo
