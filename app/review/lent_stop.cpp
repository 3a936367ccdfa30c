#include "app/review/lent_stop.h"

namespace kaimo {
namespace {

thread_local const std::atomic<bool>* lentFlag = nullptr;

}  // namespace

LentStopFlag::LentStopFlag(const std::atomic<bool>& flag) : previous_(lentFlag) { lentFlag = &flag; }

LentStopFlag::~LentStopFlag() { lentFlag = previous_; }

int lentStopRequested() { return lentFlag != nullptr && lentFlag->load(std::memory_order_relaxed) ? 1 : 0; }

}  // namespace kaimo
