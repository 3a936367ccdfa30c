#include "app/controller/game_texts.h"

#include <cinttypes>
#include <cstdio>

namespace kaimo::texts {
namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}

}  // namespace

std::string passText(int side) { return format("%sはパスです。", side == 0 ? "黒" : "白"); }

std::string blackCountText(int discs) { return format("黒%d石", discs); }

std::string whiteCountText(int discs) { return format("白%d石", discs); }

std::string gameOverText(int black, int white) { return format("終了 黒%d石 白%d石", black, white); }

std::string evaluationText(int value) { return format("%+.2lf", value / 1000.0); }

std::string progressText(std::int64_t percent, std::int64_t kiloLeavesPerSecond, std::int64_t milliseconds) {
  return format("%" PRId64 "%% %" PRId64 "KLeaf/sec %" PRId64 "msec", percent, kiloLeavesPerSecond, milliseconds);
}

}  // namespace kaimo::texts
