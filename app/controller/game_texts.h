// Everything the game controller says to the user, in the panes of the status
// bar or in a message box: its part of the catalogue (app/texts/text.h).
// Each text is made in both languages, and the window shows the one the
// user chose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/controller/search_line.h"
#include "app/settings/settings_file.h"
#include "app/settings/strength_levels.h"
#include "app/settings/time_settings.h"
#include "app/texts/text.h"

namespace kaimo::texts {

inline constexpr Text kThinking{"思考中です", "Thinking"};
inline constexpr Text kNormalRead{"通常読み", "Normal read"};
inline constexpr Text kExactRead{"完全読み", "Exact read"};
inline constexpr Text kWinRead{"必勝読み……", "Reading for a win…"};
inline constexpr Text kWinProven{"勝ちを読切り", "Win proven"};
inline constexpr Text kDrawProven{"引分を読切り", "Draw proven"};
inline constexpr Text kLossProven{"負けを読切り", "Loss proven"};
inline constexpr Text kStopped{"停止", "Stopped"};
inline constexpr Text kGameOver{"終了", "Game over"};
inline constexpr Text kCannotPlayThere{"そこには打てません。", "You cannot play there."};
inline constexpr Text kStartFirst{"対局を開始してください。", "Start the game first."};
inline constexpr Text kEvalError{"評価函数でエラーが起きました。\n詳しくはerrorlog.txtをご覧ください。",
                                 "The evaluation function failed.\nSee errorlog.txt for the details."};
inline constexpr Text kAnalysing{"終盤解析", "Endgame analysis"};
inline constexpr Text kAnalysisDone{"完了", "Done"};
inline constexpr Text kAnalysisRefused{"空きの数が40以上あるので、終盤解析はできません。",
                                       "With 40 or more empty squares the endgame cannot be analysed."};
inline constexpr Text kAnalysisNoMove{"打てる手がないので、終盤解析はできません。",
                                      "There is no move to play, so the endgame cannot be analysed."};
inline constexpr Text kEvaluationHeading{"黒から見た評価値", "Evaluation from Black's side"};
inline constexpr Text kEditing{"盤面編集", "Editing the board"};
inline constexpr Text kHint{"ヒント", "Hint"};
inline constexpr Text kBookMove{"定石", "Book"};
inline constexpr Text kClearBoardQuestion{"盤面をクリアしてゲーム開始時の状態に戻します。よろしいですか？",
                                          "Clear the board and go back to the starting position?"};
inline constexpr Text kFoxDataMissing{"狐のデータファイルが読めません。", "The data files of Fox cannot be read."};
inline constexpr Text kTimeUp{"時間切れ", "Out of time"};
inline constexpr Text kUnsavedGameQuestion{"保存されていない対局があります。保存しますか？",
                                           "This game has not been saved. Save it?"};
inline constexpr Pattern kHintReader{"（%sの読み）", " (read by %s)"};
inline constexpr Pattern kKeptGameQuestion{
    "前回は正しく終了しなかったため、そのときの対局（%d手）が残っています。復元しますか？",
    "Kaimo did not end cleanly last time; its game (%d moves) was kept. Restore it?"};
inline constexpr Text kKeptGameDamaged{"前回の対局の控えが壊れているため、復元できません。",
                                       "The game kept from last time is damaged and cannot be restored."};
inline constexpr Text kKeptGameRemoved{"\n（削除しました）", "\n(It was removed.)"};

// The colours' names: "黒" and "白".
const Text& colourName(int colour);
// The routines' names in the window, row by row of the routine table:
// "人間", "狸", "狐" (the table's own names) and their English names. An
// index outside the table has no name.
const Text& routineName(int routine);
// "（狐の読み）": which routine read a human's hint.
Wording hintReaderText(int routine);

// "黒はパスです。" or "白はパスです。"
Wording passText(int side);
// "黒の時間切れです。白の勝ちです。"
Wording timeLossText(int side);
// Who plays a colour and at what: "狐 レベル11", "狸 深さ6/13/0",
// "人間 持ち時間10分+5秒", "狐 1手2.5秒". `level` 0: the depths (normal,
// exact, win) of a computer are shown instead.
Wording playerText(int routine, bool computer, int level, LevelDepths depths, const SideTime& time);
// A clock: time left ("9:58", under 20 s with tenths, "0:07.4"; below 0
// once it ran out, "-0:03"), or the time used by a side by depth ("消費
// 1:23").
Wording clockText(TimeMode mode, std::int64_t ms);
// "黒%d石" and "白%d石"
Wording blackCountText(int discs);
Wording whiteCountText(int discs);
// "終了 黒%d石 白%d石"
Wording gameOverText(int black, int white);
// A score in discs with sign and two decimals: 500 gives "+0.50".
std::string evaluationText(int value);
// "%ld%% %ldKLeaf/sec %ldmsec"
std::string progressText(std::int64_t percent, std::int64_t kiloLeavesPerSecond, std::int64_t milliseconds);
// "%6.2lf%%完了 %ld sec": the endgame analysis's share of moves solved and
// its whole seconds so far.
Wording analysisProgressText(double percent, std::int64_t seconds);
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
Wording valueText(int value, ValueSource source);
// "最善手 f10 +3.25石": the best square of a hint or an analysis, written
// as the board labels it, and its value.
Wording hintText(int square, int value, ValueSource source);
// "定石 最善手 f10 +3.25石": the same from the opening book.
Wording bookHintText(int square, int value);
// "定石 +3.25石": a computer move from the book, with the book's value.
Wording bookMoveText(int value);
// What the window says at start about a settings file `path` it could not
// use: why, that the defaults serve, and where the file went (or that it
// was left alone and this run's settings will not be kept). The message
// box shows it as it is; errorlog.txt gets it on one line.
Wording settingsAtStartText(const std::string& path, const SettingsAtStart& start);
// One line of the evaluation values: the routine's name and the score with
// its unit ("狐 +1.25石", "狸 -177.00点（…）", or for "狐" in the opening
// "狐 -3.00点（狸の評価で…）"), or "%s error\n" when the evaluation failed.
Wording evaluationLine(int routine, int score, ValueSource source);
// "検討を止めています 42/96手": the review turned off before it read the game.
Wording reviewPausedText(std::size_t read, std::size_t total);
// "前回は正しく終了しなかったため、そのときの対局（%d手）が残っています。復元しますか？"
Wording keptGameQuestion(int moves);
// The kept game of the last run is damaged: said with the file and where
// it was moved (or that it was removed, when `keptAs` is empty).
Wording keptGameDamagedText(const std::string& path, const std::string& keptAs);
// The computer's thinking for the column beside the board: who thinks and
// how deep, the value with its depth, and the line of best moves written as
// the board labels the squares; empty when there is nothing to show.
Wording thinkingText(const ThinkingDisplay& thinking);

}  // namespace kaimo::texts
