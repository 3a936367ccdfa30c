// The game controller's settings and study commands: applying the dialog's
// settings, the evaluation values, the endgame analysis and the hint.
#include "app/controller/evaluation_values.h"
#include "app/controller/exchange.h"
#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"
#include "app/controller/move_values.h"
#include "engine/book/book_choice.h"

#include <system_error>

namespace kaimo {
namespace {

// Reserved words that a confirmed settings dialog always clears.
constexpr int kClearedOnConfirmWords[] = {5, 6};

int valueCount(const SquareValues& values) {
  int n = 0;
  for (int v : values) n += v != SCORE_NONE;
  return n;
}

int emptyCount(const Board& board) {
  DiscCounts counts;
  boardCount(board, counts);
  return counts[2];
}

}  // namespace

void GameController::applySettings(const PlayerSettings& edited) {
  settings_ = edited;
  for (int word : kClearedOnConfirmWords) settings_[word] = 0;
}

void GameController::showEvaluationValues() {
  window_.showMessage(std::string(texts::kEvaluationHeading) + "\n" + evaluationValuesText(board_, side_));
}

void GameController::startAnalysis() {
  DiscCounts counts;
  boardCount(board_, counts);
  if (counts[2] >= kAnalysisEmptyLimit) {
    window_.showMessage(texts::kAnalysisRefused);
    return;
  }
  if (boardMobility(board_, side_) == 0) {
    window_.showMessage(texts::kAnalysisNoMove);
    return;
  }
  stopThinking();
  // The analysis reuses the table of the computer's turns: the two never run together.
  analysisJob_ = AnalysisJob{board_, side_, routineEvaluator(kSimpleRoutine), exchange().stopToken(),
                             routineEvaluator(kPatternRoutine), &job_.table};
  beginStudy(texts::kAnalysing);
  launchAnalysisWorker();
}

bool GameController::canHint() const {
  if (mode_ == ViewMode::Busy || mode_ == ViewMode::NextTurn) return false;
  return mode_ != ViewMode::Playing || isHumanToMove();
}

void GameController::startHint() {
  if (!canHint()) return;
  // A human to move in a running game keeps the game: the click still plays.
  if (mode_ != ViewMode::Playing) stopThinking();
  clearSquareValues();
  if (const std::vector<BookMove> moves = bookMovesHere(); !moves.empty()) {
    showBookHint(moves);
    return;
  }
  const SideSettings settings = sideSettingsOf(side_);
  hintInDiscs_ = texts::valuesInDiscs(settings.routine, moveValuesDepth(board_, settings) >= emptyCount(board_));
  hint_.start(board_, side_, settings);
  hintRunning_ = true;
  analysisStart_ = std::chrono::steady_clock::now();
  analysisMoves_ = boardMobility(board_, side_);
  analysisSecondShown_ = 0;
  analysisDoneShown_ = 0;
  hintPaneText_ = texts::kHint;
  setPane(kProgressPane, hintPaneText_);
  window_.requestRepaint();
}

std::vector<BookMove> GameController::bookMovesHere() const {
  if (!bookEnabled_ || !book_) return {};
  return bookMovesFor(*book_, board_, side_, sideSettingsOf(side_));
}

// Every move has its value in the book: no search, the best one marked at once.
void GameController::showBookHint(const std::vector<BookMove>& moves) {
  for (const BookMove& move : moves) squareValues_[move.square] = bookValueToScore(move.value);
  hintMove_ = moves.front().square;
  hintPaneText_ = texts::bookHintText(hintMove_, squareValues_[hintMove_]);
  setPane(kProgressPane, hintPaneText_);
  window_.requestRepaint();
}

// The hint's values appear as the worker finds them; once it is done the
// best one is marked and named in pane 0.
void GameController::tickHint() {
  if (!hintRunning_) return;
  HintProgress progress = hint_.progress();
  if (!progress.finished) {
    if (progress.values != squareValues_) {
      squareValues_ = progress.values;
      window_.requestRepaint();
    }
    showAnalysisClock(progress.done);
    return;
  }
  progress = hint_.take();
  hintRunning_ = false;
  squareValues_ = progress.values;
  showBestMove(hintInDiscs_);
  window_.requestRepaint();
  if (progress.evalFailed) window_.showMessage(texts::kEvalError);
}

// The endgame analysis: values square by square from a worker, the mode
// Busy until it posts them all.
void GameController::beginStudy(const char* paneText) {
  exchange().resetResult(1);
  clearSquareValues();
  exchange().publishValues(squareValues_);
  setPane(kProgressPane, paneText);
  analysisStart_ = std::chrono::steady_clock::now();
  analysisMoves_ = boardMobility(board_, side_);
  analysisSecondShown_ = 0;
  analysisDoneShown_ = 0;
  mode_ = ViewMode::Busy;
  window_.requestRepaint();
}

// The best square is marked on the board and named in pane 0, until the
// values go.
void GameController::showBestMove(bool inDiscs) {
  hintMove_ = bestValuedSquare(squareValues_);
  if (hintMove_ < 0) return;
  hintPaneText_ = texts::hintText(hintMove_, squareValues_[hintMove_], inDiscs);
  setPane(kProgressPane, hintPaneText_);
}

// Mode Busy belongs to the analysis whenever a tick can see it: every other
// use of Busy begins and ends within one call on the window thread.
void GameController::tickAnalysis() {
  const ThinkResult result = exchange().readResult();
  if (result.finished != 1) {
    exchange().fetchValues(squareValues_);
    forwardStatusTexts();
    showAnalysisClock(valueCount(squareValues_));
    window_.requestRepaint();
    return;
  }
  if (result.move != kAnalysisDoneMove) return;
  joinWorker();
  exchange().resetResult(0);
  discardStatusTexts();
  becomeIdle();
  exchange().fetchValues(squareValues_);
  showBestMove(true);  // read to the end: discs
  window_.requestRepaint();
  tellEvalError();
}

// The workers say how far they are only when a move is valued, which deep
// positions take minutes over; the window keeps the seconds counting between.
void GameController::showAnalysisClock(int done) {
  const auto elapsed = std::chrono::steady_clock::now() - analysisStart_;
  const std::int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
  if ((seconds <= analysisSecondShown_ && done == analysisDoneShown_) || analysisMoves_ == 0) return;
  analysisSecondShown_ = seconds;
  analysisDoneShown_ = done;
  const std::string text = texts::analysisProgressText(done * 100.0 / analysisMoves_, seconds);
  if (hintRunning_) hintPaneText_ = text;
  setPane(kProgressPane, text);
}

}  // namespace kaimo
