#include "engine/eval/pattern_evaluator.h"

#include "engine/eval/eval_simple.h"
#include "engine/eval/eval_simple_bits.h"
#include "engine/eval/pattern_inputs.h"
#include "engine/eval/score.h"

namespace kaimo {

int PatternEvaluator::score(const State& state, Bits black, Bits white, Bits empty, int side) const {
  if (bitCount(empty) > kPatternMaxEmpties) return evalSimpleBits(black, white, empty);
  return network(state, black, white, empty, side);
}

PatternEvaluator::Family PatternEvaluator::familyOf(int childEmpties) const {
  Family family;
  if (childEmpties > kPatternMaxEmpties || childEmpties <= 0) {
    family.kind = Family::Kind::Simple;  // a child without empty squares is scored by its discs, not here
    return family;
  }
  if (data_->failed()) return family;
  family.stage = data_->stage(stageOfEmpties(childEmpties));
  if (family.stage == nullptr) return family;
  family.kind = Family::Kind::Network;
  return family;
}

int PatternEvaluator::childScore(const Family& family, const State& child, Bits black, Bits white, Bits empty,
                                 int side) const {
  if (family.kind == Family::Kind::Simple) return evalSimpleBits(black, white, empty);
  if (family.kind == Family::Kind::Failed) return SCORE_EVAL_ERROR;
  return networkOf(*family.stage, child, black, white, empty, side);
}

int PatternEvaluator::evaluate(const Board& board, int scoreAsFinished, int side, DiscCounts& counts) const {
  if (counts[kEmpty] > kPatternMaxEmpties) return evalSimple(board, scoreAsFinished, side, counts);
  if (counts[kEmpty] == 0 || scoreAsFinished != 0) return scoreFinal(counts[kBlack], counts[kWhite]);
  const BitBoard bits = toBits(board);
  return network(stateOf(bits.black, bits.white), bits.black, bits.white, bits.empty, side);
}

int PatternEvaluator::network(const State& state, Bits black, Bits white, Bits empty, int side) const {
  if (data_->failed()) return SCORE_EVAL_ERROR;
  const int empties = bitCount(empty);
  if (empties == 0) return scoreFinal(bitCount(black), bitCount(white));
  const StageWeights* stage = data_->stage(stageOfEmpties(empties));
  if (stage == nullptr) return SCORE_EVAL_ERROR;
  return networkOf(*stage, state, black, white, empty, side);
}

int PatternEvaluator::networkOf(const StageWeights& stage, const State& state, Bits black, Bits white, Bits empty,
                                int side) const {
  const std::int16_t* weights = stage.rows.get();
  return networkOutput(patternFeatures(black, white, empty, side), data_->rowSums(state, weights), weights,
                       stage.output.data(), data_->sigmoid());
}

}  // namespace kaimo
