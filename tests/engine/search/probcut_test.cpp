// The ProbCut table's file, the bounds it gives a node, and searches with
// it: the cuts save nodes, a read to the end is never cut, a missing or
// damaged file turns ProbCut off with one log line.
#include "engine/search/probcut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>

#include "engine/eval/pattern_eval.h"
#include "engine/eval/routines.h"
#include "engine/search/midgame_search.h"
#include "engine/search/search_driver.h"
#include "support/files/checksum.h"
#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
#include "tests/engine/search/search_test_support.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo {
namespace {

constexpr int kInf = SCORE_INF;

// Every pair different, so an entry read into the wrong place shows.
ProbCutTable distinctTable() {
  ProbCutTable table(3, 30, 3, 6);
  for (int stage = 0; stage < 3; ++stage) {
    for (int depth = 3; depth <= 6; ++depth) {
      table.at(stage, depth) = {depth - 1 - stage % 2, 0.9 + 0.01 * depth, -200.0 * stage + depth,
                                1000.0 + 100 * depth};
    }
  }
  return table;
}

void putWord(std::string& bytes, std::size_t offset, std::int32_t word) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(static_cast<std::uint32_t>(word) >> (8 * i));
}

// The bytes with their checksum made right again, so a check behind it shows.
std::string resealed(std::string bytes) {
  const std::size_t end = bytes.size() - 8;
  const std::uint64_t sum = checksumOf(std::string_view(bytes).substr(0, end));
  for (int i = 0; i < 8; ++i) bytes[end + i] = static_cast<char>(sum >> (8 * i));
  return bytes;
}

// The same table as a file of version 1, which had no checksum.
std::string firstVersion(const std::string& bytes) {
  std::string old = bytes.substr(0, bytes.size() - 8);
  putWord(old, 4, 1);
  return old;
}

TEST(ProbCutFile, ReadsBackWhatWasWritten) {
  const ProbCutTable table = distinctTable();
  const std::string bytes = probCutFileBytes(table);
  ASSERT_EQ(bytes.size(), 24u + 16u * 3 * 4 + 8);
  std::string fault;
  const auto read = parseProbCutFile(bytes, fault);
  ASSERT_TRUE(read) << fault;
  EXPECT_EQ(read->stageOf(95), 2);
  EXPECT_EQ(read->stageOf(29), 0);
  for (int stage = 0; stage < 3; ++stage) {
    for (int depth = 3; depth <= 6; ++depth) {
      const ProbCutPair& a = table.at(stage, depth);
      const ProbCutPair& b = read->at(stage, depth);
      EXPECT_EQ(b.shallow, a.shallow);
      EXPECT_NEAR(b.slope, a.slope, 1e-4);
      EXPECT_NEAR(b.intercept, a.intercept, 0.5);
      EXPECT_NEAR(b.deviation, a.deviation, 0.5);
    }
  }
  EXPECT_EQ(probCutFileBytes(*read), bytes);
}

TEST(ProbCutFile, RefusesWhatIsNotSuchAFile) {
  const std::string good = probCutFileBytes(distinctTable());
  struct Damage {
    const char* what;
    std::size_t offset;
    std::int32_t word;
  };
  // Offsets: the header's words, then entry 0 (stage 0, depth 3).
  const Damage damages[] = {
      {"magic", 0, 0x4e4b4f4b},
      {"version", 4, 3},
      {"no stage", 8, 0},
      {"stages", 8, 97},
      {"width", 12, 0},
      {"first depth", 16, 0},
      {"last depth", 20, 2},
      {"shallow", 24, 3},
      {"shallow below 0", 24, -1},
      {"slope", 28, 0},
      {"intercept", 32, 100001},
      {"deviation", 36, 0},
      {"more stages than bytes", 8, 4},
  };
  for (const Damage& d : damages) {
    std::string bytes = good;
    putWord(bytes, d.offset, d.word);
    std::string fault;
    EXPECT_FALSE(parseProbCutFile(resealed(bytes), fault)) << d.what;
    EXPECT_FALSE(fault.empty()) << d.what;
  }
  std::string fault;
  for (const std::string& bytes :
       {std::string(), good.substr(0, 23), good.substr(0, good.size() - 1), good + '\0', firstVersion(good)}) {
    EXPECT_FALSE(parseProbCutFile(bytes, fault)) << bytes.size();
  }
  // Any one bit flipped, also one that leaves every field in its range.
  for (std::size_t bit = 0; bit < 8 * good.size(); ++bit) {
    std::string bytes = good;
    bytes[bit / 8] = static_cast<char>(bytes[bit / 8] ^ (1 << bit % 8));
    EXPECT_FALSE(parseProbCutFile(bytes, fault)) << "bit " << bit;
  }
}

TEST(ProbCutTable, NodesBeyondTheLastDepthKeepItsGap) {
  const ProbCutTable table = distinctTable();
  ProbCutPair pair;
  EXPECT_FALSE(table.pairFor(50, 2, pair));
  ASSERT_TRUE(table.pairFor(50, 4, pair));
  EXPECT_EQ(pair.shallow, table.at(1, 4).shallow);
  ASSERT_TRUE(table.pairFor(200, 9, pair));  // beyond the last stage too
  EXPECT_EQ(pair.shallow, table.at(2, 6).shallow + 3);
  EXPECT_EQ(pair.deviation, table.at(2, 6).deviation);
}

TEST(ProbCutBounds, PutTheWindowThroughTheLine) {
  const ProbCutPair identity{2, 1.0, 0, 2000};
  const ProbCutBounds plain = probCutBounds(identity, 1.5, -1000, 1000);
  EXPECT_EQ(plain.high, 4000);
  EXPECT_EQ(plain.low, -4000);
  const ProbCutBounds steep = probCutBounds({2, 2.0, 500, 2000}, 1.5, -1000, 1001);
  EXPECT_EQ(steep.high, 1751);  // ceil((1001 + 3000 - 500) / 2)
  EXPECT_EQ(steep.low, -2250);
  // Bounds no value can meet ask for no search.
  const ProbCutBounds wide = probCutBounds(identity, 1.5, -kInf, kInf);
  EXPECT_EQ(wide.high, kInf);
  EXPECT_EQ(wide.low, -kInf);
  EXPECT_EQ(probCutBounds(identity, 1.5, 0, SCORE_WIPEOUT - 2999).high, kInf);
  EXPECT_EQ(probCutBounds(identity, 1.5, 0, SCORE_WIPEOUT - 3000).high, SCORE_WIPEOUT);
}

TEST(ProbCutSettings, ComeFromTheWordsWithinTheirRanges) {
  const ProbCutTable table = distinctTable();
  const ProbCut cut = probCutOf(&table, 1500, 15, 8);
  EXPECT_EQ(cut.table, &table);
  EXPECT_DOUBLE_EQ(cut.confidence, 1.5);
  EXPECT_EQ(cut.maxDepth, 15);
  EXPECT_EQ(cut.aboveEmpties, 8);
  const ProbCut wild = probCutOf(&table, -5, 1000, -1);
  EXPECT_EQ(wild.confidence, 0);
  EXPECT_EQ(wild.maxDepth, 60);
  EXPECT_EQ(wild.aboveEmpties, 0);
  EXPECT_EQ(probCutOf(&table, 99999, 0, 0).confidence, kMaxCutValue / 1000.0);
  EXPECT_EQ(probCutOf(nullptr, 1500, 15, 8).table, nullptr);
}

struct Read {
  int value;
  int move;
  std::int64_t nodes;
};

// A computer turn's read of `depth` plies by "狸", with `cut` (or none).
Read readWith(const Board& b, int side, int depth, const ProbCut& cut, int exactDepth = 0) {
  SearchJob job;
  prepareComputerMove(job, b, side,
                      SideSettings{.routine = kSimpleRoutine, .normalDepth = depth, .exactDepth = exactDepth}, {},
                      nullptr);
  job.context.setup.probCut = cut;
  const int value = searchRoot(b, side, job.depth, -kInf, kInf, job.context, 0, job.progressSpan);
  return {value, job.context.bestMove, job.context.thread.nodeCount};
}

TEST(ProbCutSearch, CutsSaveNodesAndPlayALegalMove) {
  const ProbCutTable table = testing::rashProbCutTable();
  std::mt19937 rng(26);
  for (int i = 0; i < 6; ++i) {
    int side;
    const Board b = plain::randomGame(rng, 20 + 6 * i, &side);
    if (boardMobility(b, side) == 0) continue;
    const Read full = readWith(b, side, 6, {});
    const Read cut = readWith(b, side, 6, probCutOf(&table, 0, 60, 0));
    const Read none = readWith(b, side, 6, probCutOf(&table, 0, 2, 0));  // no node deep enough may check
    EXPECT_LT(cut.nodes, full.nodes) << i;
    EXPECT_TRUE(boardIsLegal(b, cut.move, side)) << i;
    EXPECT_EQ(none.value, full.value) << i;
    EXPECT_EQ(none.nodes, full.nodes) << i;
  }
}

TEST(ProbCutSearch, AReadToTheEndIsNeverCut) {
  const ProbCutTable table = testing::rashProbCutTable();
  std::mt19937 rng(27);
  for (int i = 0; i < 6; ++i) {
    const Board b = testing::randomEndgame(rng, 10 + i % 3, i % 2 == 0 ? 0 : 20, 50);
    const int side = i % 2;
    if (boardMobility(b, side) == 0) continue;
    const int empties = testing::countsOf(b)[2];
    const Read exact = readWith(b, side, 8, {}, empties);
    EXPECT_EQ(readWith(b, side, 8, probCutOf(&table, 0, 60, 0), empties).value, exact.value) << i;
  }
}

// The value of a normal read by "狸" of `depth` plies with `cut`, in (alpha, beta), without a table.
int readIn(const Board& b, int side, int depth, const ProbCut& cut, int alpha, int beta) {
  SearchContext context;
  prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 0, nullptr);
  const BitBoard bits = toBits(b);
  context.thread.rootEmpty = bits.empty;
  context.setup.probCut = cut;
  const Bits own = side == kBlack ? bits.black : bits.white, opp = side == kBlack ? bits.white : bits.black;
  return searchMidgame(context.thread, own, opp, side, depth, alpha, beta);
}

// ProbCut's boundaries, at a root of E empty squares read 4 plies deep with
// a pair for that depth only (the read of 2 plies taken as the deep value,
// no margin), where the shallow value lies above the deep one: a shallow
// value exactly on the window's top cuts (the read answers beta), one a
// point under it does not; B = E - 1 lets the root try, B = E does not.
TEST(ProbCutSearch, CutsOnTheBoundAndOnlyAboveTheEmptiesLimit) {
  ProbCutTable table(1, 96, 4, 4);
  table.at(0, 4) = {2, 1.0, 0, 1};
  std::mt19937 rng(31);
  int positions = 0;
  for (int i = 0; i < 12; ++i) {
    int side;
    const Board b = plain::randomGame(rng, 40 + 3 * i, &side);  // B counts up to 60 empty squares
    if (boardMobility(b, side) == 0) continue;
    const int shallow = readIn(b, side, 2, {}, -kInf, kInf), deep = readIn(b, side, 4, {}, -kInf, kInf);
    if (deep >= shallow) continue;  // a cut would answer what the full read does
    ++positions;
    const int empties = testing::countsOf(b)[2];
    const struct {
      int beta, minEmpties, value;
    } cases[] = {{shallow, empties - 1, shallow}, {shallow + 1, empties - 1, deep}, {shallow, empties, deep}};
    for (const auto& c : cases) {
      EXPECT_EQ(readIn(b, side, 4, probCutOf(&table, 0, 60, c.minEmpties), deep - 1000, c.beta), c.value)
          << i << ": beta " << c.beta << " (shallow " << shallow << "), B " << c.minEmpties << " of " << empties;
    }
  }
  EXPECT_GE(positions, 3);
}

class ProbCutData : public testing::InTempDir {
 protected:
  static int logLines() {
    const std::string log = readFile("errorlog.txt");
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
  }
};

TEST_F(ProbCutData, AMissingOrDamagedFileIsLoggedOnceAndGivesNoTable) {
  EXPECT_EQ(probCutTableIn("missing"), nullptr);
  EXPECT_EQ(probCutTableIn("missing/."), nullptr);
  EXPECT_EQ(logLines(), 1);
  std::filesystem::create_directory("damaged");
  writeFile("damaged/probcut.dat", probCutFileBytes(distinctTable()).substr(1));
  EXPECT_EQ(probCutTableIn("damaged"), nullptr);
  EXPECT_EQ(logLines(), 2);
  std::filesystem::create_directory("old");
  writeFile("old/probcut.dat", firstVersion(probCutFileBytes(distinctTable())));
  EXPECT_EQ(probCutTableIn("old"), nullptr);
  EXPECT_EQ(logLines(), 3);
  std::filesystem::create_directory("good");
  writeFile("good/probcut.dat", probCutFileBytes(distinctTable()));
  const auto good = probCutTableIn("good");
  ASSERT_NE(good, nullptr);
  EXPECT_EQ(probCutTableIn("./good/"), good);
  EXPECT_EQ(good->at(2, 5).shallow, distinctTable().at(2, 5).shallow);
  EXPECT_EQ(logLines(), 3);
}

TEST_F(ProbCutData, ATurnReadsWithProbCutOnlyForTheFoxWithItsTable) {
  testing::writeIndexTables();
  writeFile("probcut.dat", probCutFileBytes(distinctTable()));
  int side;
  std::mt19937 rng(3);
  const Board b = plain::randomGame(rng, 30, &side);
  const int fox = routineIndexOf("狐");
  const Evaluator here = routineEvaluator(fox, patternDataIn("."));
  SearchJob job;
  prepareComputerMove(job, b, side,
                      SideSettings{.routine = fox,
                                   .normalDepth = 4,
                                   .exactDepth = 0,
                                   .probCut = true,
                                   .cutValue = 2000,
                                   .probCutMaxDepth = 12,
                                   .probCutAboveEmpties = 9},
                      here, {}, nullptr);
  ASSERT_NE(job.context.setup.probCut.table, nullptr);
  EXPECT_DOUBLE_EQ(job.context.setup.probCut.confidence, 2.0);
  EXPECT_EQ(job.context.setup.probCut.maxDepth, 12);
  EXPECT_EQ(job.context.setup.probCut.aboveEmpties, 9);
  prepareComputerMove(job, b, side,
                      SideSettings{.routine = fox,
                                   .normalDepth = 4,
                                   .exactDepth = 0,
                                   .cutValue = 2000,
                                   .probCutMaxDepth = 12,
                                   .probCutAboveEmpties = 9},
                      here, {}, nullptr);
  EXPECT_EQ(job.context.setup.probCut.table, nullptr);  // switched off
  prepareComputerMove(job, b, side,
                      SideSettings{.routine = kSimpleRoutine,
                                   .normalDepth = 4,
                                   .exactDepth = 0,
                                   .probCut = true,
                                   .cutValue = 2000,
                                   .probCutMaxDepth = 12,
                                   .probCutAboveEmpties = 9},
                      {}, nullptr);
  EXPECT_EQ(job.context.setup.probCut.table, nullptr);  // "狸": the table is not fitted to its reads
  EXPECT_FALSE(std::filesystem::exists("errorlog.txt"));
}

TEST(SearchDeepening, EachDepthGivesWhatAReadOfThatDepthGives) {
  std::mt19937 rng(8);
  for (int i = 0; i < 4; ++i) {
    int side;
    const Board b = plain::randomGame(rng, 16 + 9 * i, &side);
    if (boardMobility(b, side) == 0) continue;
    SearchJob job;
    prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = 6, .exactDepth = 0}, {},
                        nullptr);
    std::vector<int> depths;
    const int last = searchDeepening(b, side, 6, job.context, [&](int depth, int value, int move) {
      depths.push_back(depth);
      const Read read = readWith(b, side, depth, {});
      EXPECT_EQ(value, read.value) << depth;
      EXPECT_TRUE(boardIsLegal(b, move, side)) << depth;
    });
    EXPECT_EQ(depths, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(last, readWith(b, side, 6, {}).value);
  }
}

}  // namespace
}  // namespace kaimo
