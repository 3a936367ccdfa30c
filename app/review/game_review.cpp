#include "app/review/game_review.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "engine/eval/score.h"

namespace kaimo {
namespace {

ReviewRequest requestOf(const History& history, std::size_t entry) {
  return ReviewRequest{history[entry].board, history[entry].side, history[entry].move};
}

int blackPointOfView(int colour, int value) { return colour == kBlack ? value : -value; }

}  // namespace

// FNV-1a over the squares, the side and the move.
std::size_t GameReview::RequestHash::operator()(const ReviewRequest& request) const {
  std::size_t hash = 14695981039346656037ull;
  auto mix = [&hash](std::uint8_t byte) { hash = (hash ^ byte) * 1099511628211ull; };
  for (std::int8_t square : request.board) mix(static_cast<std::uint8_t>(square));
  mix(static_cast<std::uint8_t>(request.side));
  mix(static_cast<std::uint8_t>(request.played));
  return hash;
}

GameReview::GameReview(const ReviewSettings& settings) : settings_(settings) {}

const PositionRead* GameReview::find(const History& history, std::size_t entry) const {
  const auto found = reads_.find(requestOf(history, entry));
  return found == reads_.end() ? nullptr : &found->second;
}

std::vector<ReviewRequest> GameReview::pending(const History& history) const {
  std::vector<ReviewRequest> wanted;
  std::unordered_set<ReviewRequest, RequestHash> seen;
  for (std::size_t i = 0; i + 1 < history.size(); ++i) {
    if (find(history, i) == nullptr && seen.insert(requestOf(history, i)).second)
      wanted.push_back(requestOf(history, i));
  }
  return wanted;
}

void GameReview::record(const ReviewRequest& request, const PositionRead& read) {
  if (read.outcome == ReadOutcome::Stopped) return;
  if (read.outcome == ReadOutcome::NoData) missedFoxData_ = true;
  reads_.insert_or_assign(request, read);
}

MoveReview GameReview::move(const History& history, std::size_t entry) const {
  MoveReview move{static_cast<int>(entry),
                  history[entry].side,
                  history[entry].move,
                  ReadOutcome::Stopped,
                  ReviewValueKind::None,
                  SCORE_NONE,
                  -1,
                  SCORE_NONE};
  if (const PositionRead* read = find(history, entry)) {
    move.outcome = read->outcome;
    move.kind = read->kind;
    move.played = read->played;
    move.bestMove = read->bestMove;
    move.best = read->best;
  }
  return move;
}

std::vector<MoveReview> GameReview::moves(const History& history) const {
  std::vector<MoveReview> result;
  for (std::size_t i = 0; i + 1 < history.size(); ++i) result.push_back(move(history, i));
  return result;
}

std::vector<GraphPoint> GameReview::points(const History& history) const {
  std::vector<GraphPoint> result;
  result.reserve(history.size());
  for (std::size_t i = 0; i + 1 < history.size(); ++i) {
    const PositionRead* read = find(history, i);
    if (read == nullptr || read->outcome != ReadOutcome::Done) {
      result.push_back(GraphPoint{SCORE_NONE, ReviewValueKind::None});
    } else {
      result.push_back(GraphPoint{blackPointOfView(history[i].side, read->best), read->kind});
    }
  }
  if (!history.empty()) {
    // The last position has no move to read: it has a value only when the
    // game is over there.
    const bool over = historyEndsGame(history);
    result.push_back(over ? GraphPoint{finishedPositionValue(history.back().board), ReviewValueKind::Exact}
                          : GraphPoint{SCORE_NONE, ReviewValueKind::None});
  }
  return result;
}

std::size_t GameReview::readCount(const History& history) const {
  std::size_t count = 0;
  for (std::size_t i = 0; i + 1 < history.size(); ++i) count += find(history, i) != nullptr;
  return count;
}

int roundedDiscs(int value) {
  return value >= 0 ? (value + SCORE_PER_DISC / 2) / SCORE_PER_DISC : -((-value + SCORE_PER_DISC / 2) / SCORE_PER_DISC);
}

std::vector<MoveReview> largestLosses(const std::vector<MoveReview>& moves, int colour) {
  std::vector<MoveReview> named;
  for (const MoveReview& move : moves) {
    if (move.colour == colour && move.known() && roundedDiscs(move.loss()) > 0) named.push_back(move);
  }
  std::stable_sort(named.begin(), named.end(),
                   [](const MoveReview& a, const MoveReview& b) { return a.loss() > b.loss(); });
  if (named.size() > kNamedMovesPerSide) named.resize(kNamedMovesPerSide);
  return named;
}

bool historyEndsGame(const History& history) {
  if (history.empty()) return false;
  const Board& last = history.back().board;
  return boardMobility(last, kBlack) == 0 && boardMobility(last, kWhite) == 0;
}

}  // namespace kaimo
