// The game controller's commands that change the position without playing a
// move: clearing, the two board transforms and editing with the mouse.
#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"

namespace kaimo {
namespace {

bool isSquare(int target) { return target >= 0 && target < kSquareCount; }

}  // namespace

// A game with unsaved work is first offered to be saved; that question,
// answered Yes (and saved) or No, stands for the question to clear.
void GameController::clearBoard() {
  stopThinking();
  if (game_.hasUnsavedGame()) {
    if (!mayDiscardGame()) return;
  } else if (!window_.askYesNo(texts::kClearBoardQuestion)) {
    return;
  }
  game_.newGame();
  window_.requestRepaint();
}

void GameController::rotateBoard() { transformBoard(boardRotate); }

void GameController::mirrorBoard() { transformBoard(boardTranspose); }

void GameController::transformBoard(void (*transform)(Board&, const Board&)) {
  stopThinking();
  game_.transformBoard(transform);
  window_.requestRepaint();
}

void GameController::toggleEditing() {
  if (mode_ == ViewMode::Editing) {
    panes_.set(kProgressPane, texts::kStopped);
    mode_ = ViewMode::Idle;
    study_.clear();
    panes_.clearSides();
  } else {
    stopThinking();
    panes_.set(kProgressPane, texts::kEditing);
    mode_ = ViewMode::Editing;
    study_.clear();
  }
  window_.requestRepaint();
}

void GameController::leftEdit(int target) {
  if (mode_ != ViewMode::Editing) return;
  if (isSquare(target) && target != lastEditSquare_) game_.toggleSquare(target, kBlack);
  if (target == kEditBlackIndicator) game_.setSideToMove(kBlack);
  if (target == kEditWhiteIndicator) game_.setSideToMove(kWhite);
  lastEditSquare_ = target;
  window_.requestRepaint();
}

void GameController::rightEdit(int target) {
  if (mode_ != ViewMode::Editing) return;
  if (isSquare(target) && target != lastEditSquare_) {
    game_.toggleSquare(target, kWhite);
    window_.requestRepaint();
  }
  lastEditSquare_ = target;
}

}  // namespace kaimo
