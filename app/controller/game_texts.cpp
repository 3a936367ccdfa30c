#include "app/controller/game_texts.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "engine/board/notation.h"
#include "engine/eval/pattern_data.h"
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
// After a value of "狐" in the opening, where the simple evaluation stands in.
constexpr const char* kStandInNotDiscs = "（この局面では狸の評価で、石数ではありません）";

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

ValueSource valueSource(int routine, bool exact, int leafEmpties) {
  if (exact) return {true};
  const bool pattern =
      routine >= 0 && routine < routineCount() && routineTable[routine].evaluation == Evaluation::Pattern;
  if (!pattern) return {false};
  return leafEmpties > kPatternMaxEmpties ? ValueSource{false, true} : ValueSource{true};
}

ValueSource sourceOf(const ThinkingDisplay& thinking) {
  if (thinking.fromBook) return {true};  // the book's values are the final margins of its games
  const ThinkingLine& line = thinking.line;
  return valueSource(thinking.routine, line.lineDepth >= line.depth && line.exact, thinking.empties - line.lineDepth);
}

std::string bookHintText(int square, int value) { return std::string(kBookMove) + " " + hintText(square, value, true); }

// The book's values are the final margins of its games.
std::string bookMoveText(int value) { return std::string(kBookMove) + " " + valueText(value, true); }

std::string valueText(int value, ValueSource source) {
  std::string text = format("%+.2lf%s", value / static_cast<double>(SCORE_PER_DISC), source.inDiscs ? "石" : "点");
  if (source.standIn) text += std::string("（") + routineTable[kSimpleRoutine].name + "の評価）";
  return text;
}

std::string hintText(int square, int value, ValueSource source) {
  return std::string("最善手 ").append(squareDisplayName(square)).append(" ").append(valueText(value, source));
}

std::string evaluationLine(const char* routineName, int score, ValueSource source) {
  if (score == SCORE_EVAL_ERROR) return format("%s error\n", routineName);
  const std::string value = valueText(score, ValueSource{source.inDiscs});
  if (source.standIn) return std::string(routineName) + " " + value + kStandInNotDiscs + "\n";
  return std::string(routineName) + " " + value + (source.inDiscs ? "" : kNotDiscs) + "\n";
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
  std::string text =
      "設定ファイル " + path + " は使えないので（" + settingsFaultText(start.read) + "）、既定の設定で始めます。\n";
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
  const char* name =
      thinking.routine >= 0 && thinking.routine < routineCount() ? routineTable[thinking.routine].name : "";
  const char* doing = thinking.fromBook ? kBookMove : thinking.searching ? "思考中" : "の読み";
  std::string text = format("%s（%s）%s", who, name, doing);
  if (line.depth > 0) text += line.exact ? format("　完全読み %d手", line.depth) : format("　深さ %d", line.depth);
  if (line.lineDepth == 0 && !thinking.fromBook) return text;
  text += "\n評価 " + valueText(line.value, sourceOf(thinking));
  if (line.lineDepth != line.depth) text += format("（深さ %d）", line.lineDepth);
  if (!line.moves.empty()) {
    text += "\n読み筋";
    for (int move : line.moves) text.append(" ").append(squareDisplayName(move));
  }
  return text;
}

}  // namespace kaimo::texts
