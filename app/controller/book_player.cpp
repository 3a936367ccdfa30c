#include "app/controller/book_player.h"

#include <ctime>

namespace kaimo {

BookPlayer::BookPlayer() : random_(static_cast<std::uint64_t>(std::time(nullptr))) {}

std::optional<BookMove> BookPlayer::pickMove(const Board& board, int side, const SideSettings& settings) {
  if (!enabled_ || !book_) return std::nullopt;
  return pickBookMove(*book_, board, side, settings, random_);
}

std::vector<BookMove> BookPlayer::movesHere(const Board& board, int side, const SideSettings& settings) const {
  if (!enabled_ || !book_) return {};
  return bookMovesFor(*book_, board, side, settings);
}

}  // namespace kaimo
