#include "app/controller/move_list.h"

#include "engine/board/turn.h"

namespace kaimo {
namespace {

// What follows the move of `entry` when `next` is the entry after it.
MoveRowKind rowAfterMove(const HistoryEntry& entry, const HistoryEntry& next) {
  if (entry.move < 0 || entry.move >= kSquareCount) return MoveRowKind::Move;
  Board played = entry.board;
  boardPlayInPlace(played, entry.move, entry.side);  // as a record replays it, an illegal move too
  if (played != next.board || sideToMoveAfter(played, entry.side) != next.side) return MoveRowKind::Edit;
  const bool moverAgain = next.side == entry.side;
  return moverAgain && boardMobility(played, entry.side) != 0 ? MoveRowKind::Pass : MoveRowKind::Move;
}

}  // namespace

std::vector<MoveListRow> moveListRows(const History& history) {
  std::vector<MoveListRow> rows;
  if (history.empty()) return rows;
  rows.push_back(MoveListRow{MoveRowKind::Start, 0, history.front().side, -1, 0});
  for (std::size_t i = 0; i + 1 < history.size(); ++i) {
    const HistoryEntry& entry = history[i];
    const int position = static_cast<int>(i) + 1;
    rows.push_back(MoveListRow{MoveRowKind::Move, position, entry.side, entry.move, position});
    switch (rowAfterMove(entry, history[i + 1])) {
      case MoveRowKind::Pass:
        rows.push_back(MoveListRow{MoveRowKind::Pass, 0, opponentOf(entry.side), -1, position});
        break;
      case MoveRowKind::Edit:
        rows.push_back(MoveListRow{MoveRowKind::Edit, 0, history[i + 1].side, -1, position});
        break;
      case MoveRowKind::Start:
      case MoveRowKind::Move: break;
    }
  }
  return rows;
}

int rowOfPosition(const std::vector<MoveListRow>& rows, int position) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].position == position && rows[r].kind != MoveRowKind::Pass && rows[r].kind != MoveRowKind::Edit) {
      return static_cast<int>(r);
    }
  }
  return -1;
}

}  // namespace kaimo
