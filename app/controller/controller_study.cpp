// The game controller's settings and study commands: applying the dialog's
// settings, the evaluation values and the endgame analysis.
#include "app/controller/evaluation_values.h"
#include "app/controller/exchange.h"
#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"

namespace kaimo {
namespace {

// Reserved words that a confirmed settings dialog always clears.
constexpr int kClearedOnConfirmWords[] = {5, 6};

}  // namespace

void GameController::applySettings(const PlayerSettings& edited) {
  settings_ = edited;
  for (int word : kClearedOnConfirmWords) settings_[word] = 0;
}

void GameController::showEvaluationValues() { window_.showMessage(evaluationValuesText(board_, side_)); }

void GameController::startAnalysis() {
  DiscCounts counts;
  boardCount(board_, counts);
  if (counts[2] >= kAnalysisEmptyLimit) {
    window_.showMessage(texts::kAnalysisRefused);
    return;
  }
  stopThinking();
  analysisJob_ = AnalysisJob{board_, side_, routineTable[kSimpleRoutine].evaluate};
  exchange().resetResult(1);
  clearSquareValues();
  exchange().publishValues(squareValues_);
  window_.setPaneText(kProgressPane, texts::kAnalysing);
  mode_ = ViewMode::Busy;
  window_.requestRepaint();
  launchAnalysisWorker();
}

// Mode Busy belongs to the analysis whenever a tick can see it: every other
// use of Busy begins and ends within one call on the window thread.
void GameController::tickAnalysis() {
  const ThinkResult result = exchange().readResult();
  if (result.finished != 1) {
    exchange().fetchValues(squareValues_);
    forwardStatusTexts();
    window_.requestRepaint();
    return;
  }
  if (result.move != kAnalysisDoneMove) return;
  joinWorker();
  exchange().resetResult(0);
  discardStatusTexts();
  becomeIdle();
  exchange().fetchValues(squareValues_);
  window_.requestRepaint();
  tellEvalError();
}

}  // namespace kaimo
