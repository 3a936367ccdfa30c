// Where the window thread and a worker meet: the result block, the stop flag
// and the three status text slots. Each group has its own lock, held only for
// a copy and never together with another, so there is no lock order.
// A worker writes only through these operations; the window thread reads
// them in its ticks and while it waits for a stop.
#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <stop_token>
#include <string>

#include "app/controller/search_line.h"
#include "engine/search/endgame_analysis.h"

namespace kaimo {

// Status slots: pane 0 (progress), pane 1 (black), pane 2 (white).
constexpr int kStatusSlotCount = 3;
// Posted as the move when the endgame analysis is done.
constexpr int kAnalysisDoneMove = -2;

struct ThinkResult {
  int finished;      // 1 once the worker (or a click) has posted
  int move;          // a square; -1 no move or stopped; kAnalysisDoneMove
  int value;         // score of the move, SCORE_NONE if none
  int workerMarker;  // 1 while a started worker has not posted
};

class Exchange {
 public:
  // --- result block ("exited") ---
  void postResult(int move, int value);
  void postAnalysisDone(const SquareValues& values);
  void publishValues(const SquareValues& values);
  void fetchValues(SquareValues& out);
  void resetResult(int marker);
  ThinkResult readResult();
  // A worker whose evaluation failed says so here instead of telling the user
  // itself: only the window thread shows messages.
  void flagEvalError();
  // True once per flagged failure.
  bool takeEvalError();

  // --- stop request ("toexit") ---
  // 1 asks the running worker to stop; 0, once it has, makes a fresh request
  // for the next one. Window thread only.
  void requestStop(int flag);
  int stopRequested() const { return stop_.stop_requested() ? 1 : 0; }
  // What a worker started now is handed: it stops when requestStop(1) comes.
  std::stop_token stopToken() const { return stop_.get_token(); }

  // --- status text slots ("statustext"), and what the computer thinks ---
  void setStatusText(int slot, const std::string& text);
  // True (and the text) only when the slot changed since the last take.
  bool takeStatusText(int slot, std::string& text);
  void publishThinking(const ThinkingLine& line);
  // True (and the line) only when it changed since the last take.
  bool takeThinking(ThinkingLine& line);

  // Back to the state of a fresh program: nothing posted, no stop, no texts.
  void clear();

 private:
  std::mutex resultLock_;
  ThinkResult result_{0, -1, 0, 0};
  SquareValues values_{};
  bool evalError_ = false;

  // Read by the search now and then through its token: atomic, no lock.
  std::stop_source stop_;

  struct StatusSlot {
    std::string text;
    bool changed = false;
  };
  std::mutex statusLock_;
  std::array<StatusSlot, kStatusSlotCount> slots_;
  ThinkingLine thinking_;
  bool thinkingChanged_ = false;
};

// The one exchange of the process (there is one board window).
Exchange& exchange();

}  // namespace kaimo
