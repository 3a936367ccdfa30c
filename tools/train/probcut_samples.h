// What `kaimo-train probcut` learns from: positions of the games with the
// values the searches of "狐" give them at every depth from 0 (the static
// evaluation) up to the deepest asked for. One text file of samples per
// chunk of games ("probcut-00012.kpcs"), written whole or not at all:
//
//     KPCS 1 depth D count N
//     E v0 v1 ... vD          (N lines)
//
// E is the position's empty squares; vd its value after a read of d plies,
// for the side to move, in score units (1000 a disc), or "-" where d is E or
// more (the read would reach the end, where no node asks ProbCut).
#pragma once

#include <string>
#include <vector>

#include "engine/board/board.h"
#include "engine/eval/evaluator.h"

namespace kaimo::train {

constexpr int kNoSampleValue = -1000000000;  // a depth the position has no value at

struct ProbCutSample {
  int empties = 0;
  std::vector<int> values;  // depths 0..D
};

// The values of the position read by `evaluator` at every depth 0..maxDepth
// (each read from the position, ProbCut off). False when the evaluation
// fails or the side to move has no move.
bool sampleValues(const Board& board, int side, int maxDepth, const Evaluator& evaluator, ProbCutSample& sample);

bool writeSamples(const std::string& name, int depth, const std::vector<ProbCutSample>& samples, std::string& error);

// Appends the samples of the file `name`, which must hold values to depth
// `depth`. False with `error` naming the file and the fault when it is not
// such a file (damaged, cut short, another depth).
bool readSamples(const std::string& name, int depth, std::vector<ProbCutSample>& samples, std::string& error);

}  // namespace kaimo::train
