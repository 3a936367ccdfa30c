// The game controller's settings and study commands: applying the dialog's
// settings, the evaluation values, the endgame analysis and the hint.
#include "app/controller/evaluation_values.h"
#include "app/controller/game_controller.h"
#include "app/review/review_read.h"
#include "app/controller/game_texts.h"

namespace kaimo {

void GameController::applySettings(const PlayerSettings& edited) {
  settings_ = edited;
  settings_.clearOnConfirm();
}

void GameController::showEvaluationValues() {
  window_.showMessage(texts::Wording(texts::kEvaluationHeading) + texts::Wording::same("\n") +
                      evaluationValuesText(game_.board(), game_.side()));
}

void GameController::startAnalysis() {
  if (boardEmptyCount(game_.board()) >= kAnalysisEmptyLimit) {
    window_.showMessage(texts::kAnalysisRefused);
    return;
  }
  if (boardMobility(game_.board(), game_.side()) == 0) {
    window_.showMessage(texts::kAnalysisNoMove);
    return;
  }
  stopThinking();
  mode_ = ViewMode::Busy;
  study_.startAnalysis();
}

bool GameController::canHint() const {
  if (mode_ == ViewMode::Busy || mode_ == ViewMode::NextTurn) return false;
  return mode_ != ViewMode::Playing || isHumanToMove();
}

void GameController::startHint() {
  if (!canHint()) return;
  // A human to move in a running game keeps the game: the click still plays.
  if (mode_ != ViewMode::Playing) stopThinking();
  const int side = game_.side();
  SideSettings settings = sideSettingsOf(side);
  // A human has no routine of its own: the hint reads with "狐" when its
  // data are there, else with "狸", and says which.
  const bool human = settings.routine == kHumanRoutine;
  if (human) settings.routine = foxDataReadable() ? kPatternRoutine : kSimpleRoutine;
  study_.startHint(settings, book_.movesHere(game_.board(), side, settings), human);
}

}  // namespace kaimo
