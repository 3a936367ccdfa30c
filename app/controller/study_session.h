// The study of the position on the board: the values on its squares, from
// the endgame analysis (every legal move read to the end) or the hint
// (every legal move read as deep as the side's computer turn would, or the
// book's values), each on a worker of its own, and the best move they found.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/controller_window.h"
#include "app/controller/game.h"
#include "app/controller/game_texts.h"
#include "app/controller/status_panes.h"
#include "app/controller/study_workers.h"
#include "engine/book/opening_book.h"

namespace kaimo {

class StudySession {
 public:
  StudySession(const Game& game, StatusPanes& panes, ControllerWindow& window);
  // The workers stop their reads and are joined before the rest goes.
  ~StudySession() = default;
  StudySession(const StudySession&) = delete;
  StudySession& operator=(const StudySession&) = delete;

  // SCORE_NONE where nothing is shown.
  const SquareValues& squareValues() const { return squareValues_; }
  // The square the finished hint or endgame analysis found best, -1 when
  // none is shown.
  int bestSquare() const { return bestSquare_; }

  // Clears the values on the board and stops a hint still valuing; its
  // text in pane 0 goes with it.
  void clear();

  // Solves every legal move of the game's position on the analysis worker.
  void startAnalysis();
  // The tick: the analysis's values as they come; its result once, when it
  // has returned (the caller ends the analysis, then shows it).
  std::optional<ValuesResult> followAnalysis();
  void showAnalysis(const ValuesResult& result);
  // Stops the analysis and drops what it left. True when it had failed in
  // the evaluation and nobody has been told yet.
  bool stopAnalysis();

  // Values every legal move of the game's position as a side with
  // `settings` would read it, or shows `bookMoves` (best first) at once.
  // `namesReader`: the best move's text says which routine read it (for a
  // human, who has none of its own).
  void startHint(const SideSettings& settings, const std::vector<BookMove>& bookMoves, bool namesReader = false);
  // The tick: the hint's values as they come, the best one once it is done.
  void tickHint();

 private:
  void showBookHint(const std::vector<BookMove>& moves);
  void startValuesClock();
  std::optional<ValuesResult> followValues(ValuesWorker& worker);
  void showBestMove(texts::ValueSource source);
  void showValuesClock(int done);

  const Game& game_;
  StatusPanes& panes_;
  ControllerWindow& window_;
  SquareValues squareValues_;
  int bestSquare_ = -1;
  texts::ValueSource hintSource_{false};  // what gives the hint's values: their unit
  texts::Wording hintReader_;  // "（狐の読み）" after the best move, or nothing
  texts::Wording hintPaneText_;              // what pane 0 says about the hint, while it does
  // The running analysis or hint as the window sees it: when it began, how
  // many moves it has to value, how many are valued, and the whole second
  // and count last shown in pane 0.
  std::chrono::steady_clock::time_point valuesStart_{};
  int movesToValue_ = 0;
  int valuesDone_ = 0;
  std::int64_t secondShown_ = 0;
  int doneShown_ = 0;
  // Declared last, so their threads are joined before anything else goes.
  ValuesWorker analysis_;
  ValuesWorker hint_;
};

}  // namespace kaimo
