// The game controller's commands that change the position without playing a
// move: clearing, the two board transforms and editing with the mouse.
#include <algorithm>

#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"

namespace kaimo {
namespace {

bool isSquare(int target) { return target >= 0 && target < kSquareCount; }

// What an editing click makes of a square: `colour` unless it is that
// colour already, in which case the square is emptied.
std::int8_t toggled(std::int8_t square, std::int8_t colour) { return square == colour ? kEmpty : colour; }

}  // namespace

void GameController::clearBoard() {
  stopThinking();
  if (!window_.askYesNo(texts::kClearBoardQuestion)) return;
  newGame();
  window_.requestRepaint();
}

void GameController::rotateBoard() { transformBoard(boardRotate); }

void GameController::mirrorBoard() { transformBoard(boardTranspose); }

void GameController::transformBoard(void (*transform)(Board&, const Board&)) {
  stopThinking();
  const Board before = board_;
  transform(board_, before);
  if (lastMove_ >= 0) {
    // The frame goes where the transform takes its square: a lone marker
    // through the same transform finds it.
    Board marker;
    marker.fill(kEmpty);
    marker[lastMove_] = kBlack;
    Board moved;
    transform(moved, marker);
    lastMove_ = static_cast<int>(std::find(moved.begin(), moved.end(), kBlack) - moved.begin());
  }
  window_.requestRepaint();
}

void GameController::toggleEditing() {
  if (mode_ == ViewMode::Editing) {
    setPane(kProgressPane, texts::kStopped);
    mode_ = ViewMode::Idle;
    clearSquareValues();
    setPane(kBlackPane, "");
    setPane(kWhitePane, "");
  } else {
    stopThinking();
    setPane(kProgressPane, texts::kEditing);
    mode_ = ViewMode::Editing;
    clearSquareValues();
  }
  window_.requestRepaint();
}

void GameController::leftEdit(int target) {
  if (mode_ != ViewMode::Editing) return;
  if (isSquare(target) && target != lastEditSquare_) board_[target] = toggled(board_[target], kBlack);
  if (target == kEditBlackIndicator) side_ = kBlack;
  if (target == kEditWhiteIndicator) side_ = kWhite;
  lastEditSquare_ = target;
  window_.requestRepaint();
}

void GameController::rightEdit(int target) {
  if (mode_ != ViewMode::Editing) return;
  if (isSquare(target) && target != lastEditSquare_) {
    board_[target] = toggled(board_[target], kWhite);
    window_.requestRepaint();
  }
  lastEditSquare_ = target;
}

}  // namespace kaimo
