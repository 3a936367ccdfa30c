#include "app/controller/game_texts.h"

#include <cinttypes>
#include <cstdio>

#include "engine/board/notation.h"
#include "engine/eval/score.h"

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

std::string analysisProgressText(double percent, std::int64_t seconds) {
  return format("%6.2lf%%完了 %" PRId64 " sec", percent, seconds);
}

std::string hintText(int square, int value) {
  return format("最善手 %s %+.2lf", squareName(square).c_str(), value / static_cast<double>(SCORE_PER_DISC));
}

std::string bookHintText(int square, int value) { return std::string(kBookMove) + " " + hintText(square, value); }

std::string bookMoveText(int value) { return std::string(kBookMove) + " " + evaluationText(value); }

std::string worstMovesText(int colour, const std::vector<MoveDrop>& drops) {
  std::string text = format("悪手 %s:", colour == 0 ? "黒" : "白");
  if (drops.empty()) return text + " なし";
  for (const MoveDrop& drop : drops) {
    text += format(" %d.%s -%d石", drop.entry + 1, squareName(drop.square).c_str(), drop.discs);
  }
  return text;
}

std::string evaluationLine(const char* routineName, int score) {
  if (score == SCORE_EVAL_ERROR) return format("%s error\n", routineName);
  return format("%s %+.2lf\n", routineName, score / static_cast<double>(SCORE_PER_DISC));
}

}  // namespace kaimo::texts
