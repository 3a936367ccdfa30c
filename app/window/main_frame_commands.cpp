// Every command of the window, declared once: its text, key, prompt and
// toolbar glyph, what it does and the rule of the controller that enables
// it; then where the menus and the toolbar put them.
#include <QClipboard>
#include <QGuiApplication>
#include <QStatusBar>
#include <QToolBar>

#include "app/window/board_picture.h"
#include "app/window/game_sounds.h"
#include "app/window/main_frame.h"
#include "app/window/study_pane.h"
#include "app/window/window_options.h"

namespace kaimo {

const std::vector<CommandEntry>& CMainFrame::commandTable() {
  using C = Command;
  using G = GameController;
  // One command a row or two, as a table reads best.
  // clang-format off
  static const std::vector<CommandEntry> table = {
      {.command = C::OpenRecord, .text = {"棋譜を開く(&O)", "&Open Record..."}, .keys = "Ctrl+O",
       .prompt = {"棋譜を開きます\n棋譜を開く", "Opens a game record\nOpen Record"},
       .run = [](CMainFrame& f) { f.controller_.openRecord(); }},
      {.command = C::SaveRecord, .text = {"棋譜を保存(&S)", "&Save Record..."}, .keys = "Ctrl+S",
       .prompt = {"棋譜を保存します\n棋譜を保存", "Saves the game record\nSave Record"},
       .run = [](CMainFrame& f) { f.controller_.saveRecord(); }, .enabled = &G::hasHistory},
      {.command = C::CopyRecord, .text = {"棋譜をコピー(&C)", "&Copy Record"}, .keys = "Ctrl+C",
       .prompt = {"棋譜をクリップボードにコピーします\n棋譜をコピー", "Copies the game record to the clipboard\nCopy Record"},
       .run = [](CMainFrame& f) { QGuiApplication::clipboard()->setText(QString::fromStdString(f.controller_.recordText())); }},
      {.command = C::PasteRecord, .text = {"棋譜を貼り付け(&V)", "&Paste Record"}, .keys = "Ctrl+V",
       .prompt = {"クリップボードの棋譜または手順を読み込みます\n棋譜を貼り付け",
                  "Reads a game record or a list of moves from the clipboard\nPaste Record"},
       .run = [](CMainFrame& f) { f.controller_.pasteRecord(QGuiApplication::clipboard()->text().toStdString()); }},
      {.command = C::SaveBoardPicture, .text = {"盤面を画像で保存(&G)...", "Save Board as P&icture..."}, .keys = "Ctrl+I",
       .prompt = {"盤面を座標付きのPNG画像で保存します\n盤面を画像で保存",
                  "Saves the board with its coordinates as a PNG picture\nSave Board as Picture"},
       .run = [](CMainFrame& f) { saveBoardPictureCommand(f.controller_, f.dialogs_); }},
      {.command = C::RecentFiles, .text = {"最近使ったファイル", "Recent Files"}},
      {.command = C::Exit, .text = {"アプリケーションの終了(&X)", "E&xit"},
       .prompt = {"アプリケーションを終了します\n終了", "Quits the application\nExit"},
       .run = [](CMainFrame& f) { f.close(); }},
      {.command = C::PlayerSettings, .text = {"対局者設定(&P)", "&Players..."}, .keys = "Ctrl+Q",
       .prompt = {"思考ルーチン設定\n思考ルーチン設定", "Chooses the players and how deep the computer reads\nPlayers"},
       .glyph = {"設", "P"}, .run = [](CMainFrame& f) { f.showPlayerSettings(); }, .enabled = &G::isNotBusy},
      {.command = C::Start, .text = {"対局を開始(&B)", "&Begin Game"}, .keys = "Ctrl+B",
       .prompt = {"対局を開始\n対局開始", "Begins the game\nBegin Game"}, .glyph = {"始", "B"},
       .run = [](CMainFrame& f) { f.controller_.start(); }, .enabled = &G::canStart},
      {.command = C::Pause, .text = {"一時停止(&S)", "Pau&se"}, .keys = "Ctrl+G", .prompt = {"一時停止\n一時停止", "Pauses the game\nPause"},
       .glyph = {"■", "■"}, .run = [](CMainFrame& f) { f.controller_.pause(); }},
      {.command = C::TakeBack, .text = {"待った(&Z)", "&Take Back"}, .keys = "Ctrl+Z",
       .prompt = {"コンピュータと対局中なら自分の前の手番に戻って続けます\n待った",
                  "Against the computer, goes back to your previous turn and plays on\nTake Back"},
       .glyph = {"待", "T"}, .run = [](CMainFrame& f) { f.controller_.takeBack(); }, .enabled = &G::canTakeBack},
      {.command = C::Redo, .text = {"やり直し(&Y)", "&Redo"}, .keys = "Ctrl+Y",
       .prompt = {"待ったで戻した手を打ち直します\nやり直し", "Plays again the moves taken back\nRedo"},
       .glyph = {"直", "R"}, .run = [](CMainFrame& f) { f.controller_.redo(); }, .enabled = &G::canRedo},
      {.command = C::SwapSides, .text = {"黒白交代(&W)", "S&wap Sides"}, .keys = "Ctrl+W",
       .prompt = {"黒と白の対局者を入れ替えます\n黒白交代", "Swaps the players of Black and White\nSwap Sides"},
       .run = [](CMainFrame& f) { f.controller_.swapSides(); }, .enabled = &G::isNotBusy},
      {.command = C::ClearBoard, .text = {"盤面をクリア(&C)", "&Clear Board"},
       .prompt = {"盤面をクリアして新しいゲームを開始\n盤面をクリア", "Clears the board for a new game\nClear Board"},
       .glyph = {"新", "N"}, .run = [](CMainFrame& f) { f.controller_.clearBoard(); }, .enabled = &G::isNotBusy},
      {.command = C::Previous, .text = {"前へ(&P)", "&Previous"}, .keys = "Left",
       .prompt = {"一手戻る\n一手戻る", "Goes back one move\nPrevious"}, .glyph = {"◀", "◀"},
       .run = [](CMainFrame& f) { f.controller_.goBack(); }, .enabled = &G::canGoBack},
      {.command = C::Next, .text = {"次へ(&N)", "&Next"}, .keys = "Right",
       .prompt = {"一つ次へ移動\n次へ移動", "Goes forward one move\nNext"}, .glyph = {"▶", "▶"},
       .run = [](CMainFrame& f) { f.controller_.goForward(); }, .enabled = &G::canGoForward},
      {.command = C::First, .text = {"最初に移動(&I)", "&First"}, .keys = "Ctrl+Left",
       .prompt = {"最初に戻る\n最初に戻る", "Goes back to the start\nFirst"}, .glyph = {"⏮", "⏮"},
       .run = [](CMainFrame& f) { f.controller_.goToFirst(); }, .enabled = &G::isNotBusy},
      {.command = C::Last, .text = {"最後へ移動(&L)", "&Last"}, .keys = "Ctrl+Right",
       .prompt = {"最後へ移動\n最後へ移動", "Goes to the last move\nLast"}, .glyph = {"⏭", "⏭"},
       .run = [](CMainFrame& f) { f.controller_.goToLast(); }, .enabled = &G::isNotBusy},
      {.command = C::Rotate, .text = {"回転(&T)", "&Rotate"}, .keys = "Ctrl+T",
       .prompt = {"盤面を回転\n盤面を回転", "Turns the board a quarter turn clockwise\nRotate"},
       .run = [](CMainFrame& f) { f.controller_.rotateBoard(); }},
      {.command = C::Mirror, .text = {"裏返し(&U)", "&Mirror"}, .keys = "Ctrl+U",
       .prompt = {"盤面を裏返す\n盤面を裏返す", "Mirrors the board in its diagonal\nMirror"},
       .run = [](CMainFrame& f) { f.controller_.mirrorBoard(); }},
      {.command = C::EditBoard, .text = {"盤面編集(&E)", "&Edit Board"}, .keys = "Ctrl+E",
       .prompt = {"盤面を編集する\n盤面を編集", "Sets discs with the mouse\nEdit Board"}, .glyph = {"編", "E"},
       .run = [](CMainFrame& f) { f.controller_.toggleEditing(); }, .enabled = &G::isNotBusy},
      {.command = C::EvaluationValues, .text = {"評価値(&F)", "Evaluation &Values"}, .keys = "Ctrl+F",
       .prompt = {"現在の盤面の評価値を各ルーチンごとに算出\n評価値を算出",
                  "Evaluates the board with each computer routine\nEvaluation Values"},
       .run = [](CMainFrame& f) { f.controller_.showEvaluationValues(); }, .enabled = &G::isNotBusy},
      {.command = C::EndgameAnalysis, .text = {"終盤解析(&S)", "Endgame &Analysis"}, .keys = "Ctrl+K",
       .prompt = {"終盤解析\n終盤解析", "Reads every move to the end of the game\nEndgame Analysis"}, .glyph = {"解", "A"},
       .run = [](CMainFrame& f) { f.controller_.startAnalysis(); }, .enabled = &G::isNotBusy},
      {.command = C::Hint, .text = {"ヒント(&H)", "&Hint"}, .keys = "Ctrl+H",
       .prompt = {"手番の側の最善手と各手の評価値を表示\nヒント", "Shows the best move and the value of every move\nHint"},
       .glyph = {"ヒ", "H"}, .run = [](CMainFrame& f) { f.controller_.startHint(); }, .enabled = &G::canHint},
      {.command = C::Review, .text = {"対局を検討(&R)", "Review &Game"}, .keys = "Ctrl+R",
       .prompt = {"対局の各手を最善手と比べ、グラフと悪手の一覧に示します\n対局を検討",
                  "Compares each move of the game with the best move, in a graph and a list of the worst\nReview Game"},
       .run = [](CMainFrame& f) { f.controller_.review().setReviewing(f.actions_.at(C::Review)->isChecked()); },
       .toggle = Toggle{true, options::kReview}},
      {.command = C::ToggleToolBar, .text = {"ツールバー(&T)", "&Toolbar"},
       .prompt = {"ツールバーの表示/非表示を切り替えます\nツールバーの表示切り替え", "Shows or hides the toolbar\nToolbar"},
       .run = [](CMainFrame& f) { f.toolBar_->setVisible(f.actions_.at(C::ToggleToolBar)->isChecked()); },
       .toggle = Toggle{true, nullptr}},
      {.command = C::ToggleStatusBar, .text = {"ステータスバー(&S)", "&Status Bar"},
       .prompt = {"ステータスバーの表示/非表示を切り替えます\nステータスバーの表示切り替え", "Shows or hides the status bar\nStatus Bar"},
       .run = [](CMainFrame& f) { f.statusBar()->setVisible(f.actions_.at(C::ToggleStatusBar)->isChecked()); },
       .toggle = Toggle{true, nullptr}},
      {.command = C::ToggleStudyColumn, .text = {"棋譜とグラフ(&G)", "Moves and &Graph"},
       .prompt = {"盤の右の棋譜と評価グラフの表示/非表示を切り替えます\n棋譜とグラフの表示切り替え",
                  "Shows or hides the moves and the graph right of the board\nMoves and Graph"},
       .run = [](CMainFrame& f) { f.studyPane_->setVisible(f.actions_.at(C::ToggleStudyColumn)->isChecked()); },
       .toggle = Toggle{true, options::kStudyColumn}},
      {.command = C::ModelessPassNotices, .text = {"パスの知らせで対局を止めない(&P)", "&Pass Notices Do Not Stop the Game"},
       .prompt = {"パスの知らせを閉じるのを待たずに対局を続けます\nパスの知らせで止めない",
                  "The game goes on without waiting for a pass notice to be closed\nPass Notices Do Not Stop"},
       .run = [](CMainFrame& f) { f.dialogs_.setModelessNotices(f.actions_.at(C::ModelessPassNotices)->isChecked()); },
       .toggle = Toggle{false, options::kModelessPassNotices}},
      {.command = C::UseBook, .text = {"定石を使う(&J)", "Use the Opening &Book"},
       .prompt = {"コンピュータは定石にある局面で定石の手から打ちます\n定石を使う",
                  "In a position of the opening book the computer plays a move of the book\nUse the Opening Book"},
       .run = [](CMainFrame& f) { f.controller_.book().setEnabled(f.actions_.at(C::UseBook)->isChecked()); },
       .toggle = Toggle{true, options::kUseBook}},
      {.command = C::ShowLegalMoves, .text = {"打てる所を示す(&L)", "Show &Legal Moves"},
       .prompt = {"人間の手番で打てる所に印を付けます\n打てる所を示す",
                  "Marks the squares where a human to move can play\nShow Legal Moves"},
       .run = [](CMainFrame& f) { f.view_->setLegalMovesShown(f.actions_.at(C::ShowLegalMoves)->isChecked()); },
       .toggle = Toggle{true, options::kShowLegalMoves}},
      {.command = C::AnimateMoves, .text = {"石の動きを見せる(&M)", "Animate &Moves"},
       .prompt = {"打った石が置かれ、返る石が裏返る様子を短く見せます\n石の動きを見せる",
                  "Shows the placed disc and the discs turning over for a moment\nAnimate Moves"},
       .run = [](CMainFrame& f) { f.view_->setAnimated(f.actions_.at(C::AnimateMoves)->isChecked()); },
       .toggle = Toggle{true, options::kAnimateMoves}},
      {.command = C::PlaySounds, .text = {"音を鳴らす(&O)", "Play S&ounds"},
       .prompt = {"石を打ったとき、パスのとき、対局が終わったときに音を鳴らします\n音を鳴らす",
                  "Plays a sound for a move, a pass and the end of a game\nPlay Sounds"},
       .run = [](CMainFrame& f) { f.sounds_->setEnabled(f.actions_.at(C::PlaySounds)->isChecked()); },
       .toggle = Toggle{true, options::kPlaySounds}},
      {.command = C::JapaneseLanguage, .text = texts::Text::name(texts::languageName(Language::Japanese)),
       .prompt = {"窓を日本語で表示します\n日本語", "Shows the window in Japanese\nJapanese"},
       .run = [](CMainFrame& f) { f.setLanguage(Language::Japanese); }, .language = Language::Japanese},
      {.command = C::EnglishLanguage, .text = texts::Text::name(texts::languageName(Language::English)),
       .prompt = {"窓を英語で表示します\n英語", "Shows the window in English\nEnglish"},
       .run = [](CMainFrame& f) { f.setLanguage(Language::English); }, .language = Language::English},
      {.command = C::About, .text = {"Kaimo のバージョン情報(&A)...", "&About Kaimo..."},
       .prompt = {"プログラムのバージョンを表示します\nバージョン情報", "Shows the program's version\nAbout"},
       .run = [](CMainFrame& f) { f.showAbout(); }},
  };
  // clang-format on
  return table;
}

const std::vector<MenuLayout>& menuBarLayout() {
  using C = Command;
  constexpr C kLine = C::Separator;
  static const std::vector<MenuLayout> layout = {
      {{"ﾌｧｲﾙ(&F)", "&File"},
       {C::OpenRecord, C::SaveRecord, kLine, C::CopyRecord, C::PasteRecord, C::SaveBoardPicture, kLine, C::RecentFiles,
        kLine, C::Exit}},
      {{"設定(&C)", "Se&ttings"}, {C::PlayerSettings, C::SwapSides}},
      {{"ナビゲート(&N)", "&Navigate"},
       {C::Start, C::Pause, C::TakeBack, C::Redo, kLine, C::ClearBoard, kLine, C::Previous, C::Next, C::First, C::Last}},
      {{"研究(&S)", "&Study"},
       {C::Rotate, C::Mirror, C::EditBoard, kLine, C::EvaluationValues, C::EndgameAnalysis, C::Hint, kLine, C::Review}},
      {{"表示(&V)", "&View"},
       {C::ToggleToolBar, C::ToggleStatusBar, C::ToggleStudyColumn, kLine, C::ModelessPassNotices, C::UseBook, kLine,
        C::AnimateMoves, C::PlaySounds, C::ShowLegalMoves},
       {{{"言語(&L)", "&Language"}, {C::JapaneseLanguage, C::EnglishLanguage}}}},
      {{"ﾍﾙﾌﾟ(&H)", "&Help"}, {C::About}},
  };
  return layout;
}

const std::vector<Command>& toolBarLayout() {
  using C = Command;
  constexpr C kLine = C::Separator;
  static const std::vector<Command> layout = {
      C::Last, C::Next,  C::Pause,          C::Previous, C::First,     kLine, C::ClearBoard,
      kLine,   C::Start, C::PlayerSettings, kLine,       C::EditBoard, kLine, C::EndgameAnalysis,
      C::Hint, kLine,    C::TakeBack,       C::Redo,
  };
  return layout;
}

}  // namespace kaimo
