// The window's own texts, beside those of its commands (the command table)
// and of the controller (app/controller/game_texts.h): its part of the
// catalogue (app/texts/text.h).
#pragma once

#include "app/texts/text.h"

namespace kaimo::texts {

// The file dialogs.
inline constexpr Text kOpenRecordTitle{"棋譜を開く", "Open Record"};
inline constexpr Text kSaveRecordTitle{"棋譜を保存", "Save Record"};
inline constexpr Text kSavePictureTitle{"盤面を画像で保存", "Save Board as Picture"};
// Text files first, then everything.
inline constexpr Text kRecordFileFilter{"テキストファイル(*.txt);;全てのファイル(*.*)",
                                        "Text files (*.txt);;All files (*.*)"};
inline constexpr Text kPictureFileFilter{"PNG画像(*.png)", "PNG pictures (*.png)"};
// The file and the system's reason follow.
inline constexpr Pattern kPictureNotSaved{"画像を保存できませんでした。\n%s: %s", "The picture could not be saved.\n%s: %s"};

// The board view's panel: a colour's discs, the count in two places.
inline constexpr Pattern kPanelDiscCount{"%2d石", "%2d discs"};

// The about box.
inline constexpr Text kAboutTitle{"Kaimoのﾊﾞｰｼﾞｮﾝ情報", "About Kaimo"};

// A dialog's number field that is not right.
inline constexpr Text kNotAnInteger{"整数を入力してください。", "Enter a whole number."};
inline constexpr Pattern kIntegerOutOfRange{"%d から %d までの整数を入力してください。",
                                            "Enter a whole number from %d to %d."};

// The player settings dialog. Each side's labels keep their keys in both
// languages.
inline constexpr Text kPlayersTitle{"対局者設定", "Players"};
inline constexpr Text kOk{"OK", "OK"};
inline constexpr Text kCancel{"ｷｬﾝｾﾙ", "Cancel"};
struct SideTexts {
  Text title;
  Text routine;
  Text level;
  Text normalDepth;
  Text winDepth;
  Text exactDepth;
  Text probCut;
  Text cutConfidence;
  Text cutDepthLimit;
  Text cutEmptiesLimit;
};
// Black's, then white's.
inline constexpr SideTexts kSideTexts[2] = {
    {{"黒", "Black"},
     {"思考ルーチン(&A)", "Routine (&A)"},
     {"強さ(&F)", "Strength (&F)"},
     {"通常読みの深さ(&B)", "Normal depth (&B)"},
     {"必勝読みの深さ(&M)", "Win-read depth (&M)"},
     {"最終読みの深さ(&C)", "Exact-read depth (&C)"},
     {"ProbCutを使用(&D)", "Use ProbCut (&D)"},
     {"Cut値(&E)", "Cut value (&E)"},
     {"枝刈りする深さ(&O)", "Cut depth (&O)"},
     {"枝刈りをやめる空き(&P)", "No cuts from (&P)"}},
    {{"白", "White"},
     {"思考ルーチン(&H)", "Routine (&H)"},
     {"強さ(&G)", "Strength (&G)"},
     {"通常読みの深さ(&I)", "Normal depth (&I)"},
     {"必勝読みの深さ(&N)", "Win-read depth (&N)"},
     {"最終読みの深さ(&J)", "Exact-read depth (&J)"},
     {"ProbCutを使用(&K)", "Use ProbCut (&K)"},
     {"Cut値(&L)", "Cut value (&L)"},
     {"枝刈りする深さ(&R)", "Cut depth (&R)"},
     {"枝刈りをやめる空き(&S)", "No cuts from (&S)"}},
};
// What the ProbCut controls mean, as their tool tips say.
inline constexpr Text kProbCutTip{
    "狐が、浅い読みの値から深い読みの値を予測して、見込みのない手を深く読まずに枝刈りします。"
    "同じ時間でより深く読めます。狸には効きません。",
    "Fox predicts the value of a deep read from a shallow one and does not read hopeless moves deeply. "
    "It reads deeper in the same time. It does nothing for Tanuki."};
inline constexpr Text kCutConfidenceTip{
    "予測の確かさ：予測のばらつき（標準偏差）の1000分の1を単位とする幅です。大きいほど慎重に刈ります（1500で1.5倍）。",
    "Confidence of the prediction: a width in thousandths of the prediction's spread (standard deviation). "
    "The larger, the more careful the cuts (1500: 1.5 times)."};
inline constexpr Text kCutDepthLimitTip{"残りの深さがこの手数以下の局面でだけ枝刈りを試みます。",
                                        "Cuts are tried only where at most this many moves remain to be read."};
inline constexpr Text kCutEmptiesLimitTip{"空きマスがこの数以下の局面では枝刈りしません。",
                                          "No cuts in positions with this many empty squares or fewer."};
inline constexpr Text kCustomLevel{"個別の設定", "Custom"};
inline constexpr Pattern kLevel{"レベル %d", "Level %d"};
inline constexpr Text kCutUnit{"/1000σ", "/1000σ"};
inline constexpr Text kMovesUnit{"手", "moves"};
inline constexpr Text kSquaresUnit{"マス", "squares"};
inline constexpr Pattern kTimedLevel{"レベル %d（1手%g秒）", "Level %d (%g s a move)"};
// Each side's time: its mode (black's key, then white's), the modes in the
// order of TimeMode, its three fields and the switch of losing on time.
inline constexpr Text kTimeModeLabel[2] = {{"時間(&T)", "Time (&T)"}, {"時間(&U)", "Time (&U)"}};
inline constexpr Text kTimeModes[3] = {
    {"深さで読む", "By depth"}, {"1手の時間", "Time a move"}, {"持ち時間", "Game clock"}};
inline constexpr Text kPerMoveLabel{"1手の時間", "Time a move"};
inline constexpr Text kClockLabel{"持ち時間", "Game clock"};
inline constexpr Text kIncrementLabel{"1手ごとに加算", "Added a move"};
inline constexpr Text kSecondsUnit{"秒", "s"};
inline constexpr Text kMinutesUnit{"分", "min"};
inline constexpr Text kLoseOnTime{"人間の時間切れは負け(&V)", "A human out of time loses (&V)"};
inline constexpr Text kLoseOnTimeTip{"切ると、時間は数えるだけで、時間切れでも負けになりません。",
                                     "Off: the clock only counts, and running out loses nothing."};

// The column beside the board.
inline constexpr Text kStartPosition{"開始局面", "Start"};
inline constexpr Text kPassRow{"パス", "pass"};
inline constexpr Text kEditRow{"盤面編集", "board edited"};
inline constexpr Text kGraphTip{"対局の検討の評価グラフ：黒から見た石数（上が黒の有利）、赤い点は完全読み",
                                "The review's graph: discs from Black's side (up: Black is better), red dots read "
                                "to the end"};

// The main window.
// What has been typed of a square, in the status bar.
inline constexpr Pattern kTypedSquare{"キー入力 %s", "Typed %s"};
inline constexpr Text kToolBarTitle{"ツールバー", "Toolbar"};
inline constexpr Text kUntitled{"無題", "Untitled"};
// Between the program's name and a word on the data of "狐" in the status bar.
inline constexpr Text kIdleSeparator{"　", " - "};

}  // namespace kaimo::texts
