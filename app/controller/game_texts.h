// Everything the game controller says to the user, in the panes of the status
// bar or in a message box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/controller/evaluation_track.h"

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
inline constexpr const char* kEvaluationHeading = "黒から見た評価値（単位は石）";
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
// "最善手 %s %+.2lf": the hint's best square and its value in discs.
std::string hintText(int square, int value);
// "定石 最善手 %s %+.2lf": the same from the opening book.
std::string bookHintText(int square, int value);
// "定石 %+.2lf": a computer move from the book, with the book's value.
std::string bookMoveText(int value);
// The bad moves of one side after a game: "悪手 黒: 23.f4 -12石  31.c8 -6石",
// or "悪手 黒: なし".
std::string worstMovesText(int colour, const std::vector<MoveDrop>& drops);
// One line of the evaluation values: "%s %+.2lf\n" with the routine's name
// and the score in discs, or "%s error\n" when the evaluation failed.
std::string evaluationLine(const char* routineName, int score);

}  // namespace kaimo::texts
