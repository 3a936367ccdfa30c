// What the game controller is doing.
#pragma once

namespace kaimo {

enum class ViewMode : int {
  Idle = 0,      // no game running; pane 0 shows "停止" or "終了"
  Playing = 1,   // a human is to move, or the worker is thinking
  NextTurn = 2,  // the next tick runs the turn step (set by the start command)
  Busy = 3,      // a transition is in progress, or the endgame analysis runs
  Editing = 4,   // the mouse edits the board
};

}  // namespace kaimo
