#include "engine/search/midgame_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/search/search_driver.h"
#include "tests/common/plain_board.h"
#include "tests/engine/search/search_test_support.h"

namespace kaimo {
namespace {

using testing::boardFromText;
using testing::EmptiesOf;

constexpr int kInf = SCORE_INF;

// A context for a bare node: no stop, no progress; with or without the table
// (without it, the search has no entries and ignores the one it is given).
SearchContext makeContext(EvalFunc evaluate, int solverDepth, int hashDepth, int orderDepth, bool withTable) {
  SearchContext context;
  prepareSearch(context, 0, evaluate, nullptr, nullptr, 100, 0, 0, 0, 0, solverDepth, hashDepth, 1, orderDepth);
  if (!withTable) context.table = nullptr;
  return context;
}

TableEntry freshEntry(const Board& b, int side) {
  TableEntry entry;
  PositionKey key;
  boardPackKey(key, b, side, 0);
  initEntry(entry, key);
  return entry;
}

// The key of the position `side` leaves by playing `move`, the opponent to move.
PositionKey childKey(const Board& b, int side, int move) {
  Board child;
  boardPlay(b, child, move, side);
  PositionKey key;
  boardPackKey(key, child, opponentOf(side), 0);
  return key;
}

// A fresh entry for `key` put in the context's table; null when the table has no room.
TableEntry* placeEntry(SearchContext& context, const PositionKey& key) {
  auto* entry = static_cast<TableEntry*>(kr_mapLookup(context.table, &key));
  if (entry != nullptr) initEntry(*entry, key);
  return entry;
}

// The squares whose children the evaluation saw, in the order it saw them.
std::vector<Board> evaluated;
int recordingEval(const Board& b, int finalFlag, int side, DiscCounts& counts) {
  evaluated.push_back(b);
  return evalSimple(b, finalFlag, side, counts);
}

std::vector<int> playedSquares(const Board& root) {
  std::vector<int> squares;
  for (const Board& b : evaluated) {
    for (int s = 0; s < kSquareCount; ++s) {
      if (root[s] == kEmpty && b[s] != kEmpty) squares.push_back(s);
    }
  }
  return squares;
}

std::vector<int> legalSquares(const Board& b, int side) {
  std::vector<int> squares;
  for (int s = 0; s < kSquareCount; ++s) {
    if (boardIsLegal(b, s, side)) squares.push_back(s);
  }
  return squares;
}

// A position whose best move at depth 1 is strictly better than the others.
struct UniqueBest {
  Board board;
  int square;
  int value;
};

UniqueBest findUniqueBest() {
  std::mt19937 rng(17);
  for (;;) {
    int side;
    const Board b = plain::randomGame(rng, 30, &side);
    if (side != kBlack) continue;
    std::vector<int> values;
    for (int s : legalSquares(b, kBlack)) {
      Board child;
      boardPlay(b, child, s, kBlack);
      DiscCounts counts;
      boardCount(child, counts);
      values.push_back(evalSimple(child, 0, kWhite, counts));
    }
    if (values.size() < 3) continue;
    const auto best = std::max_element(values.begin(), values.end());
    if (std::count(values.begin(), values.end(), *best) != 1) continue;
    return {b, legalSquares(b, kBlack)[best - values.begin()], *best};
  }
}

TEST(SearchMidgame, FullBoardLeafIsTheMarginAndFillsTheEntry) {
  Board b;
  for (int s = 0; s < kSquareCount; ++s) b[s] = s < 60 ? kBlack : kWhite;
  SearchContext context = makeContext(testing::failingEval, 0, 0, 1, false);
  TableEntry entry = freshEntry(b, kBlack);
  const std::int8_t none[] = {-1};
  EXPECT_EQ(searchMidgame(b, kBlack, 0, -kInf, kInf, context, 0, 0, none, &entry), 20000);
  EXPECT_EQ(entry.lower, 20000);
  EXPECT_EQ(entry.upper, 20000);
  EXPECT_EQ(entry.middle, 20000);
  EXPECT_EQ(context.leafCount, 1);
}

// Like perft at depth 1: without a window to cut, one leaf per legal move,
// ordered or not, and every move ordered exactly once.
TEST(SearchMidgame, DepthOneVisitsEveryMoveOnce) {
  std::mt19937 rng(10);
  for (int i = 0; i < 40; ++i) {
    int side;
    const Board b = plain::randomGame(rng, 10 + i * 2, &side);
    const EmptiesOf empties(b);
    const int moves = boardMobility(b, side);
    for (int orderDepth : {1, 2}) {
      SearchContext context = makeContext(evalSimple, 0, 0, orderDepth, orderDepth == 1);
      const int value = searchMidgame(b, side, 1, -kInf, kInf, context, 0, 0, empties.list, nullptr);
      EXPECT_EQ(context.leafCount, moves);
      EXPECT_EQ(context.orderCount, orderDepth == 1 ? moves : 0);
      EXPECT_EQ(value == SCORE_NO_MOVE, moves == 0);
    }
  }
}

TEST(SearchMidgame, NoMoveAndADoublePassAfterAMove) {
  // Black at c1 takes white's last disc; the corner square left is no move.
  const Board b = boardFromText(
      "xo.-------\n----------\n----------\n----------\n----------\n"
      "----------\n----------\n----------\n----------\n---------.\n");
  const EmptiesOf empties(b);
  for (int orderDepth : {1, 3}) {
    SearchContext context = makeContext(testing::failingEval, 0, 0, orderDepth, false);
    EXPECT_EQ(searchMidgame(b, kWhite, 2, -kInf, kInf, context, 0, 0, empties.list, nullptr), SCORE_NO_MOVE);
    EXPECT_EQ(searchMidgame(b, kBlack, 2, -kInf, kInf, context, 0, 0, empties.list, nullptr), SCORE_WIPEOUT);
    EXPECT_EQ(context.bestMove, 20);
  }
}

TEST(SearchMidgame, StopRequestEndsTheSearchWithNone) {
  Board b;
  const int side = boardInit(b);
  const EmptiesOf empties(b);
  SearchContext context = makeContext(evalSimple, 0, 0, 1, false);
  context.shouldStop = [] { return 1; };
  context.bestMove = -7;
  EXPECT_EQ(searchMidgame(b, side, 6, -kInf, kInf, context, 0, 0, empties.list, nullptr), SCORE_NONE);
}

TEST(SearchMidgame, EqualOrderingValuesKeepListOrderAndTableMovesComeFirst) {
  Board b;
  const int side = boardInit(b);  // the four first moves are mirror images
  const EmptiesOf empties(b);
  const std::vector<int> moves = legalSquares(b, side);
  ASSERT_EQ(moves.size(), 4u);
  SearchContext context = makeContext(recordingEval, 0, 0, 1, true);
  evaluated.clear();
  searchMidgame(b, side, 1, -kInf, kInf, context, 0, 0, empties.list, nullptr);
  EXPECT_EQ(playedSquares(b), moves);

  // Put the last move's child in the table: it is searched first.
  context = makeContext(recordingEval, 0, 0, 1, true);
  TableEntry* entry = placeEntry(context, childKey(b, side, moves[3]));
  ASSERT_NE(entry, nullptr);
  entry->middle = 300000;  // a bad move for us by the table's word: still first
  evaluated.clear();
  searchMidgame(b, side, 1, -kInf, kInf, context, 0, 0, empties.list, nullptr);
  EXPECT_EQ(playedSquares(b), (std::vector<int>{moves[3], moves[0], moves[1], moves[2]}));
  EXPECT_EQ(context.hashFound, 1);
}

TEST(SearchMidgame, SettledEntryAnswersAnyWindowAtOnce) {
  std::mt19937 rng(2);
  int side;
  const Board b = plain::randomGame(rng, 30, &side);
  const EmptiesOf empties(b);
  SearchContext context = makeContext(testing::failingEval, 0, 5, 1, true);
  TableEntry entry = freshEntry(b, side);
  entry.lower = entry.upper = 5000;
  const int windows[][2] = {{-kInf, kInf}, {6000, 7000}, {0, 100}};
  for (const auto& window : windows) {
    EXPECT_EQ(searchMidgame(b, side, 3, window[0], window[1], context, 0, 0, empties.list, &entry), 5000);
  }
  EXPECT_EQ(context.hashCutoffs, 3);
  EXPECT_EQ(context.leafCount, 0);
}

TEST(SearchMidgame, FullTableCreatesNoEntriesButKeepsAnsweringFromOldOnes) {
  Board b;
  const int side = boardInit(b);
  const EmptiesOf empties(b);
  SearchContext context = makeContext(evalSimple, 0, 3, 1, true);
  const PositionKey key = childKey(b, side, legalSquares(b, side)[0]);
  TableEntry* entry = placeEntry(context, key);
  ASSERT_NE(entry, nullptr);
  entry->lower = entry->upper = -7000;  // the child's value: +7000 for us
  context.entryCount = kTableEntryCap;
  const int value = searchMidgame(b, side, 3, -kInf, kInf, context, 0, 0, empties.list, nullptr);
  EXPECT_EQ(kr_mapCount(context.table), 1);
  EXPECT_GE(context.hashCutoffs, 1);
  EXPECT_GE(value, 7000);

  // Above hashDepth a full table is emptied, when that is allowed.
  context = makeContext(evalSimple, 0, 1, 1, true);
  ASSERT_NE(placeEntry(context, key), nullptr);
  context.entryCount = kTableEntryCap;
  searchMidgame(b, side, 3, -kInf, kInf, context, 0, 0, empties.list, nullptr);
  EXPECT_EQ(kr_mapFind(context.table, &key, 0, nullptr), nullptr);  // gone, and depth 2 gets no new one
  EXPECT_GT(context.entryCount, 0);
  EXPECT_EQ(context.entryCount, kr_mapCount(context.table));
}

TEST(SearchMidgame, AllFailLowLeavesTheTriedMarksAsBefore) {
  std::mt19937 rng(4);
  int side;
  const Board b = plain::randomGame(rng, 24, &side);
  const EmptiesOf empties(b);
  SearchContext context = makeContext(evalSimple, 0, 5, 1, true);
  TableEntry entry = freshEntry(b, side);
  entry.tried[0] = 0x0005;  // squares 0 and 2, whatever they are
  entry.tried[6] = 0x0008;
  // Far above anything the simple evaluation can say.
  const int value = searchMidgame(b, side, 2, 500000, 600000, context, 0, 0, empties.list, &entry);
  EXPECT_LT(value, 500000);
  EXPECT_EQ(entry.upper, value);
  EXPECT_EQ(entry.tried[0], 0x0005);
  EXPECT_EQ(entry.tried[6], 0x0008);
  for (int word = 1; word < 6; ++word) EXPECT_EQ(entry.tried[word], 0);
}

// A revisit that skips the move which proved `lower` must not report, or
// store as `upper`, a value below that bound.
TEST(SearchMidgame, RevisitSkippingTheBestMoveKeepsItsLowerBound) {
  const UniqueBest position = findUniqueBest();
  const EmptiesOf empties(position.board);
  SearchContext context = makeContext(evalSimple, 0, 5, 1, true);
  TableEntry entry = freshEntry(position.board, kBlack);
  entry.lower = position.value;
  markTried(entry, position.square);
  const int value = searchMidgame(position.board, kBlack, 1, position.value - 50000, position.value + 1, context, 0, 0,
                                  empties.list, &entry);
  EXPECT_EQ(value, position.value);
  EXPECT_LE(entry.lower, entry.upper);
}

// Every move settled and the bounds still apart: no move is left to search,
// which is not a pass.
TEST(SearchMidgame, RevisitWithEveryMoveSettledIsNotAPass) {
  const UniqueBest position = findUniqueBest();
  const EmptiesOf empties(position.board);
  SearchContext context = makeContext(evalSimple, 0, 5, 1, true);
  TableEntry entry = freshEntry(position.board, kBlack);
  entry.lower = position.value;
  for (int s : legalSquares(position.board, kBlack)) markTried(entry, s);
  EXPECT_EQ(searchMidgame(position.board, kBlack, 1, -kInf, kInf, context, 0, 0, empties.list, &entry),
            position.value);

  // Every square marked and no bound proven: what a side without a move
  // leaves behind, still read as no move.
  TableEntry unknown = freshEntry(position.board, kWhite);
  for (auto& word : unknown.tried) word = 0xffff;
  EXPECT_EQ(searchMidgame(position.board, kWhite, 1, -kInf, kInf, context, 0, 0, empties.list, &unknown),
            SCORE_NO_MOVE);
}

TEST(SearchMidgame, ShallowVisitResumesAtItsOwnSquareWhateverTheMaskHolds) {
  std::mt19937 rng(6);
  int side;
  const Board b = plain::randomGame(rng, 40, &side);
  const EmptiesOf empties(b);
  const std::vector<int> moves = legalSquares(b, side);
  ASSERT_GE(moves.size(), 3u);
  SearchContext context = makeContext(recordingEval, 0, 5, 4, true);
  evaluated.clear();
  const int plain = searchMidgame(b, side, 1, -kInf, kInf, context, 0, 0, empties.list, nullptr);
  for (std::uint16_t mask : {0xffff, 0x8000, 0x0070, 0x0400}) {  // -1, -32768, 112, 1024 as square numbers
    TableEntry entry = freshEntry(b, side);
    entry.tried[0] = mask;
    evaluated.clear();
    EXPECT_EQ(searchMidgame(b, side, 1, -kInf, kInf, context, 0, 0, empties.list, &entry), plain);
    EXPECT_EQ(playedSquares(b), moves);
  }
  TableEntry entry = freshEntry(b, side);
  entry.resume = static_cast<std::int16_t>(moves[1]);
  evaluated.clear();
  searchMidgame(b, side, 1, -kInf, kInf, context, 0, 0, empties.list, &entry);
  EXPECT_EQ(playedSquares(b), std::vector<int>(moves.begin() + 1, moves.end()));
}

TEST(SearchMidgame, EvaluationFailurePassesUpUntouched) {
  std::mt19937 rng(8);
  int side;
  const Board b = plain::randomGame(rng, 30, &side);
  const EmptiesOf empties(b);
  for (int orderDepth : {1, 3, 9}) {
    for (int depth : {1, 2, 4}) {
      SearchContext context = makeContext(testing::failingEval, 1, 5, orderDepth, true);
      context.bestMove = -7;
      TableEntry entry = freshEntry(b, side);
      EXPECT_EQ(searchMidgame(b, side, depth, -kInf, kInf, context, 0, 0, empties.list, &entry), SCORE_EVAL_ERROR);
      EXPECT_EQ(entry.lower, -kInf);
      EXPECT_EQ(entry.upper, kInf);
      EXPECT_EQ(context.bestMove, -7);
    }
  }
}

}  // namespace
}  // namespace kaimo
