// The review of whole games with the shipped data of "狐" (run in the
// folder that holds them): its losses against the exact analysis, its
// summary, its sameness from one reading to the next, its fallback without
// the data, and the command line against the window's controller.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <stop_token>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/controller/game_controller.h"
#include "app/records/record_writer.h"
#include "app/review/better_move.h"
#include "app/review/review_batch.h"
#include "app/review/review_text.h"
#include "engine/board/notation.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_analysis.h"
#include "tests/app/controller/recording_window.h"
#include "tests/common/capture.h"
#include "tests/common/plain_board.h"
#include "tools/cli/commands.h"
#include "tools/common/computer_turn.h"

namespace kaimo {
namespace {

constexpr int kFox = 2;
// Small reads, so ten games are reviewed in a moment: two plies, exact from
// ten empty squares.
constexpr ReviewSettings kQuick{2, 10};

int emptyCount(const Board& board) {
  DiscCounts counts;
  boardCount(board, counts);
  return counts[2];
}

// A game from a seeded random opening of 14 plies (so every read starts
// within the network's range) to the end, each side searching 2 plies and
// the last 8 empty squares to the end.
History playGame(unsigned seed, int blackRoutine, int whiteRoutine) {
  std::mt19937 rng(seed);
  int side;
  Board board = plain::randomGame(rng, 14, &side);
  History history;
  for (;;) {
    if (boardMobility(board, side) == 0) {
      if (boardMobility(board, opponentOf(side)) == 0) break;
      side = opponentOf(side);
    }
    const SideSettings settings{
        .routine = side == kBlack ? blackRoutine : whiteRoutine, .normalDepth = 2, .exactDepth = 8};
    const tools::TurnResult turn = tools::TurnSearcher().play(board, side, settings);
    history.push_back({side, turn.move, board});
    Board next;
    boardPlay(board, next, turn.move, side);
    board = next;
    side = opponentOf(side);
  }
  history.push_back({side, -1, board});
  return history;
}

// 狐 against 狸 with either colour, and against itself.
History tenGames(int game) {
  const int black = game < 5 && game % 2 == 1 ? kSimpleRoutine : kFox;
  const int white = game < 5 && game % 2 == 0 ? kSimpleRoutine : kFox;
  return playGame(500 + game, black, white);
}

GameReview reviewed(const History& history, ReviewEvaluator evaluator = ReviewEvaluator::Fox) {
  GameReview review(kQuick);
  review.setEvaluator(evaluator);
  readWholeGame(review, history, 2, nullptr);
  return review;
}

class Review : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(foxDataReadable()) << "run where the data of 狐 are"; }
};

// The first `plies` moves of a game, each the lowest legal square.
History openingOf(int plies) {
  Board board;
  int side = boardInit(board);
  History history;
  for (int ply = 0; ply < plies; ++ply) {
    MoveMarks marks;
    boardLegalMarks(board, side, marks);
    int square = 0;
    while (marks[square] == 0) ++square;
    history.push_back({side, square, board});
    boardPlayInPlace(board, square, side);
    side = opponentOf(side);
  }
  history.push_back({side, -1, board});
  return history;
}

// Losses are named in whole discs, rounded half away from zero: a loss of
// half a disc is named, one just under it is not.
TEST(ReviewSummary, RoundsHalfADiscAwayFromZero) {
  const int values[][2] = {{500, 1},  {499, 0},    {1500, 2},   {1499, 1},   {-500, -1},
                           {-499, 0}, {-1500, -2}, {-1499, -1}, {34580, 35}, {-34580, -35}};
  for (const auto& [value, discs] : values) EXPECT_EQ(roundedDiscs(value), discs) << value;
  const History history = openingOf(6);
  const int losses[] = {34580, 500, 1500, 499, 1499, 1500};
  GameReview review;
  for (std::size_t i = 0; i < std::size(losses); ++i) {
    review.record({history[i].board, history[i].side, history[i].move},
                  {ReadOutcome::Done, ReviewValueKind::Estimate, -losses[i], history[i].move, 0, 0});
  }
  const auto named = [&](int entry, int discs) {
    return " " + std::to_string(entry + 1) + "." + squareDisplayName(history[entry].move) + " -" +
           std::to_string(discs) + "石";
  };
  const std::vector<std::string> lines = texts::reviewSummaryLines(review, history, Language::Japanese);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "悪手 黒:" + named(0, 35) + named(2, 2) + named(4, 1));
  EXPECT_EQ(lines[1], "悪手 白:" + named(5, 2) + named(1, 1));
}

// The other moves of a read, with a stand-in read (square i worth
// values[i], the move played worth 0): each is read with a null window at
// the best so far, and only one that beats it again, from that best up.
TEST(ReviewRead, OnlyAMoveThatBeatsTheBestIsReadAgainFromTheBestUp) {
  struct Call {
    int square, alpha, beta;
    bool operator==(const Call&) const = default;
  };
  const int values[] = {-3000, 2000, 2000, 1000, 5000};
  MoveOrder order;
  for (int square = 0; square < 5; ++square) order.moves[order.count++] = {square, 0, 0, kRepliesUnknown};
  std::vector<Call> calls;
  const ValuedMove best = bestAgainst(SearchThread{}, order, {0, 9}, [&](int square, int alpha, int beta) {
    calls.push_back({square, alpha, beta});
    return values[square];  // exact: a fail-soft read may always answer so
  });
  constexpr int kInf = SCORE_INF;
  const std::vector<Call> expected{{0, 0, 1},       {1, 0, 1},       {1, 0, kInf},   {2, 2000, 2001},
                                   {3, 2000, 2001}, {4, 2000, 2001}, {4, 2000, kInf}};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(best.value, 5000);
  EXPECT_EQ(best.square, 4);
}

TEST_F(Review, EndgameLossesAreTheAnalysisLossesAndTheSummaryNamesOnlyLosses) {
  int exactMoves = 0;
  for (int game = 0; game < 10; ++game) {
    const History history = tenGames(game);
    ASSERT_TRUE(historyEndsGame(history));
    const GameReview review = reviewed(history);
    const std::vector<MoveReview> moves = review.moves(history);
    ASSERT_EQ(moves.size() + 1, history.size());
    for (const MoveReview& move : moves) {
      SCOPED_TRACE("game " + std::to_string(game) + " move " + std::to_string(move.entry + 1));
      ASSERT_TRUE(move.known());
      EXPECT_GE(move.loss(), 0);
      const HistoryEntry& entry = history[move.entry];
      if (emptyCount(entry.board) > kQuick.exactEmpties) {
        EXPECT_EQ(move.kind, ReviewValueKind::Estimate);
        continue;
      }
      // What `kaimo-cli analyze` prints for the position.
      SquareValues exact;
      analyzeEndgame(entry.board, entry.side, routineEvaluator(kSimpleRoutine), {}, exact, nullptr, nullptr);
      const int best = *std::max_element(exact.begin(), exact.end(), [](int a, int b) {
        return (a == SCORE_NONE ? -SCORE_INF : a) < (b == SCORE_NONE ? -SCORE_INF : b);
      });
      EXPECT_EQ(move.kind, ReviewValueKind::Exact);
      EXPECT_EQ(move.played, exact[move.square]);
      EXPECT_EQ(move.best, best);
      EXPECT_EQ(exact[move.bestMove], best);
      EXPECT_EQ(move.loss(), best - exact[move.square]);
      ++exactMoves;
    }
    for (int colour : {kBlack, kWhite}) {
      const std::vector<MoveReview> named = largestLosses(moves, colour);
      for (const MoveReview& move : named) EXPECT_GT(roundedDiscs(move.loss()), 0) << "game " << game;
      if (named.empty()) continue;
      // Only the named moves can be worse than the last one named.
      const auto worse = std::count_if(moves.begin(), moves.end(), [&](const MoveReview& move) {
        return move.colour == colour && move.loss() > named.back().loss();
      });
      EXPECT_LT(worse, static_cast<long>(named.size())) << "game " << game;
    }
    for (const std::string& line : texts::reviewSummaryLines(review, history, Language::Japanese)) {
      EXPECT_EQ(line.find(" -0石"), std::string::npos) << line;
    }
  }
  EXPECT_GT(exactMoves, 80);
}

// The same game read again, its positions in the opposite order on one
// thread, gives the same values: nothing depends on what was read before.
TEST_F(Review, TheSameGameGivesTheSameReview) {
  const History history = tenGames(7);
  const std::vector<MoveReview> first = reviewed(history).moves(history);
  GameReview again(kQuick);
  PositionReader reader(kQuick, ReviewEvaluator::Fox);
  for (std::size_t i = history.size() - 1; i-- > 0;) {
    const ReviewRequest request{history[i].board, history[i].side, history[i].move};
    again.record(request, reader.read(request.board, request.side, request.played, {}));
  }
  const std::vector<MoveReview> second = again.moves(history);
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].played, second[i].played) << i;
    EXPECT_EQ(first[i].best, second[i].best) << i;
    EXPECT_EQ(first[i].bestMove, second[i].bestMove) << i;
  }
}

// Without the data of "狐" only the positions within exact reach are read,
// and the summary says so; a stopped read is read again later.
TEST_F(Review, WithoutTheDataOnlyExactPositionsAreReadAndAStoppedReadIsAskedAgain) {
  const History history = tenGames(2);
  const GameReview review = reviewed(history, ReviewEvaluator::ExactOnly);
  const std::vector<GraphPoint> points = review.points(history);
  for (const MoveReview& move : review.moves(history)) {
    const bool exact = emptyCount(history[move.entry].board) <= kQuick.exactEmpties;
    EXPECT_EQ(move.outcome, exact ? ReadOutcome::Done : ReadOutcome::NoData) << move.entry;
    EXPECT_EQ(points[move.entry].value == SCORE_NONE, !exact) << move.entry;
  }
  EXPECT_EQ(texts::reviewSummaryLines(review, history, Language::Japanese).back(), texts::kReviewWithoutFox.japanese);

  GameReview stopped(kQuick);
  PositionReader reader(kQuick, ReviewEvaluator::Fox);
  std::stop_source stop;
  stop.request_stop();
  const ReviewRequest first{history[0].board, history[0].side, history[0].move};
  const PositionRead read = reader.read(first.board, first.side, first.played, stop.get_token());
  EXPECT_EQ(read.outcome, ReadOutcome::Stopped);
  stopped.record(first, read);
  EXPECT_EQ(stopped.pending(history).front(), first);
}

// A record may set the same position again and again (a board token before
// every move): each position is read once, however many entries repeat it,
// so a review's work grows with the record's distinct positions.
TEST_F(Review, APositionTheRecordRepeatsIsReadOnce) {
  const History game = tenGames(1);
  History repeating;
  for (int i = 0; i < 5000; ++i) repeating.push_back(game[static_cast<std::size_t>(i % 3)]);
  repeating.push_back(game[3]);
  GameReview review(kQuick);
  const std::vector<ReviewRequest> wanted = review.pending(repeating);
  ASSERT_EQ(wanted.size(), 3u);
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    EXPECT_EQ(wanted[i], (ReviewRequest{game[i].board, game[i].side, game[i].move})) << i;
  }
  readWholeGame(review, repeating, 2, nullptr);
  EXPECT_TRUE(review.pending(repeating).empty());
  EXPECT_EQ(review.readCount(repeating), 5000u);
}

// `kaimo-cli review` and the window's controller, on the same record file:
// the same line for every move and the same summary.
TEST_F(Review, TheCommandLineAndTheWindowAgree) {
  const History history = tenGames(4);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("kaimo_review_" + std::to_string(::getpid()) + ".txt");
  ASSERT_EQ(writeRecord(path.string(), history).status, RecordStatus::Ok);
  const testing::Captured cli =
      testing::captureCommand(cli::runReview, {"--record", path.string(), "--depth", std::to_string(kQuick.depth),
                                               "--exact", std::to_string(kQuick.exactEmpties)});
  ASSERT_EQ(cli.status, 0);

  PlayerSettings settings = PlayerSettings::defaults();
  testing::RecordingWindow window;
  {
    GameController controller(settings, window);
    controller.review().setSettings(kQuick);
    ASSERT_TRUE(controller.openRecordFile(path.string()));
    ASSERT_TRUE(testing::tickUntil(controller, [&] { return controller.review().summary().japanese.rfind("悪手", 0) == 0; }));
    std::string expected;
    for (const MoveReview& move : controller.review().review().moves(controller.game().history())) {
      expected += texts::reviewLine(move) + "\n";
    }
    expected += controller.review().summary().japanese + "\n";
    EXPECT_EQ(cli.output, expected);
  }
  EXPECT_EQ(window.foreignCalls, 0);
  std::filesystem::remove(path);
  EXPECT_EQ(testing::captureCommand(cli::runReview, {"--record", path.string()}).status, 2) << "a file that has gone";
  EXPECT_THROW(testing::captureCommand(cli::runReview, {"--depth", "2"}), tools::UsageError) << "no record";
  EXPECT_THROW(testing::captureCommand(cli::runReview, {"--record", path.string(), "--depth", "0"}), tools::UsageError);
}

}  // namespace
}  // namespace kaimo
