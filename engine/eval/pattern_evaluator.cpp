#include "engine/eval/pattern_evaluator.h"

#include <utility>

#include "engine/eval/eval_simple.h"
#include "engine/eval/score.h"
#include "support/kr/kr_error.h"

namespace kaimo {

PatternEvaluator::PatternEvaluator(std::FILE* announce, std::filesystem::path dataFolder, int stageSlots)
    : dataFolder_(std::move(dataFolder)) {
  failed_ = !loadIndexTables();
  if (failed_) return;
  cache_ = StageCache(layout_.rowCount, dataFolder_, stageSlots);
  if (announce != nullptr) std::fprintf(announce, "jMax = %ld\n", layout_.rowCount);
}

bool PatternEvaluator::loadIndexTables() {
  std::array<std::int32_t, kPatternCount> classCounts{};
  for (int p = 0; p < kPatternCount; ++p) {
    const PatternDescriptor& d = kPatternDescriptors[p];
    if (!usesIndexTable(d)) continue;
    const std::string name = (dataFolder_ / indexTableFileName(d)).string();
    IndexTable table;
    const LayoutStatus status = readIndexTable(name.c_str(), indexTableLength(d), table);
    if (status == LayoutStatus::NoMemory) {
      logError("ルーチン狐 : メモリ確保(%ldバイト)に失敗しました。\n", 2L * powerOfThree(indexTableLength(d)));
      return false;
    }
    if (status != LayoutStatus::Ok) {
      // Short tables and class numbers beyond the class count are refused
      // like a missing file (either would index outside the weight rows),
      // and logged as what they are.
      logError("ルーチン狐 : データファイル%s%s\n", name.c_str(), dataFileFault(status));
      return false;
    }
    classCounts[p] = table.classCount;
    indexTables_[p] = std::move(table.entries);
    tablePointers_[p] = indexTables_[p].data();
  }
  layout_ = weightLayoutFor(classCounts);
  return true;
}

template <typename Lock>
int PatternEvaluator::evaluateUnder(const Board& board, int finalFlag, int side, DiscCounts& counts) {
  if (counts[2] > kPatternMaxEmpties) return evalSimple(board, finalFlag, side, counts);
  if (counts[2] == 0 || finalFlag != 0) return scoreFinal(counts[0], counts[1]);
  if (failed_) return SCORE_EVAL_ERROR;
  DiscCounts own;
  boardCount(board, own);
  NetworkInputs inputs;
  collectInputs(board, side, own, tablePointers_, layout_, inputs);
  Lock lock(cacheMutex_);
  if (cache_.select(stageOfEmpties(own[2])) != 0) return SCORE_EVAL_ERROR;
  return networkScore(inputs, cache_.weights(), cache_.output(), sigmoid_);
}

int PatternEvaluator::evaluate(const Board& board, int finalFlag, int side, DiscCounts& counts) {
  return evaluateUnder<std::lock_guard<std::mutex>>(board, finalFlag, side, counts);
}

int PatternEvaluator::evaluateUnlocked(const Board& board, int finalFlag, int side, DiscCounts& counts) {
  return evaluateUnder<NoLock>(board, finalFlag, side, counts);
}

int PatternEvaluator::selectStage(int stage) {
  if (failed_) return -1;
  const std::lock_guard lock(cacheMutex_);
  return cache_.select(stage);
}

int PatternEvaluator::slotStage(int slot) const {
  const std::lock_guard lock(cacheMutex_);
  return cache_.slotStage(slot);
}

int PatternEvaluator::currentSlot() const {
  const std::lock_guard lock(cacheMutex_);
  return cache_.currentSlot();
}

void PatternEvaluator::releaseStages() {
  const std::lock_guard lock(cacheMutex_);
  cache_.release();
}

}  // namespace kaimo
