#include "tools/train/self_play.h"

#include <algorithm>
#include <random>

#include "engine/eval/pattern_data.h"
#include "engine/eval/score.h"
#include "engine/search/search_driver.h"
#include "tools/common/computer_turn.h"

namespace kaimo::train {
namespace {

std::vector<int> legalMoves(const Board& board, int side) {
  std::vector<int> moves;
  for (int s = 0; s < kSquareCount; ++s) {
    if (boardIsLegal(board, s, side)) moves.push_back(s);
  }
  return moves;
}

int randomMove(const std::vector<int>& moves, std::mt19937_64& random) {
  return moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
}

struct Ply {
  Board board;
  int side;
  bool exact;
  int searchValue;  // black's, in hundredths of a disc
};

int blackHundredths(int value, int side) {
  const int hundredths = value / (SCORE_PER_DISC / 100);
  const int clamped = std::max(-kMaxSearchValue, std::min(kMaxSearchValue, hundredths));
  return side == kBlack ? clamped : -clamped;
}

}  // namespace

std::vector<TrainingPosition> playTrainingGame(std::uint64_t seed, std::int32_t game, const SelfPlaySettings& settings,
                                               tools::TurnSearcher& searcher, bool& failed) {
  std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                         static_cast<std::uint32_t>(game)};
  std::mt19937_64 random(sequence);
  const int randomPlies = std::uniform_int_distribution<int>(settings.randomPliesMin, settings.randomPliesMax)(random);
  const SideSettings side{
      .routine = settings.routine, .normalDepth = settings.depth, .exactDepth = settings.exactDepth};

  failed = false;
  Board board;
  int colour = boardInit(board);
  std::vector<Ply> plies;
  for (int ply = 0, passes = 0; passes < 2; ++ply) {
    const std::vector<int> moves = legalMoves(board, colour);
    if (moves.empty()) {
      ++passes;
      colour = opponentOf(colour);
      continue;
    }
    passes = 0;
    const int empties = emptiesOf(board);
    const bool exploring =
        ply < randomPlies || (ply < randomPlies + settings.epsilonPlies && empties > settings.exactDepth &&
                              std::uniform_int_distribution<int>(0, 99)(random) < settings.epsilonPercent);
    const bool kept = empties <= kPatternMaxEmpties;
    int move = -1;
    int searchValue = kNoSearchValue;
    if (!exploring || kept) {
      // A kept position is searched even when a random move is played, for its value.
      const tools::TurnResult turn = searcher.play(board, colour, side);
      if (isMarker(turn.value) || turn.move < 0) {
        failed = true;
        return {};
      }
      move = turn.move;
      searchValue = blackHundredths(turn.value, colour);
    }
    if (exploring) move = randomMove(moves, random);
    if (kept) plies.push_back({board, colour, !exploring && empties <= settings.exactDepth, searchValue});
    boardPlayInPlace(board, move, colour);
    colour = opponentOf(colour);
  }

  DiscCounts counts;
  boardCount(board, counts);
  std::vector<TrainingPosition> positions;
  positions.reserve(plies.size());
  for (const Ply& ply : plies) {
    positions.push_back({ply.board, ply.side, ply.exact ? LabelKind::Played : LabelKind::Outcome, counts[0] - counts[1],
                         game, ply.searchValue});
  }
  return positions;
}

}  // namespace kaimo::train
