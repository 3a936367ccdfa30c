// The game controller's evaluation graph: values from the computer's own
// turns, and short reads on the graph's worker for every other position.
#include "app/controller/game_controller.h"

namespace kaimo {

void GameController::updateGraph() {
  GraphReading reading;
  if (graphWorker_.collect(reading)) keepGraphReading(reading);
  if (graphWorker_.running()) return;
  const int missing = track_.firstToRead(history_, kGraphExactEmpties);
  if (missing >= 0) graphWorker_.start(history_[missing].board, history_[missing].side);
}

void GameController::keepGraphReading(const GraphReading& reading) {
  if (reading.kind == GraphValueKind::None) return;  // stopped: read again later
  track_.record(reading.board, reading.side, reading.value, reading.kind);
  window_.requestRepaint();
}

std::vector<MoveDrop> GameController::worstMoves(int colour) const {
  if (!historyEndsGame(history_)) return {};
  return largestDrops(history_, graphPoints(), colour);
}

}  // namespace kaimo
