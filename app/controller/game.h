// The game on the board and its history: the position shown (which editing
// and the board transforms may change by hand), the side to move, the
// history with its cursor, the last move framed, and the file the game
// belongs to. No threads and no window: the controller decides when a
// change happens and tells the window.
#pragma once

#include <string>
#include <vector>

#include "app/records/history.h"
#include "engine/board/board.h"

namespace kaimo {

class Game {
 public:
  // The initial position, black to move.
  Game() { newGame(); }

  const Board& board() const { return board_; }
  int side() const { return side_; }
  int cursor() const { return cursor_; }
  const History& history() const { return history_; }
  int lastIndex() const { return static_cast<int>(history_.size()) - 1; }
  // The square framed as the last move: the one played into the history
  // position shown, carried along by the board transforms; -1 for none.
  int lastMove() const { return lastMove_; }

  // The initial position as a one-entry history, with no file of its own.
  void newGame();
  // Plays `square` for the side to move, cutting any later history; false
  // (nothing changed) when the move is illegal.
  bool playMove(int square);
  // The side to move has no move: the other one moves. Not entered in the
  // history as a move of its own.
  void pass();
  // Shows entry `index` of the history; false (nothing changed) outside it.
  bool goTo(int index);
  // "待った": shows the earlier entry `index` like goTo, and remembers the
  // entry it leaves, so that redo() can come back to it.
  bool takeBackTo(int index);
  // "やり直し": the entry the latest take-back left, while the history
  // still holds it and it lies ahead of the cursor; -1 for none. A move
  // played (which cuts the later history) or a new history forgets them all.
  int redoTarget() const;
  // Shows redoTarget(), forgetting it; false when there is none.
  bool redo();
  // For the game record reader, which then shows entry 0.
  void clearHistory() {
    history_.clear();
    redoTargets_.clear();
  }
  void appendHistory(const HistoryEntry& entry) { history_.push_back(entry); }

  // Writes `transform` of the board back into it; the last move's frame
  // follows its square. The history stays as it was.
  void transformBoard(void (*transform)(Board&, const Board&));
  // Editing by hand: `colour` on `square`, or the square emptied when it
  // holds that colour already; and the side to move.
  void toggleSquare(int square, int colour);
  void setSideToMove(int colour) { side_ = colour; }

  // The file the game was last read from or saved to (file-system
  // encoding); empty for a new game or a pasted one.
  const std::string& recordPath() const { return recordPath_; }
  // Moves played, or a board changed by hand, since the game was last
  // opened, saved or cleared; or a pasted game not saved since.
  bool hasUnsavedGame() const { return movesUnsaved_ || !boardIsHistoryPosition(); }
  // The history as a record would keep it: the whole history, unless the
  // board was changed by hand and not played from; then the record ends
  // with that board in place of the history position it was made from,
  // and the later moves are left out (as playing a move from it would cut them).
  History historyToSave() const;
  // A game read from `path` (empty for a pasted one, which counts as
  // unsaved work unless it is the bare initial position) replaces this one;
  // the caller then shows its first position.
  void takeRecord(History history, const std::string& path);
  // A game kept from a run that did not end cleanly comes back: its
  // history, the entry `cursor` shown with `board` and `side` (which editing
  // may have changed) and its file. It counts as unsaved work.
  void restore(History history, int cursor, const Board& board, int side, const std::string& path);
  // `record` (from historyToSave) was written to `path`.
  void saved(History record, const std::string& path);

 private:
  bool boardIsHistoryPosition() const;

  History history_;
  int cursor_ = 0;
  Board board_{};
  int side_ = kBlack;
  int lastMove_ = -1;
  // The entries the take-backs left, the latest last.
  std::vector<int> redoTargets_;
  // Moves were played since the game was opened, saved or cleared.
  bool movesUnsaved_ = false;
  std::string recordPath_;
};

}  // namespace kaimo
