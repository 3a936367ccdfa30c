// Games between two computer players for `kaimo-cli match`: seeded random
// openings (or the initial position), each played twice with the colours
// swapped; a side may play from the opening book.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/board/board.h"
#include "engine/book/opening_book.h"
#include "engine/search/search_driver.h"
#include "tools/common/computer_turn.h"

namespace kaimo::cli {

struct Opening {
  Board board;
  int side;
};

// `count` different positions, each `plies` random legal moves (passes
// implied) from the initial position, still unfinished; the same for the same
// seed. Fewer when the plies cannot give that many; with no plies, `count`
// times the initial position.
std::vector<Opening> randomOpenings(int count, int plies, std::uint64_t seed);

// How one side's moves of a game went.
struct MoveTally {
  int moves = 0;
  std::int64_t cpuMsec = 0;        // processor time of all its moves
  int normalReads = 0;             // moves read to a depth (not to the end)
  long depthSum = 0;               // of those reads
  std::int64_t normalCpuMsec = 0;  // their processor time
  int bookMoves = 0;               // moves taken from the opening book (no read)
  std::int64_t maxMsec = 0;        // the processor time of its longest move

  void add(const MoveTally& other);
  double meanDepth() const { return normalReads == 0 ? 0 : static_cast<double>(depthSum) / normalReads; }
  double meanNormalMsec() const { return normalReads == 0 ? 0 : static_cast<double>(normalCpuMsec) / normalReads; }
  double meanMsec() const { return moves == 0 ? 0 : static_cast<double>(cpuMsec) / moves; }
};

struct GameResult {
  int black = 0;  // discs at the end
  int white = 0;
  bool failed = false;  // a search failed (the evaluation data are missing)
  int timeLoss = -1;    // the colour whose clock ran out, which lost the game there; -1 none
  MoveTally blackMoves;
  MoveTally whiteMoves;
  std::vector<int> moves;  // the squares played from the opening, passes left out
};

// One side of a match: its settings and the evaluator it plays with (its
// routine's, or "狐" with another folder's data).
struct MatchPlayer {
  SideSettings settings;
  Evaluator evaluator{};
  std::string dataFolder{};  // where the evaluator reads its files when not the program's own, as given
  int msPerMove = 0;         // 0: reads to its normal depth
  TimeControl clock{};       // a game clock, or a level's time a move, of processor time; or none
  int threads = 1;           // searching one tree together
  int level = 0;             // the window's level it plays as (--level), or 0
  std::shared_ptr<const OpeningBook> book{};  // null: the side always searches
};

// Plays the opening out, each side searching with its own settings, or
// playing from its book while the position is in it (`random` chooses among
// the book's close moves). The searches go through `searcher`. A side with
// a clock spends it as the clock manager says (move_clock.h), counting the
// processor time of each move; a side whose clock runs out loses the game
// there.
GameResult playMatchGame(const Opening& opening, const MatchPlayer& black, const MatchPlayer& white,
                         tools::TurnSearcher& searcher, std::mt19937_64& random);

// The generator of game `game` of a match of seed `seed`: the same game
// whichever process plays it.
std::mt19937_64 gameRandom(std::uint64_t seed, int game);

// How many of the games (an opening and the moves played from it) differ,
// and how many still differ when games that are rotations or reflections of
// each other count as one.
struct DistinctGames {
  int asPlayed = 0;
  int upToSymmetry = 0;
};
DistinctGames countDistinctGames(const std::vector<std::pair<Board, std::vector<int>>>& games);

// Game g of a match plays opening g / 2; the first player is black in even
// games and white in odd ones.
inline bool firstPlaysBlack(int game) { return game % 2 == 0; }

struct MatchTally {
  int wins = 0;
  int draws = 0;
  int losses = 0;
  long marginSum = 0;  // the first player's discs minus the second's

  // A game lost on time is lost whatever the discs say.
  void add(int firstDiscs, int secondDiscs, bool firstLostOnTime = false, bool secondLostOnTime = false);
  int games() const { return wins + draws + losses; }
  double scorePercent() const;  // a win 1, a draw 1/2
  double meanMargin() const;
};

}  // namespace kaimo::cli
