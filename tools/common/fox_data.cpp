#include "tools/common/fox_data.h"

#include <array>
#include <memory>

#include "engine/eval/pattern_evaluator.h"
#include "support/kr/kr_error.h"
#include "tools/common/cli_args.h"

namespace kaimo::tools {
namespace {

constexpr int kSlots = 2;  // one per side of a match

struct Slot {
  std::filesystem::path folder;
  std::unique_ptr<PatternEvaluator> evaluator;
};

std::array<Slot, kSlots>& slots() {
  static std::array<Slot, kSlots> all;
  return all;
}

// EvalFunc is a plain function pointer, so each slot gets a function of its own.
template <int Index>
int evaluateWithSlot(const Board& board, int finalFlag, int side, DiscCounts& counts) {
  return slots()[Index].evaluator->evaluate(board, finalFlag, side, counts);
}

constexpr std::array<EvalFunc, kSlots> kSlotFunctions = {&evaluateWithSlot<0>, &evaluateWithSlot<1>};

}  // namespace

EvalFunc foxEvaluationFrom(const std::filesystem::path& folder) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, error), error);
  for (int i = 0; i < kSlots; ++i) {
    Slot& slot = slots()[i];
    if (slot.evaluator && slot.folder == absolute) return kSlotFunctions[i];
    if (slot.evaluator) continue;
    auto evaluator = std::make_unique<PatternEvaluator>(nullptr, absolute, kStageFileCount);
    if (evaluator->failed()) {
      const std::string log = kr_errorLogPath();
      throw UsageError("the data of 狐 in '" + folder.string() + "' cannot be read (see " +
                       (log.empty() ? "errorlog.txt" : log) + ")");
    }
    slot = {absolute, std::move(evaluator)};
    return kSlotFunctions[i];
  }
  throw UsageError("at most two data folders of 狐 in one run");
}

}  // namespace kaimo::tools
