// A computer side's turn: the search on the think worker, what it says in
// the panes as it goes, and what it thinks for the column beside the board
// (also when the move comes from the opening book).
#pragma once

#include <optional>
#include <random>

#include "app/controller/controller_window.h"
#include "app/controller/search_line.h"
#include "app/controller/status_panes.h"
#include "app/controller/think_worker.h"
#include "engine/book/opening_book.h"

namespace kaimo {

class ComputerPlayer {
 public:
  ComputerPlayer(StatusPanes& panes, ControllerWindow& window);
  // The worker stops its search and is joined before the rest goes.
  ~ComputerPlayer() = default;
  ComputerPlayer(const ComputerPlayer&) = delete;
  ComputerPlayer& operator=(const ComputerPlayer&) = delete;

  // What the computer thinks or thought last.
  const ThinkingDisplay& thinking() const { return thinking_; }

  // Searches a copy of `board` for `side` with `settings` on the worker;
  // with a budget, by time on the wall clock.
  void startSearch(const Board& board, int side, const SideSettings& settings,
                   std::optional<MoveBudget> budget = std::nullopt);
  // The book's move instead of a search: shown, not played (the caller posts it).
  void showBookMove(int side, int routine, const BookMove& move);
  // The tick: the search's progress into the panes and the column; its
  // result once, when it has returned.
  std::optional<ThinkResult> follow(int side);
  // The move found has been played: the column stops saying it searches.
  void movePlayed();
  // Stops the search and drops what it left. True when it had failed in
  // the evaluation and nobody has been told yet.
  bool stop();
  void clearThinking();

 private:
  void forwardProgress(int side);

  StatusPanes& panes_;
  ControllerWindow& window_;
  ThinkingDisplay thinking_;
  // Seeds each search's draw of the progress reports that refresh pane 0.
  std::minstd_rand seeds_;
  // Declared last, so its thread is joined before anything else goes.
  ThinkWorker think_;
};

}  // namespace kaimo
