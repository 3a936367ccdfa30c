// The game controller: the position, the side to move, the history with its
// cursor, the mode, and the turn loop that asks a human for a click or starts
// the worker for a computer side. It runs on the window thread, moved on by
// a 100 ms tick, and reaches the window only through ControllerWindow.
//
// It owns its four workers (the computer's move, the endgame analysis, the
// hint and the review), hands each job a copy of what it reads, and reads
// their progress and results on its tick; no worker thread reaches the
// controller or the window.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/controller/controller_window.h"
#include "app/controller/review_job.h"
#include "app/controller/search_line.h"
#include "app/controller/study_workers.h"
#include "app/controller/think_worker.h"
#include "app/controller/view_mode.h"
#include "app/records/history.h"
#include "app/records/record_reader.h"
#include "app/review/game_review.h"
#include "app/settings/player_settings.h"
#include "engine/book/opening_book.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_analysis.h"
#include "engine/search/search_driver.h"

namespace kaimo {

// What an editing click can land on besides a square (the view's point
// mapping gives the same numbers).
constexpr int kEditBlackIndicator = -10;
constexpr int kEditWhiteIndicator = -11;
constexpr int kEditNowhere = -1;

class GameController {
 public:
  // `settings` is read at every turn, so a change takes effect at the next one.
  GameController(PlayerSettings& settings, ControllerWindow& window);
  // The workers stop their jobs without a word to the window (which is
  // going away) and are joined before the rest of the controller goes.
  ~GameController() = default;
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  const Board& board() const { return board_; }
  int side() const { return side_; }
  ViewMode mode() const { return mode_; }
  int cursor() const { return cursor_; }
  const History& history() const { return history_; }
  // SCORE_NONE where nothing is shown.
  const SquareValues& squareValues() const { return squareValues_; }
  PlayerSettings& settings() { return settings_; }

  // The routine of `colour`; an index outside the routine table counts as a human.
  int routineOf(int colour) const;
  bool isHumanToMove() const { return routineOf(side_) == kHumanRoutine; }
  // The square framed as the last move: the one played into the history
  // position shown, carried along by the board transforms; -1 for none.
  int lastMove() const { return lastMove_; }
  // Squares drawn highlighted: the legal moves of a human to move, every
  // square while editing, none otherwise.
  MoveMarks highlightMarks() const;

  // The initial position as a one-entry history. Neither stops a worker nor
  // changes the mode.
  void newGame();
  // Plays `square` for the side to move, cutting any later history; false
  // (nothing changed) when the move is illegal.
  bool playMove(int square);
  // Stops the game and shows entry `index` of the history; ignored outside it.
  void goToPosition(int index);
  // For the game record reader, which then calls goToPosition(0).
  void clearHistory() { history_.clear(); }
  void appendHistory(const HistoryEntry& entry) { history_.push_back(entry); }

  // Asks the worker to stop and waits until it has posted; the game is then idle.
  void stopThinking();
  // Pass, end of game, or the start of a human or computer turn.
  void turnStep();
  // The 100 ms tick. A tick arriving while one runs (a message box is open) is dropped.
  void onTimer();

  // The rules that enable the window's commands: every one is asked here.
  bool hasHistory() const { return !history_.empty(); }

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
  // A left click on `square` (0..99) while playing: a human's move.
  void clickSquare(int square);
  // Most commands wait while a transition or the endgame analysis runs.
  bool isBusy() const { return mode_ == ViewMode::Busy; }
  bool isNotBusy() const { return !isBusy(); }

  // --- player settings (the dialog runs between stopThinking and this) ---
  // Takes the edited settings, clearing the reserved words a confirmed dialog clears.
  void applySettings(const PlayerSettings& edited);

  // --- the opening book ---
  // While the book is on and the position is in it, a computer side that
  // reads normally plays one of the book's close moves at once (at random,
  // seeded from the time) instead of searching, and the hint shows the
  // book's values. No book (null) or the book off: always a search.
  void setOpeningBook(std::shared_ptr<const OpeningBook> book) { book_ = std::move(book); }
  void setBookEnabled(bool on) { bookEnabled_ = on; }
  bool bookEnabled() const { return bookEnabled_; }

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
  // position; the best one is hintMove() when it is done. A game where a
  // human is to move goes on: the human's click plays, and the values go
  // with any change of the position. Otherwise the game is stopped first.
  // In the book, the book's values at once.
  void startHint();
  // Not while the computer is to move in a running game, nor while Busy.
  bool canHint() const;
  // The square the finished hint or endgame analysis found best, -1 when
  // none is shown.
  int hintMove() const { return hintMove_; }

  // --- the game as a whole ---
  // The review of the game's moves, read on its own worker as the game goes.
  const GameReview& review() const { return review_; }
  // The evaluation graph: one point per history entry, black's point of
  // view: the review's value of the best move.
  std::vector<GraphPoint> graphPoints() const { return review_.points(history_); }
  // Once the history ends the game: the summary of each side's costliest
  // moves, or how far the review has come; empty before.
  std::string reviewSummary() const;
  // Turning the review off stops its reads at once; on, it reads on.
  void setReviewing(bool on);
  // The depth and reach of the review's reads (kDefaultReviewSettings to
  // begin with); what was read with other settings is forgotten.
  void setReviewSettings(const ReviewSettings& settings);
  // What the computer thinks or thought last, for the column beside the board.
  const ThinkingDisplay& thinking() const { return thinking_; }

  // --- navigation, board transforms and editing ---
  void goBack() { goToPosition(cursor_ - 1); }
  void goForward() { goToPosition(cursor_ + 1); }
  void goToFirst() { goToPosition(0); }
  void goToLast() { goToPosition(static_cast<int>(history_.size()) - 1); }
  bool canGoBack() const { return !isBusy() && cursor_ > 0; }
  bool canGoForward() const { return !isBusy() && cursor_ < static_cast<int>(history_.size()) - 1; }
  // Stops the game and, if the user agrees, starts afresh (not playing).
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
  // fault; one that cannot be opened changes nothing. Both are told.
  void openRecord();
  // The same for a file already chosen (the recent files). False when it
  // cannot be opened; true otherwise, also when the user kept the game.
  bool openRecordFile(const std::string& path);
  // Stops the game, asks for a file and writes the game to it; a failure
  // leaves any previous file as it was and is told. True once written.
  // The whole history is written, unless the board was changed by hand (or
  // turned) and not played from: then the record ends with that board in
  // place of the history position it was made from, the later moves are
  // left out (as playing a move from it would cut them) and the history
  // becomes what was saved.
  bool saveRecord();
  // The file the game was last read from or saved to (file-system
  // encoding); empty for a new game.
  const std::string& recordPath() const { return recordPath_; }
  // Moves played, or a board changed by hand, since the game was last
  // opened, saved or cleared.
  bool hasUnsavedGame() const;
  // Before the game is thrown away: when it has unsaved work, stops it and
  // asks whether to save. True when the game may go (nothing unsaved, No,
  // or Yes and saved); false for Cancel or a save that did not happen.
  bool mayDiscardGame();
  // The whole history as a game record's text (for the clipboard).
  std::string recordText() const;
  // Stops the game and reads `text` (a game record or a plain move list) as
  // a new game, with the question and the messages of opening a file.
  void pasteRecord(const std::string& text);

 private:
  SideSettings sideSettingsOf(int colour) const;
  void finishGame();
  void pass();
  void startComputerTurn();
  bool playFromBook();
  std::vector<BookMove> bookMovesHere() const;
  void showBookHint(const std::vector<BookMove>& moves);
  void startHumanTurn();
  void tickPlaying();
  void becomeIdle();
  // Clears the values on the board and stops a hint still valuing; its
  // text in pane 0 goes with it.
  void clearSquareValues();
  // Plays a move the tick found posted, by a click or by the computer.
  void playPosted(int square);
  void forwardThinkProgress();
  void beginStudy(const char* paneText);
  void startValuesClock();
  std::optional<ValuesResult> followValues(ValuesWorker& worker);
  void tickAnalysis();
  void tickHint();
  void showBestMove(bool inDiscs);
  void showAnalysisClock(int done);
  // The review's reads: collected and asked for at every tick.
  void updateReview();
  bool collectReviewReads();
  bool reviewBatchWanted(const std::vector<ReviewRequest>& wanted) const;
  void startReviewBatch(std::vector<ReviewRequest> positions);
  void stopReview();
  void clearThinking();
  int takeBackTarget() const;
  bool againstComputer() const;
  bool gameGoesOn() const;
  // Every pane text goes through here, so a text can be taken back when
  // the state it describes ends.
  void setPane(int pane, const std::string& text);
  void clearPaneIf(int pane, const std::string& text);
  void tellEvalError();
  void transformBoard(void (*transform)(Board&, const Board&));
  bool boardIsHistorys() const;
  History historyToSave() const;
  void takeRecord(History history, const std::string& path);

  PlayerSettings& settings_;
  ControllerWindow& window_;
  History history_;
  int cursor_ = 0;
  Board board_{};
  int side_ = kBlack;
  ViewMode mode_ = ViewMode::Idle;
  SquareValues squareValues_{};
  int lastMove_ = -1;
  // Moves were played since the game was opened, saved or cleared.
  bool movesUnsaved_ = false;
  std::string recordPath_;

  // The move played at the next tick: the human's click (a second click
  // before the tick replaces the first) or the computer's move from the
  // book; -1 for none.
  int postedSquare_ = -1;
  std::shared_ptr<const OpeningBook> book_;
  bool bookEnabled_ = true;
  std::mt19937_64 bookRandom_;
  bool hintInDiscs_ = false;  // the hint's values are final margins, or a routine's own points
  int hintMove_ = -1;
  std::string hintPaneText_;  // what pane 0 says about the hint, while it does
  ThinkingDisplay thinking_;
  // The running analysis or hint as the window sees it: when it began, how
  // many moves it has to value, how many are valued, and the whole second
  // and count last shown in pane 0.
  std::chrono::steady_clock::time_point analysisStart_{};
  int analysisMoves_ = 0;
  int valuesDone_ = 0;
  std::int64_t analysisSecondShown_ = 0;
  int analysisDoneShown_ = 0;
  std::array<std::string, 3> paneTexts_;
  // The square an editing drag changed last; kEditNowhere after a release.
  int lastEditSquare_ = kEditNowhere;
  GameReview review_;
  // The positions the review's job was given, and how many have come back.
  std::vector<ReviewRequest> reviewBatch_;
  std::size_t reviewBatchRead_ = 0;
  bool reviewing_ = true;
  bool ticking_ = false;
  // Seeds each computer move's draw of the progress reports that refresh pane 0.
  std::minstd_rand seeds_;

  // Declared last, so their threads are joined before anything else goes.
  ThinkWorker think_;
  ValuesWorker analysis_;
  ValuesWorker hint_;
  ReviewWorker reviewer_;
};

}  // namespace kaimo
