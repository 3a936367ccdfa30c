#include "app/controller/evaluation_track.h"

#include <algorithm>
#include <cstdint>

#include "engine/eval/score.h"

namespace kaimo {

// FNV-1a over the squares and the side.
std::size_t EvaluationTrack::PositionHash::operator()(const Position& p) const {
  std::size_t hash = 14695981039346656037ull;
  for (std::int8_t square : p.board) hash = (hash ^ static_cast<std::uint8_t>(square)) * 1099511628211ull;
  return (hash ^ static_cast<std::size_t>(p.side)) * 1099511628211ull;
}

void EvaluationTrack::record(const Board& board, int side, int blackValue, GraphValueKind kind) {
  const GraphPoint unknown{SCORE_NONE, GraphValueKind::None};
  GraphPoint& point = values_.try_emplace(Position{side, board}, unknown).first->second;
  if (kind >= point.kind) point = GraphPoint{blackValue, kind};
}

GraphPoint EvaluationTrack::pointOf(const Board& board, int side) const {
  const auto found = values_.find(Position{side, board});
  return found == values_.end() ? GraphPoint{SCORE_NONE, GraphValueKind::None} : found->second;
}

std::vector<GraphPoint> EvaluationTrack::points(const History& history) const {
  std::vector<GraphPoint> result;
  result.reserve(history.size());
  for (const HistoryEntry& entry : history) result.push_back(pointOf(entry.board, entry.side));
  return result;
}

int EvaluationTrack::firstToRead(const History& history, int exactEmpties) const {
  for (std::size_t i = 0; i < history.size(); ++i) {
    const GraphValueKind kind = pointOf(history[i].board, history[i].side).kind;
    if (kind == GraphValueKind::Exact) continue;
    DiscCounts counts;
    boardCount(history[i].board, counts);
    if (kind == GraphValueKind::None || counts[2] <= exactEmpties) return static_cast<int>(i);
  }
  return -1;
}

std::vector<MoveDrop> largestDrops(const History& history, const std::vector<GraphPoint>& points, int colour) {
  std::vector<MoveDrop> drops;
  const int sign = colour == kBlack ? 1 : -1;
  for (std::size_t i = 0; i + 1 < history.size() && i + 1 < points.size(); ++i) {
    if (history[i].side != colour) continue;
    const int before = points[i].value;
    const int after = points[i + 1].value;
    if (before == SCORE_NONE || after == SCORE_NONE) continue;
    // A short read's estimate and an exact value are on different scales:
    // the step from one to the other is no loss of the move.
    if ((points[i].kind == GraphValueKind::Exact) != (points[i + 1].kind == GraphValueKind::Exact)) continue;
    const int lost = sign * (before - after);
    if (lost >= kLeastNotedDrop) drops.push_back(MoveDrop{static_cast<int>(i), history[i].move, lost / SCORE_PER_DISC});
  }
  std::stable_sort(drops.begin(), drops.end(), [](const MoveDrop& a, const MoveDrop& b) { return a.discs > b.discs; });
  if (drops.size() > kDropsPerSide) drops.resize(kDropsPerSide);
  return drops;
}

bool historyEndsGame(const History& history) {
  if (history.empty()) return false;
  const Board& last = history.back().board;
  return boardMobility(last, kBlack) == 0 && boardMobility(last, kWhite) == 0;
}

}  // namespace kaimo
