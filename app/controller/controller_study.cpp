// The game controller's settings and study commands: applying the dialog's
// settings, the evaluation values, the endgame analysis and the hint.
#include "app/controller/evaluation_values.h"
#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"
#include "app/controller/move_values.h"
#include "engine/book/book_choice.h"

namespace kaimo {
namespace {

int emptyCount(const Board& board) {
  DiscCounts counts;
  boardCount(board, counts);
  return counts[2];
}

}  // namespace

void GameController::applySettings(const PlayerSettings& edited) {
  settings_ = edited;
  settings_.clearOnConfirm();
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
  beginStudy(texts::kAnalysing);
  analysis_.start([job = AnalysisJob{board_, side_, routineEvaluator(kSimpleRoutine), routineEvaluator(kPatternRoutine)}](
                      std::stop_token stop, ValuesWorker::Exchange& exchange) { return analyse(job, stop, exchange); });
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
  hint_.start([job = HintJob{board_, side_, settings}](std::stop_token stop, ValuesWorker::Exchange& exchange) {
    return hint(job, stop, exchange);
  });
  startValuesClock();
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
  if (!hint_.active()) return;
  const std::optional<ValuesResult> result = followValues(hint_);
  if (!result) return;
  squareValues_ = result->values;
  showBestMove(hintInDiscs_);
  window_.requestRepaint();
  if (result->evalFailed) window_.showMessage(texts::kEvalError);
}

// The endgame analysis: values square by square from its worker, the mode
// Busy until it returns them all.
void GameController::beginStudy(const char* paneText) {
  clearSquareValues();
  setPane(kProgressPane, paneText);
  startValuesClock();
  mode_ = ViewMode::Busy;
  window_.requestRepaint();
}

void GameController::tickAnalysis() {
  if (!analysis_.active()) return;
  const std::optional<ValuesResult> result = followValues(analysis_);
  if (!result) return;
  becomeIdle();
  squareValues_ = result->values;
  showBestMove(true);  // read to the end: discs
  window_.requestRepaint();
  if (result->evalFailed) tellEvalError();
}

void GameController::startValuesClock() {
  analysisStart_ = std::chrono::steady_clock::now();
  analysisMoves_ = boardMobility(board_, side_);
  valuesDone_ = 0;
  analysisSecondShown_ = 0;
  analysisDoneShown_ = 0;
}

// The values of a running analysis or hint appear on the board as they
// come, and pane 0 counts the moves and the seconds; its result once it
// has returned.
std::optional<ValuesResult> GameController::followValues(ValuesWorker& worker) {
  const std::optional<ValuesProgress> progress = worker.takeProgress();
  // Of two reports from the analysis's two threads the later may carry fewer moves.
  if (progress && progress->done >= valuesDone_) {
    valuesDone_ = progress->done;
    if (progress->values != squareValues_) {
      squareValues_ = progress->values;
      window_.requestRepaint();
    }
  }
  std::optional<ValuesResult> result = worker.takeResult();
  if (!result) showAnalysisClock(valuesDone_);
  return result;
}

// The best square is marked on the board and named in pane 0, until the
// values go.
void GameController::showBestMove(bool inDiscs) {
  hintMove_ = bestValuedSquare(squareValues_);
  if (hintMove_ < 0) return;
  hintPaneText_ = texts::hintText(hintMove_, squareValues_[hintMove_], inDiscs);
  setPane(kProgressPane, hintPaneText_);
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
  if (hint_.active()) hintPaneText_ = text;
  setPane(kProgressPane, text);
}

}  // namespace kaimo
