// The game controller: the mode and the turn loop that asks a human for a
// click or has the computer search, and every command of the window. It
// runs on the window thread, moved on by a 100 ms tick, and reaches the
// window only through ControllerWindow.
//
// Its state is kept by parts that own it: the game and its history (Game),
// the texts of the status panes (StatusPanes), the opening book's moves
// (BookPlayer), the computer's search (ComputerPlayer), the values of the
// analysis and the hint (StudySession) and the review of the game's moves
// (ReviewSession). The parts with workers hand each job a copy of what it
// reads; the controller reads their progress and results on its tick, and
// no worker thread reaches the controller or the window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/controller/book_player.h"
#include "app/controller/computer_player.h"
#include "app/controller/controller_window.h"
#include "app/controller/game.h"
#include "app/controller/game_clocks.h"
#include "app/controller/kept_game.h"
#include "app/controller/review_session.h"
#include "app/controller/status_panes.h"
#include "app/controller/study_session.h"
#include "app/controller/view_mode.h"
#include "app/settings/player_settings.h"
#include "app/settings/time_settings.h"
#include "engine/eval/routines.h"
#include "engine/search/search_driver.h"

namespace kaimo {

// What an editing click can land on besides a square (the view's point
// mapping gives the same numbers).
constexpr int kEditBlackIndicator = -10;
constexpr int kEditWhiteIndicator = -11;
constexpr int kEditNowhere = -1;

// Milliseconds on the wall clock; the clocks of the game run on it.
std::int64_t wallClockMs();

class GameController {
 public:
  using MsClock = std::function<std::int64_t()>;
  // `settings` is read at every turn, so a change takes effect at the next
  // one. The game's clocks read `clock` (a test's own, or the wall clock).
  GameController(PlayerSettings& settings, ControllerWindow& window, MsClock clock = wallClockMs);
  // The parts' workers stop their jobs without a word to the window (which
  // is going away) and are joined before the rest of the controller goes.
  ~GameController() = default;
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  // --- the parts, for the window to show and to switch ---
  const Game& game() const { return game_; }
  const StudySession& study() const { return study_; }
  const ComputerPlayer& computer() const { return computer_; }
  ReviewSession& review() { return review_; }
  const ReviewSession& review() const { return review_; }
  // The review's summary of a game that has ended, while it is not going on
  // again (after "待った" it is); stepping through it keeps the summary.
  // Each named move goes through `mark` (see texts::reviewSummaryLines).
  texts::Wording gameSummary(const texts::MoveMark& mark = nullptr) const;
  BookPlayer& book() { return book_; }
  const BookPlayer& book() const { return book_; }

  ViewMode mode() const { return mode_; }
  PlayerSettings& settings() { return settings_; }
  // The routine of `colour`; an index outside the routine table counts as a human.
  int routineOf(int colour) const;
  bool isHumanToMove() const { return routineOf(game_.side()) == kHumanRoutine; }
  // Squares drawn highlighted: the legal moves of a human to move, every
  // square while editing, none otherwise.
  MoveMarks highlightMarks() const;

  // Stops the game and shows entry `index` of the history; ignored outside it.
  void goToPosition(int index);
  // For the game record reader, which then calls goToPosition(0).
  void clearHistory() { game_.clearHistory(); }
  void appendHistory(const HistoryEntry& entry) { game_.appendHistory(entry); }

  // Asks the workers to stop and waits until they have; the game is then idle.
  void stopThinking();
  // Pass, end of game, or the start of a human or computer turn.
  void turnStep();
  // The 100 ms tick. A tick arriving while one runs (a message box is open) is dropped.
  void onTimer();

  // The rules that enable the window's commands: every one is asked here.
  bool hasHistory() const { return !game_.history().empty(); }

  // Command "対局を開始": the next tick starts the turn. Only when canStart().
  // The texts left by the state before (stopped, finished, a hint) go.
  void start();
  bool canStart() const { return mode_ == ViewMode::Idle || mode_ == ViewMode::Editing; }
  // Command "一時停止".
  void pause() { stopThinking(); }
  // Command "待った": in a game of a human against the computer, back to the
  // human's turn before and the game goes on; otherwise one move back (a
  // game of two humans goes on too).
  void takeBack();
  bool canTakeBack() const { return takeBackTarget() >= 0; }
  // Command "やり直し": forward again to where the latest "待った" came
  // from, while no move has been played since; the game goes on (or stays
  // stopped) as after "待った".
  void redo();
  bool canRedo() const;
  // Command "黒白交代": black's player becomes white's and white's black's.
  // A running game goes on with the swapped players: a computer now to move
  // starts thinking, a search for the side that is no longer the
  // computer's stops.
  void swapSides();
  // A left click on `square` (0..99) while playing: a human's move.
  void clickSquare(int square);
  // Most commands wait while a transition or the endgame analysis runs.
  bool isBusy() const { return mode_ == ViewMode::Busy; }
  bool isNotBusy() const { return !isBusy(); }

  // --- player settings (the dialog runs between stopThinking and this) ---
  // Takes the edited settings, clearing the reserved words a confirmed dialog clears.
  void applySettings(const PlayerSettings& edited);
  // Each side's time (the window keeps it in its preferences); the clocks
  // start afresh with it.
  void applyTimes(const TimeSettings& times);
  const TimeSettings& times() const { return times_; }

  // --- the side panel: who plays each colour, at what, and the clocks ---
  const GameClocks& clocks() const { return clocks_; }
  std::int64_t nowMs() const { return clock_(); }
  // "狐 レベル11", "人間 持ち時間10分+5秒".
  texts::Wording playerText(int colour) const;
  // The side's clock as the panel shows it: time left, or time used by a
  // side by depth.
  texts::Wording clockText(int colour) const;
  // The colour that lost on time in the game shown, or -1.
  int lostOnTime() const { return lostOnTime_; }

  // --- study ---
  // Command "評価値": every computer routine's score of the position in a
  // message. Does not stop a running game.
  void showEvaluationValues();
  // Command "終盤解析": refused with a message at kAnalysisEmptyLimit empty
  // squares; otherwise stops the game and solves every legal move on a
  // worker, the values appearing square by square, the mode Busy meanwhile.
  void startAnalysis();
  // Command "ヒント": values every legal move of the side to move on a
  // worker, each read as deep as a computer turn of that side would read the
  // position; the best one is study().bestSquare() when it is done. A game
  // where a human is to move goes on: the human's click plays, and the
  // values go with any change of the position. Otherwise the game is
  // stopped first. In the book, the book's values at once.
  void startHint();
  // Not while the computer is to move in a running game, nor while Busy.
  bool canHint() const;

  // --- navigation, board transforms and editing ---
  void goBack() { goToPosition(game_.cursor() - 1); }
  void goForward() { goToPosition(game_.cursor() + 1); }
  void goToFirst() { goToPosition(0); }
  void goToLast() { goToPosition(game_.lastIndex()); }
  bool canGoBack() const { return !isBusy() && game_.cursor() > 0; }
  bool canGoForward() const { return !isBusy() && game_.cursor() < game_.lastIndex(); }
  // Stops the game and, if the user agrees, starts afresh (not playing); a
  // game with unsaved work is offered to be saved first (mayDiscardGame).
  void clearBoard();
  // A quarter turn clockwise, or the reflection in the diagonal through the
  // top-left and bottom-right corners; only the board changes.
  void rotateBoard();
  void mirrorBoard();
  // Enters editing (stopping the game) or leaves it.
  void toggleEditing();
  // The mouse while editing: `target` is a square, kEditBlackIndicator,
  // kEditWhiteIndicator or kEditNowhere. A drag toggles each square once as
  // the pointer enters it.
  void leftEdit(int target);
  void rightEdit(int target);
  // A button was released (in any mode): the next edit toggles again.
  void endEditStroke() { lastEditSquare_ = kEditNowhere; }
  int lastEditSquare() const { return lastEditSquare_; }

  // --- game records ---
  // Stops the game, asks for a file and reads it: the window then shows its
  // first position. A file that breaks off keeps what was read before the
  // fault; one that cannot be opened, or has not one token of a record,
  // changes nothing. Each is told.
  void openRecord();
  // The same for a file already chosen (the recent files). False when it
  // cannot be opened or is no record; true otherwise, also when the user
  // kept the game.
  bool openRecordFile(const std::string& path);
  // Stops the game, asks for a file and writes Game::historyToSave to it
  // (which the history then becomes); a failure leaves any previous file
  // as it was and is told. True once written.
  bool saveRecord();
  // Before the game is thrown away: when it has unsaved work, stops it and
  // asks whether to save. True when the game may go (nothing unsaved, No,
  // or Yes and saved); false for Cancel or a save that did not happen.
  bool mayDiscardGame();
  // The game on screen and the players, as a run that ends uncleanly
  // leaves them for the next one; kept while the game has unsaved work.
  KeptGame keptGame() const;
  bool hasUnsavedGame() const { return game_.hasUnsavedGame(); }
  // Stops the game and takes a kept game back, players included; the
  // window then shows the position it showed.
  void restoreGame(const KeptGame& kept);
  // The whole history as a game record's text (for the clipboard).
  std::string recordText() const;
  // Stops the game and reads `text` (a game record or a plain move list) as
  // a new game, with the question and the messages of opening a file.
  void pasteRecord(const std::string& text);

 private:
  SideSettings sideSettingsOf(int colour) const;
  void finishGame();
  void pass();
  void clearFinalCount();
  void startComputerTurn();
  bool playFromBook();
  void startHumanTurn();
  void tickPlaying();
  void tickAnalysis();
  void becomeIdle();
  // Plays a move the tick found posted, by a click or by the computer.
  void playPosted(int square);
  int takeBackTarget() const;
  // Whether a game that steps back or forward by "待った" or "やり直し" goes on.
  bool goesOnAfterStep() const;
  // After "待った" or "やり直し" has shown its position: the turn there when `goesOn`.
  void continueAfterStep(bool goesOn);
  bool againstComputer() const;
  bool gameGoesOn() const;
  void tellEvalError();
  void transformBoard(void (*transform)(Board&, const Board&));
  void takeRecord(History history, const std::string& path);
  // The human to move has run out of time (the switch is on): the game ends.
  void loseOnTime(int side);
  // The budget of a timed side's move now; none for a side by depth.
  std::optional<MoveBudget> budgetOf(int side) const;

  PlayerSettings& settings_;
  ControllerWindow& window_;
  ViewMode mode_ = ViewMode::Idle;
  // The move played at the next tick: the human's click (a second click
  // before the tick replaces the first) or the computer's move from the
  // book; -1 for none.
  int postedSquare_ = -1;
  // The square an editing drag changed last; kEditNowhere after a release.
  int lastEditSquare_ = kEditNowhere;
  bool ticking_ = false;
  TimeSettings times_{};
  MsClock clock_;
  GameClocks clocks_;
  // The clocks start afresh at the next start (a new game, new times, a
  // game that ended).
  bool clocksSpent_ = true;
  int lostOnTime_ = -1;

  Game game_;
  StatusPanes panes_;
  BookPlayer book_;
  // The parts with workers, declared last, so their threads are joined
  // before anything else goes.
  ComputerPlayer computer_;
  StudySession study_;
  ReviewSession review_;
};

}  // namespace kaimo
