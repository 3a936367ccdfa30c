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
  analysisJob_ = AnalysisJob{board_, side_, routineEvaluator(kSimpleRoutine), exchange().stopToken()};
  beginStudy(texts::kAnalysing);
  launchAnalysisWorker();
}

void GameController::startHint() {
  stopThinking();
  if (const std::vector<BookMove> moves = bookMovesHere(); !moves.empty()) {
    showBookHint(moves);
    return;
  }
  hintJob_ = HintJob{board_, side_, sideSettingsOf(side_), exchange().stopToken()};
  beginStudy(texts::kHint);
  hintRunning_ = true;
  launchHintWorker();
}

std::vector<BookMove> GameController::bookMovesHere() const {
  if (!bookEnabled_ || !book_) return {};
  return bookMovesFor(*book_, board_, side_, sideSettingsOf(side_));
}

// Every move has its value in the book: no search, the best one marked at once.
void GameController::showBookHint(const std::vector<BookMove>& moves) {
  for (const BookMove& move : moves) squareValues_[move.square] = bookValueToScore(move.value);
  hintMove_ = moves.front().square;
  window_.setPaneText(kProgressPane, texts::bookHintText(hintMove_, squareValues_[hintMove_]));
  window_.requestRepaint();
}

// The analysis and the hint: values square by square from a worker, the
// mode Busy until it posts them all.
void GameController::beginStudy(const char* paneText) {
  exchange().resetResult(1);
  clearSquareValues();
  hintRunning_ = false;
  exchange().publishValues(squareValues_);
  window_.setPaneText(kProgressPane, paneText);
  analysisStart_ = std::chrono::steady_clock::now();
  analysisMoves_ = boardMobility(board_, side_);
  analysisSecondShown_ = 0;
  mode_ = ViewMode::Busy;
  window_.requestRepaint();
}

void GameController::launchHintWorker() {
  try {
    worker_ = std::thread(hintWorker, &hintJob_);
  } catch (const std::system_error&) {
    SquareValues none;
    none.fill(SCORE_NONE);
    exchange().postAnalysisDone(none);  // no thread: the next tick ends the hint empty
  }
}

// The best square keeps its value and says so in pane 0 too.
void GameController::finishHint() {
  hintRunning_ = false;
  hintMove_ = bestValuedSquare(squareValues_);
  if (hintMove_ >= 0) window_.setPaneText(kProgressPane, texts::hintText(hintMove_, squareValues_[hintMove_]));
}

// Mode Busy belongs to the analysis whenever a tick can see it: every other
// use of Busy begins and ends within one call on the window thread.
void GameController::tickAnalysis() {
  const ThinkResult result = exchange().readResult();
  if (result.finished != 1) {
    exchange().fetchValues(squareValues_);
    forwardStatusTexts();
    showAnalysisClock();
    window_.requestRepaint();
    return;
  }
  if (result.move != kAnalysisDoneMove) return;
  joinWorker();
  exchange().resetResult(0);
  discardStatusTexts();
  becomeIdle();
  exchange().fetchValues(squareValues_);
  if (hintRunning_) finishHint();
  window_.requestRepaint();
  tellEvalError();
}

// The worker says how far it is only when a move is solved, which deep
// positions take minutes over; the window keeps the seconds counting between.
void GameController::showAnalysisClock() {
  const auto elapsed = std::chrono::steady_clock::now() - analysisStart_;
  const std::int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
  if (seconds <= analysisSecondShown_ || analysisMoves_ == 0) return;
  analysisSecondShown_ = seconds;
  const double percent = valueCount(squareValues_) * 100.0 / analysisMoves_;
  window_.setPaneText(kProgressPane, texts::analysisProgressText(percent, seconds));
}

}  // namespace kaimo
