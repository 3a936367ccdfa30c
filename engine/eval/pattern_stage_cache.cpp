#include "engine/eval/pattern_stage_cache.h"

#include <new>

#include "support/kr/kr_error.h"

namespace kaimo {

bool StageCache::allocate() {
  for (Slot& slot : slots_) {
    slot.weights.reset(new (std::nothrow) std::int16_t[static_cast<std::size_t>(rowCount_) * kHiddenUnits]);
    if (!slot.weights) {
      release();
      return false;
    }
  }
  allocated_ = true;
  return true;
}

int StageCache::victim() const {
  std::size_t chosen = 0;
  for (std::size_t i = 1; i < slots_.size(); ++i) {
    if (slots_[i].lastUse <= slots_[chosen].lastUse) chosen = i;
  }
  return static_cast<int>(chosen);
}

int StageCache::select(int stage) {
  if (!allocated_ && !allocate()) {
    logError("ルーチン狐: メモリ確保に失敗しました。\n");
    return -1;
  }
  ++requests_;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].stage == stage) {
      current_ = static_cast<int>(i);
      slots_[i].lastUse = requests_;
      return 0;
    }
  }
  const int chosen = victim();
  Slot& slot = slots_[chosen];
  const std::string name = (dataFolder_ / stageFileName(stage)).string();
  const LayoutStatus status = readStageWeights(name.c_str(), rowCount_, slot.weights.get(), slot.output.data());
  if (status != LayoutStatus::Ok) {
    // A short file fails like a missing one: either way the stage has no
    // weights, and the slot must not offer another stage's rows instead.
    logError("ルーチン狐: データファイル %s %s\n", name.c_str(), dataFileFault(status));
    if (status == LayoutStatus::ReadFailed) {
      slot.stage = -1;
      slot.lastUse = 0;
    }
    return -1;
  }
  current_ = chosen;
  slot.stage = stage;
  slot.lastUse = requests_;
  return 0;
}

void StageCache::release() {
  for (Slot& slot : slots_) slot = Slot{};
  allocated_ = false;
  current_ = 0;
}

}  // namespace kaimo
