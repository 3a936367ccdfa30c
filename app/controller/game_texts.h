// Everything the game controller says to the user, in the panes of the status
// bar or in a message box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/controller/search_line.h"
#include "app/settings/settings_file.h"

namespace kaimo::texts {

inline constexpr const char* kThinking = "思考中です";
inline constexpr const char* kNormalRead = "通常読み";
inline constexpr const char* kExactRead = "完全読み";
inline constexpr const char* kWinRead = "必勝読み……";
inline constexpr const char* kWinProven = "勝ちを読切り";
inline constexpr const char* kDrawProven = "引分を読切り";
inline constexpr const char* kLossProven = "負けを読切り";
inline constexpr const char* kStopped = "停止";
inline constexpr const char* kGameOver = "終了";
inline constexpr const char* kCannotPlayThere = "そこには打てません。";
inline constexpr const char* kStartFirst = "対局を開始してください。";
inline constexpr const char* kEvalError = "評価函数でエラーが起きました。\n詳しくはerrorlog.txtをご覧ください。";
inline constexpr const char* kAnalysing = "終盤解析";
inline constexpr const char* kAnalysisDone = "完了";
inline constexpr const char* kAnalysisRefused = "空きの数が40以上あるので、終盤解析はできません。";
inline constexpr const char* kAnalysisNoMove = "打てる手がないので、終盤解析はできません。";
inline constexpr const char* kEvaluationHeading = "黒から見た評価値";
inline constexpr const char* kEditing = "盤面編集";
inline constexpr const char* kHint = "ヒント";
inline constexpr const char* kBookMove = "定石";
inline constexpr const char* kClearBoardQuestion = "盤面をクリアしてゲーム開始時の状態に戻します。よろしいですか？";
inline constexpr const char* kFoxDataMissing = "狐のデータファイルが読めません。";
inline constexpr const char* kUnsavedGameQuestion = "保存されていない対局があります。保存しますか？";

// "黒はパスです。" or "白はパスです。"
std::string passText(int side);
// "黒%d石" and "白%d石"
std::string blackCountText(int discs);
std::string whiteCountText(int discs);
// "終了 黒%d石 白%d石"
std::string gameOverText(int black, int white);
// A score in discs with sign and two decimals: 500 gives "+0.50".
std::string evaluationText(int value);
// "%ld%% %ldKLeaf/sec %ldmsec"
std::string progressText(std::int64_t percent, std::int64_t kiloLeavesPerSecond, std::int64_t milliseconds);
// "%6.2lf%%完了 %ld sec": the endgame analysis's share of moves solved and
// its whole seconds so far.
std::string analysisProgressText(double percent, std::int64_t seconds);
// What gave a value, and so its unit: discs for a read to the end, the
// book's games and the network of "狐"; points of its own for the simple
// evaluation, also where it stands in for "狐" (above 84 empty squares,
// where "狐" has no network), which the text then says.
struct ValueSource {
  constexpr ValueSource(bool discs, bool simpleStandsIn = false) : inDiscs(discs), standIn(simpleStandsIn) {}
  bool inDiscs;
  bool standIn;
};
// The values of `routine`, read to the end or not, whose evaluated
// positions have `leafEmpties` empty squares.
ValueSource valueSource(int routine, bool exact, int leafEmpties);
// The values the column beside the board shows for `thinking`.
ValueSource sourceOf(const ThinkingDisplay& thinking);
// A value with its unit: "+3.25石", "+177.00点", or "-3.00点（狸の評価）"
// where the simple evaluation stands in for "狐".
std::string valueText(int value, ValueSource source);
// "最善手 f10 +3.25石": the best square of a hint or an analysis, written
// as the board labels it, and its value.
std::string hintText(int square, int value, ValueSource source);
// "定石 最善手 f10 +3.25石": the same from the opening book.
std::string bookHintText(int square, int value);
// "定石 +3.25": a computer move from the book, with the book's value.
std::string bookMoveText(int value);
// What the window says at start about a settings file `path` it could not
// use: why, that the defaults serve, and where the file went (or that it
// was left alone and this run's settings will not be kept). The message
// box shows it as it is; errorlog.txt gets it on one line.
std::string settingsAtStartText(const std::string& path, const SettingsAtStart& start);
// One line of the evaluation values: the routine's name and the score with
// its unit ("狐 +1.25石", "狸 -177.00点（…）", or for "狐" in the opening
// "狐 -3.00点（狸の評価で…）"), or "%s error\n" when the evaluation failed.
std::string evaluationLine(const char* routineName, int score, ValueSource source);
// "検討を止めています 42/96手": the review turned off before it read the game.
std::string reviewPausedText(std::size_t read, std::size_t total);
// The computer's thinking for the column beside the board: who thinks and
// how deep, the value with its depth, and the line of best moves written as
// the board labels the squares; empty when there is nothing to show.
std::string thinkingText(const ThinkingDisplay& thinking);

}  // namespace kaimo::texts
