// The study tools that follow a whole game, through the controller: the
// hint's values, the review's graph and its bad moves, and the game as
// clipboard text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/controller/game_texts.h"
#include "app/review/review_read.h"
#include "app/controller/move_list.h"
#include "app/controller/move_values.h"
#include "app/records/record_limits.h"
#include "app/records/record_status.h"
#include "app/records/record_text.h"
#include "app/review/review_text.h"
#include "engine/board/notation.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_analysis.h"
#include "tests/app/controller/controller_fixture.h"
#include "tests/common/plain_board.h"
#include "tests/engine/search/reference_minimax.h"

namespace kaimo {
namespace {

using testing::blackMustPassBoard;
using testing::emptyCount;
using testing::firstLegalSquare;
using testing::initialBoard;
using testing::kComputer;
using testing::kHuman;
using testing::legalSquares;
using testing::nearlyFullBoard;
using testing::quickSettings;
using testing::setPosition;
using testing::tickUntil;

SideSettings sideSettings(int routine, int normal, int exact) {
  return SideSettings{.routine = routine, .normalDepth = normal, .exactDepth = exact};
}

// What `kaimo-cli search` prints for a position: the computer turn's own
// search through the same driver calls, as the mover's value and its move.
struct TurnSearch {
  int value;
  int move;
};
TurnSearch computerTurnSearch(const Board& board, int side, const SideSettings& s) {
  SearchJob job;
  prepareComputerMove(job, board, side, s, {}, nullptr);
  const int value = searchRoot(board, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
  return {value, job.context.bestMove};
}

int blackView(int side, int value) { return side == kBlack ? value : -value; }

class GameStudy : public testing::ControllerFixture<> {
 protected:
  void SetUp() override { make(quickSettings(kHuman, kHuman)); }
  void playFirstLegalMoves(int count) {
    startAndTick();
    for (int i = 0; i < count; ++i) clickAndTick(firstLegalSquare(c().game().board(), c().game().side()));
  }
  bool reviewComplete() {
    return c().review().review().readCount(c().game().history()) + 1 == c().game().history().size();
  }
};

struct HintCase {
  const char* name;
  int plies;   // seeded random plies from the initial position
  int normal;  // the side's normal depth
  int exact;   // and its exact-read depth
};

// The case's name, not a dump of its bytes (a pointer among them), in the
// test's name: the same from build to build.
void PrintTo(const HintCase& hc, std::ostream* out) { *out << hc.name; }

class Hint : public GameStudy, public ::testing::WithParamInterface<HintCase> {};

// The hint at the side's settings gives, for its best move, what the
// computer's own search of the position gives, and where the exact-read
// depth covers the empties, every move's value is the endgame analysis's.
TEST_P(Hint, ValuesMatchTheComputerTurnAndTheAnalysis) {
  const HintCase& hc = GetParam();
  std::mt19937 rng(1500 + hc.plies);
  Board board;
  int side;
  do {
    board = plain::randomGame(rng, hc.plies, &side);
  } while (plain::mobility(board, side) < 2);
  settings = quickSettings(kComputer, kComputer, hc.normal, hc.exact);
  setPosition(c(), board, side);
  c().startHint();
  EXPECT_EQ(c().mode(), ViewMode::Idle) << "the hint holds no command up";
  ASSERT_TRUE(tickUntil(c(), [&] { return c().study().bestSquare() >= 0; }));

  const SideSettings s = sideSettings(kComputer, hc.normal, hc.exact);
  const TurnSearch turn = computerTurnSearch(board, side, s);
  ASSERT_GE(c().study().bestSquare(), 0);
  EXPECT_EQ(c().study().squareValues()[c().study().bestSquare()], turn.value);
  EXPECT_EQ(c().study().squareValues()[turn.move], turn.value) << "the computer's move is among the best";
  EXPECT_EQ(window.panes[kProgressPane],
            texts::hintText(c().study().bestSquare(), turn.value, emptyCount(board) <= hc.exact).japanese);
  for (int square : legalSquares(board, side)) EXPECT_NE(c().study().squareValues()[square], SCORE_NONE);

  if (emptyCount(board) <= hc.exact) {
    SquareValues exact;
    analyzeEndgame(board, side, routineEvaluator(kSimpleRoutine), {}, exact, nullptr, nullptr);
    EXPECT_EQ(c().study().squareValues(), exact);
  }
}

INSTANTIATE_TEST_SUITE_P(Positions, Hint,
                         ::testing::Values(HintCase{"Opening", 0, 4, 13}, HintCase{"MidgameOddDepth", 30, 3, 13},
                                           HintCase{"MidgameDepth5", 45, 5, 13}, HintCase{"Exact", 86, 6, 13},
                                           HintCase{"ExactByTheSettings", 82, 2, 16}),
                         [](const auto& test) { return std::string(test.param.name); });

// A human has no routine: its hint reads with "狐" when the data are
// there, else with "狸", and the best move's text says which.
TEST_F(GameStudy, AHumansHintSaysWhichRoutineReadIt) {
  settings = quickSettings(kHuman, kHuman, 2, 0);
  c().startHint();
  ASSERT_TRUE(tickUntil(c(), [&] { return c().study().bestSquare() >= 0; }));
  const int reader = foxDataReadable() ? kPatternRoutine : kSimpleRoutine;
  const std::string said = texts::hintReaderText(reader).japanese;
  const std::string& pane = window.panes[kProgressPane];
  ASSERT_GE(pane.size(), said.size());
  EXPECT_EQ(pane.substr(pane.size() - said.size()), said) << pane;
}

TEST_F(GameStudy, PauseStopsTheHintAndClearsIt) {
  settings = quickSettings(kHuman, kHuman, 30, 0);  // 29 plies a move: far longer than the test
  c().startHint();
  EXPECT_EQ(window.panes[kProgressPane], texts::kHint.japanese);
  c().onTimer();
  c().pause();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(c().study().bestSquare(), -1);
  EXPECT_TRUE(std::all_of(c().study().squareValues().begin(), c().study().squareValues().end(),
                          [](int v) { return v == SCORE_NONE; }));
  EXPECT_EQ(window.panes[kProgressPane], "") << "the hint's text goes with it";
}

// A game from a nearly full board, every move the worst one: each point of
// the graph is the exact value of its position, and the summary names each
// side's costliest move first with what it lost.
TEST_F(GameStudy, ReviewOfASolvedGameIsExactAndNamesTheWorstMoves) {
  setPosition(c(), nearlyFullBoard(), kBlack);
  c().start();
  c().onTimer();
  while (c().mode() == ViewMode::Playing) {
    const Board board = c().game().board();
    const int side = c().game().side();
    Board child;
    int worst = -1;
    int worstValue = SCORE_INF;
    for (int s : legalSquares(board, side)) {
      plain::play(board, child, s, side);
      const int value = -testing::referenceValue(child, opponentOf(side));
      if (value < worstValue) worst = s, worstValue = value;
    }
    clickAndTick(worst);
  }
  ASSERT_TRUE(tickUntil(c(), [&] { return reviewComplete(); }));
  const std::vector<GraphPoint> points = c().review().graphPoints();
  const History& history = c().game().history();
  ASSERT_EQ(points.size(), history.size());
  for (std::size_t i = 0; i < history.size(); ++i) {
    EXPECT_EQ(points[i].kind, ReviewValueKind::Exact);
    EXPECT_EQ(points[i].value, blackView(history[i].side, testing::referenceValue(history[i].board, history[i].side)));
  }
  const std::vector<MoveReview> moves = c().review().review().moves(history);
  for (int colour : {kBlack, kWhite}) {
    int largest = 0;
    for (const MoveReview& move : moves) {
      if (move.colour == colour) largest = std::max(largest, move.loss());
    }
    const std::vector<MoveReview> named = largestLosses(moves, colour);
    if (largest == 0) {
      EXPECT_TRUE(named.empty());
    } else {
      ASSERT_FALSE(named.empty()) << "colour " << colour;
      EXPECT_EQ(named[0].loss(), largest);
    }
  }
  EXPECT_EQ(c().review().summary().japanese, texts::reviewSummaryText(c().review().review(), history).japanese);
}

// The texts a move list may come in, all giving the game the test played.
TEST_F(GameStudy, PastedMoveListsAndRecordsGiveTheGame) {
  playFirstLegalMoves(6);
  const History played = c().game().history();
  std::vector<std::string> names;
  for (std::size_t i = 0; i + 1 < played.size(); ++i) names.push_back(squareName(played[i].move));
  auto upper = [](std::string s) {
    s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
  };
  std::string joined, numbered, upperCase, commas;
  for (std::size_t i = 0; i < names.size(); ++i) {
    joined += names[i];
    numbered += std::to_string(i + 1) + ". " + names[i] + (i == 2 ? " パス " : " ");
    upperCase += upper(names[i]) + "\n";
    commas += (i ? ", " : "") + std::to_string(i + 1) + "." + names[i];
  }
  EXPECT_EQ(c().recordText(), joined) << "a game from the start copies as one line of moves";
  for (const std::string& text : {joined, numbered, upperCase, commas}) {
    make(quickSettings(kHuman, kHuman));
    window.messages.clear();
    c().pasteRecord(text);
    EXPECT_EQ(c().game().history(), played) << text;
    EXPECT_EQ(c().game().cursor(), 0);
    EXPECT_TRUE(window.messages.empty()) << text;
  }
}

// A move list of a whole game, as another program writes it: the game ends
// on the last move, with no pass after it in the list.
TEST_F(GameStudy, PastedFinishedGameEndsWithItsLastMove) {
  std::mt19937 rng(88);
  Board board = initialBoard();
  int side = kBlack;
  int lastMover = -1;
  std::string moves;
  for (;;) {
    if (plain::mobility(board, side) == 0) side = opponentOf(side);
    const std::vector<int> legal = legalSquares(board, side);
    if (legal.empty()) break;
    const int square = legal[rng() % legal.size()];
    moves += squareName(square) + " ";
    Board next;
    plain::play(board, next, square, side);
    board = next;
    lastMover = side;
    side = opponentOf(side);
  }
  c().pasteRecord(moves);
  ASSERT_EQ(c().game().history().back().board, board);
  // The turn goes back to the colour that played last, as the rule has it.
  EXPECT_EQ(c().game().history().back().side, lastMover);
  const std::vector<MoveListRow> rows = moveListRows(c().game().history());
  EXPECT_EQ(rows.back().kind, MoveRowKind::Move) << "no pass row after the last move";
}

// The rows after a move, from the history alone: a pass where the other
// colour could not move but the mover could; nothing where the move ended
// the game, although the mover keeps the turn there.
TEST(MoveList, APassRowOnlyWhereTheGameWentOn) {
  // A corner of a few discs: white d1, black e1, white must pass, black c3.
  Board corner;
  corner.fill(kEmpty);
  for (int square : {0, 20, 21}) corner[square] = kBlack;
  for (int square : {10, 12}) corner[square] = kWhite;
  // White a1 over black a2: white a3 takes black's last disc and ends the game.
  const Board ending = blackMustPassBoard();
  struct Case {
    const char* name;
    Board start;
    int side;
    std::vector<int> moves;
    std::vector<MoveRowKind> rows;
  };
  using K = MoveRowKind;
  const Case cases[] = {
      {"white passes", corner, kWhite, {30, 40, 22}, {K::Start, K::Move, K::Move, K::Pass, K::Move}},
      {"the move ends the game", ending, kWhite, {2}, {K::Start, K::Move}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = "B";
    for (int row = 0; row < 10; ++row) {
      for (int column = 0; column < 10; ++column) text += "xo.-"[c.start[squareAt(column, row)]];
    }
    text += "T" + std::to_string(c.side);
    for (int square : c.moves) text += squareName(square);
    const RecordReadResult read = readRecordText(text);
    ASSERT_EQ(read.status, RecordStatus::Ok);
    ASSERT_EQ(read.history.size(), c.moves.size() + 1);
    std::vector<K> kinds;
    for (const MoveListRow& row : moveListRows(read.history)) kinds.push_back(row.kind);
    EXPECT_EQ(kinds, c.rows);
  }
}

TEST_F(GameStudy, PastedRecordWithABoardAndABrokenOne) {
  setPosition(c(), nearlyFullBoard(), kBlack);
  playFirstLegalMoves(2);
  const History played = c().game().history();
  const std::string text = c().recordText();
  ASSERT_EQ(text.rfind("B", 0), 0u) << "a game from an edited board starts with the board";
  make(quickSettings(kHuman, kHuman));
  c().pasteRecord(text);
  EXPECT_EQ(c().game().history(), played);

  c().pasteRecord(squareName(played[0].move) + " z9");
  EXPECT_EQ(window.messages, std::vector<std::string>{recordStatusMessage(RecordStatus::FormatError)});
  EXPECT_EQ(c().game().history().size(), 2u) << "what was read before the fault stays";
}

// A clipboard larger than any record is refused before it is read, and the
// unsaved game stays without a question.
TEST_F(GameStudy, APasteTooLargeForARecordKeepsTheGame) {
  playFirstLegalMoves(2);
  const History played = c().game().history();
  window.messages.clear();
  c().pasteRecord(std::string(kMaxRecordTextBytes + 1, 'x'));
  EXPECT_EQ(window.messages, std::vector<std::string>{recordStatusMessage(RecordStatus::FormatError)});
  EXPECT_TRUE(window.questions.empty());
  EXPECT_EQ(c().game().history(), played);
}

}  // namespace
}  // namespace kaimo
