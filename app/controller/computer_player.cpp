#include "app/controller/computer_player.h"

#include <ctime>

#include "app/controller/game_texts.h"
#include "engine/eval/routines.h"

namespace kaimo {

ComputerPlayer::ComputerPlayer(StatusPanes& panes, ControllerWindow& window)
    : panes_(panes), window_(window), seeds_(static_cast<unsigned>(std::time(nullptr))) {}

void ComputerPlayer::startSearch(const Board& board, int side, const SideSettings& settings,
                                 std::optional<MoveBudget> budget) {
  panes_.set(side + 1, texts::kThinking);
  thinking_ = ThinkingDisplay{side, settings.routine, true, false, {}, boardEmptyCount(board)};
  window_.studyChanged();
  // The job searches its own copy, so no command can change the board under it.
  think_.start([job = ThinkJob{board, side, settings, static_cast<unsigned>(seeds_()), budget}](
                   std::stop_token stop, ThinkWorker::Exchange& exchange) { return think(job, stop, exchange); });
}

void ComputerPlayer::showBookMove(int side, int routine, const BookMove& move) {
  ThinkingLine line;
  line.value = bookValueToScore(move.value);
  line.moves = {move.square};
  panes_.set(kProgressPane, texts::kBookMove);
  panes_.set(side + 1, texts::bookMoveText(line.value));
  thinking_ = ThinkingDisplay{side, routine, false, true, line};
  window_.studyChanged();
}

std::optional<ThinkResult> ComputerPlayer::follow(int side) {
  forwardProgress(side);
  std::optional<ThinkResult> result = think_.takeResult();
  if (result) forwardProgress(side);  // what it said as it returned: the line of the finished search
  return result;
}

void ComputerPlayer::forwardProgress(int side) {
  const std::optional<ThinkProgress> progress = think_.takeProgress();
  if (!progress) return;
  if (progress->progressText) panes_.set(kProgressPane, texts::Wording::same(*progress->progressText));
  if (progress->sideText) panes_.set(side + 1, *progress->sideText);
  if (progress->line && thinking_.colour >= 0) {
    thinking_.line = *progress->line;
    window_.studyChanged();
  }
}

void ComputerPlayer::movePlayed() {
  thinking_.searching = false;
  window_.studyChanged();
}

bool ComputerPlayer::stop() {
  // A search looks at its stop request every few hundred nodes: the wait is short.
  think_.stop();
  const std::optional<ThinkResult> left = think_.takeResult();
  think_.cancel();
  return left && left->evalFailed;
}

void ComputerPlayer::clearThinking() {
  if (thinking_.colour < 0) return;
  thinking_ = ThinkingDisplay{};
  window_.studyChanged();
}

}  // namespace kaimo
