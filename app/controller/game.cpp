#include "app/controller/game.h"

#include <algorithm>

namespace kaimo {

void Game::newGame() {
  side_ = boardInit(board_);
  cursor_ = 0;
  history_.assign(1, HistoryEntry{side_, -1, board_});
  lastMove_ = -1;
  redoTargets_.clear();
  movesUnsaved_ = false;
  recordPath_.clear();
}

bool Game::playMove(int square) {
  if (square < 0 || square >= kSquareCount) return false;
  Board next;
  if (boardPlay(board_, next, square, side_) <= 1) return false;
  history_.resize(cursor_ + 2);
  history_[cursor_] = HistoryEntry{side_, square, board_};
  ++cursor_;
  // The other colour is to move, and the turn step tells its pass; only a
  // move that ends the game keeps the turn, as a record read back has it.
  const bool gameOver = boardMobility(next, opponentOf(side_)) == 0 && boardMobility(next, side_) == 0;
  if (!gameOver) side_ = opponentOf(side_);
  board_ = next;
  history_[cursor_] = HistoryEntry{side_, -1, board_};
  lastMove_ = square;
  redoTargets_.clear();
  movesUnsaved_ = true;
  return true;
}

bool Game::goTo(int index) {
  if (index < 0 || index > lastIndex()) return false;
  cursor_ = index;
  board_ = history_[index].board;
  side_ = history_[index].side;
  lastMove_ = index > 0 ? history_[index - 1].move : -1;
  return true;
}

bool Game::takeBackTo(int index) {
  const int left = cursor_;
  if (index >= left || !goTo(index)) return false;
  redoTargets_.push_back(left);
  return true;
}

int Game::redoTarget() const {
  if (redoTargets_.empty()) return -1;
  const int target = redoTargets_.back();
  return target > cursor_ && target <= lastIndex() ? target : -1;
}

bool Game::redo() {
  const int target = redoTarget();
  if (target < 0) return false;
  redoTargets_.pop_back();
  return goTo(target);
}

void Game::pass() {
  const int passer = side_;
  side_ = opponentOf(passer);
  // The game's last position goes to the colour that moves, as a record
  // read back gives it: a pass alone is no change to save.
  HistoryEntry& entry = history_[cursor_];
  if (cursor_ == lastIndex() && entry.board == board_ && entry.side == passer) entry.side = side_;
}

void Game::transformBoard(void (*transform)(Board&, const Board&)) {
  const Board before = board_;
  transform(board_, before);
  if (lastMove_ < 0) return;
  // The frame goes where the transform takes its square: a lone marker
  // through the same transform finds it.
  Board marker;
  marker.fill(kEmpty);
  marker[lastMove_] = kBlack;
  Board moved;
  transform(moved, marker);
  lastMove_ = static_cast<int>(std::find(moved.begin(), moved.end(), kBlack) - moved.begin());
}

void Game::toggleSquare(int square, int colour) {
  const auto disc = static_cast<std::int8_t>(colour);
  board_[square] = board_[square] == disc ? kEmpty : disc;
}

bool Game::boardIsHistoryPosition() const {
  const auto at = static_cast<std::size_t>(cursor_);
  return at < history_.size() && history_[at].board == board_ && history_[at].side == side_;
}

History Game::historyToSave() const {
  if (boardIsHistoryPosition()) return history_;
  History record(history_.begin(), history_.begin() + std::min<std::size_t>(cursor_, history_.size()));
  record.push_back(HistoryEntry{side_, -1, board_});
  return record;
}

void Game::takeRecord(History history, const std::string& path) {
  history_ = std::move(history);
  redoTargets_.clear();
  if (history_.empty()) newGame();  // the reader promises otherwise; the window must always have a position
  // A pasted game has no file to come back to: unsaved, unless it is the
  // bare initial position.
  const History fresh = Game().history();
  movesUnsaved_ = path.empty() && history_ != fresh;
  recordPath_ = path;
}

void Game::restore(History history, int cursor, const Board& board, int side, const std::string& path) {
  takeRecord(std::move(history), path);
  goTo(cursor);
  board_ = board;
  side_ = side;
  movesUnsaved_ = true;
}

void Game::saved(History record, const std::string& path) {
  history_ = std::move(record);  // an edited board becomes the entry at the cursor
  movesUnsaved_ = false;
  recordPath_ = path;
}

}  // namespace kaimo
