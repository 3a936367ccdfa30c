#include "app/controller/move_list.h"

namespace kaimo {

std::vector<MoveListRow> moveListRows(const History& history) {
  std::vector<MoveListRow> rows;
  if (history.empty()) return rows;
  rows.push_back(MoveListRow{MoveRowKind::Start, 0, history.front().side, -1, 0});
  for (std::size_t i = 0; i + 1 < history.size(); ++i) {
    const int colour = history[i].side;
    const int position = static_cast<int>(i) + 1;
    rows.push_back(MoveListRow{MoveRowKind::Move, position, colour, history[i].move, position});
    // The same colour to move again: the other one had no move.
    if (history[i + 1].side == colour) {
      rows.push_back(MoveListRow{MoveRowKind::Pass, 0, opponentOf(colour), -1, position});
    }
  }
  return rows;
}

int rowOfPosition(const std::vector<MoveListRow>& rows, int position) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].position == position && rows[r].kind != MoveRowKind::Pass) return static_cast<int>(r);
  }
  return -1;
}

}  // namespace kaimo
