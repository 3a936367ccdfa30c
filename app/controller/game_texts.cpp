#include "app/controller/game_texts.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "engine/board/notation.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"

namespace kaimo::texts {
namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}

// After a value of the simple evaluation, which counts corners and
// mobility as well as discs.
constexpr const char* kNotDiscs = "（独自の点数で、石数ではありません）";

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

bool valuesInDiscs(int routine, bool exact) {
  if (exact) return true;
  const bool known = routine >= 0 && routine < routineCount();
  return known && routineTable[routine].evaluation == Evaluation::Pattern;
}

std::string bookHintText(int square, int value) { return std::string(kBookMove) + " " + hintText(square, value, true); }

std::string bookMoveText(int value) { return std::string(kBookMove) + " " + evaluationText(value); }

std::string valueText(int value, bool inDiscs) {
  return format("%+.2lf%s", value / static_cast<double>(SCORE_PER_DISC), inDiscs ? "石" : "点");
}

std::string hintText(int square, int value, bool inDiscs) {
  return std::string("最善手 ").append(squareDisplayName(square)).append(" ").append(valueText(value, inDiscs));
}

std::string evaluationLine(const char* routineName, int score, bool inDiscs) {
  if (score == SCORE_EVAL_ERROR) return format("%s error\n", routineName);
  return std::string(routineName) + " " + valueText(score, inDiscs) + (inDiscs ? "" : kNotDiscs) + "\n";
}

namespace {

std::string settingsFaultText(const SettingsFileRead& read) {
  switch (read.fault) {
    case SettingsFault::None: break;
    case SettingsFault::NotAFile: return "ふつうのファイルではありません";
    case SettingsFault::CannotRead: return std::string("読めません: ") + std::strerror(read.systemError);
    case SettingsFault::TooLarge: return "大きすぎます";
    case SettingsFault::TooShort: return "短すぎます";
    case SettingsFault::OldVersion: return format("古い版 %d のファイルです", read.version);
    case SettingsFault::WrongLength: return "長さが設定の数と合いません";
  }
  return {};
}

}  // namespace

std::string settingsAtStartText(const std::string& path, const SettingsAtStart& start) {
  std::string text = "設定ファイル " + path + " は使えないので（" + settingsFaultText(start.read) + "）、既定の設定で始めます。\n";
  if (!start.keptAs.empty()) return text + "元のファイルは " + start.keptAs + " として残しました。";
  return text + "このファイルはそのままにして、今回の設定は保存しません。";
}

std::string reviewPausedText(std::size_t read, std::size_t total) {
  return format("検討を止めています %zu/%zu手", read, total);
}

std::string thinkingText(const ThinkingDisplay& thinking) {
  if (thinking.colour < 0) return {};
  const ThinkingLine& line = thinking.line;
  const char* who = thinking.colour == 0 ? "黒" : "白";
  const char* name = thinking.routine >= 0 && thinking.routine < routineCount() ? routineTable[thinking.routine].name : "";
  const char* doing = thinking.fromBook ? kBookMove : thinking.searching ? "思考中" : "の読み";
  std::string text = format("%s（%s）%s", who, name, doing);
  if (line.depth > 0) text += line.exact ? format("　完全読み %d手", line.depth) : format("　深さ %d", line.depth);
  if (line.lineDepth == 0 && !thinking.fromBook) return text;
  // The book's values are the final margins of its games.
  const bool inDiscs = thinking.fromBook || valuesInDiscs(thinking.routine, line.lineDepth >= line.depth && line.exact);
  text += "\n評価 " + valueText(line.value, inDiscs);
  if (line.lineDepth != line.depth) text += format("（深さ %d）", line.lineDepth);
  if (!line.moves.empty()) {
    text += "\n読み筋";
    for (int move : line.moves) text.append(" ").append(squareDisplayName(move));
  }
  return text;
}

}  // namespace kaimo::texts
