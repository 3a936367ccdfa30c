// The evaluation graph's own reads: a short search of one position of the
// game on a thread of its own, for the positions no computer turn has
// valued. A read keeps off the search driver's one table, so it runs beside
// any other search.
#pragma once

#include <atomic>
#include <stop_token>
#include <thread>

#include "app/controller/evaluation_track.h"
#include "engine/search/search_context.h"

namespace kaimo {

// Plies of a graph read: quick enough to follow every move.
constexpr int kGraphDepth = 4;
// From this many empty squares on, a graph read goes to the end of the game
// (without a table that takes a few tens of milliseconds).
constexpr int kGraphExactEmpties = 12;

struct GraphReading {
  Board board;
  int side;
  int value;  // black's point of view; SCORE_NONE when the read was stopped
  GraphValueKind kind;
};

// The value of the position with `side` to move (the other side's value when
// `side` must pass, the final margin when the game is over), from black's
// point of view, read with "狸".
GraphReading readGraphPosition(const Board& board, int side, std::stop_token stop);

class GraphWorker {
 public:
  GraphWorker() = default;
  ~GraphWorker() { halt(); }
  GraphWorker(const GraphWorker&) = delete;
  GraphWorker& operator=(const GraphWorker&) = delete;

  bool running() const { return thread_.joinable(); }
  // Starts a read; only when not running().
  void start(const Board& board, int side);
  // True (with the reading) once a started read has finished; the thread is
  // then joined.
  bool collect(GraphReading& out);
  // Stops a running read and waits for it; its reading is dropped.
  void halt();

 private:
  std::thread thread_;
  std::stop_source stop_;
  std::atomic<bool> finished_{false};
  GraphReading reading_{};  // written by the thread before finished_ is set
};

}  // namespace kaimo
