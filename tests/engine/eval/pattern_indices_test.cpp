// The pattern indices a search keeps move by move against those of the board
// read square by square, and the value "狐" gives a search node against the
// straightforward computation, on every line of play a few plies deep from
// positions of random games and boards with walls, through every stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <random>

#include "engine/eval/pattern_evaluator.h"
#include "engine/eval/pattern_inputs.h"
#include "engine/eval/score.h"
#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
#include "tests/engine/eval/pattern_reference.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo {
namespace {

// A node as the search holds it, with the board it stands for.
struct Node {
  Board board;
  BitBoard bits;
  int side;
  PatternIndices indices;
};

class IncrementalIndices : public testing::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    stages_ = testing::writeEveryStage(500, 4000, 20000);
    ASSERT_EQ(static_cast<int>(stages_.size()), kStageFileCount);
    evaluator_ = std::make_unique<PatternEvaluator>(std::make_shared<const PatternData>(""));
    ASSERT_FALSE(evaluator_->failed());
  }

  // Checks `node`, then every child `depth` plies on (a pass is a child that
  // keeps the discs); the child's indices come from the parent's by the move
  // alone, and the parent's stay as they were.
  void walk(const Node& node, int depth) {
    check(node);
    if (::testing::Test::HasFatalFailure() || depth == 0) return;
    const PatternIndices before = node.indices;
    const Bits own = node.side == kBlack ? node.bits.black : node.bits.white;
    const Bits opp = node.side == kBlack ? node.bits.white : node.bits.black;
    Bits moves = bitLegalMoves(own, opp, node.bits.empty);
    if (moves == 0) {
      if (bitLegalMoves(opp, own, node.bits.empty) != 0)
        walk({node.board, node.bits, opponentOf(node.side), node.indices}, depth - 1);
      return;
    }
    for (; moves != 0; moves &= moves - 1) {
      const int square = lowestSquare(moves);
      Node child{node.board, {}, opponentOf(node.side), node.indices};
      boardPlayInPlace(child.board, square, node.side);
      child.bits = toBits(child.board);
      patternIndicesPlay(child.indices, square, bitFlips(own, opp, square), node.side);
      walk(child, depth - 1);
      ASSERT_EQ(node.indices.raw, before.raw) << "a child changed its parent's indices";
    }
  }

  void check(const Node& node) {
    ++checked_;
    const BitBoard& b = node.bits;
    ASSERT_EQ(node.indices.raw, patternIndicesOf(b.black, b.white).raw) << "node " << checked_;
    const int empties = bitCount(b.empty);
    if (empties == 0 || empties > kPatternMaxEmpties) return;
    stagesSeen_[stageOfEmpties(empties)] = true;
    walls_ += bitCount(kAllSquares & ~(b.black | b.white | b.empty)) > 0;
    NetworkInputs inputs;
    collectInputs(node.board, node.side, evaluator_->data().indexTables(), evaluator_->data().layout(), inputs);
    std::array<int, kActiveRowCount> rows;
    evaluator_->data().rowsOf(node.indices, rows);
    ASSERT_EQ(rows, inputs.rows) << "node " << checked_;
    ASSERT_EQ(patternFeatures(b.black, b.white, b.empty, node.side), inputs.features);
    // The whole value against the straightforward computation, on a sample.
    if (checked_ % 16 != 0) return;
    const int expected = reference::score(node.board, node.side, tables_, stages_.at(stageOfEmpties(empties)));
    ASSERT_EQ(evaluator_->score(node.indices, b.black, b.white, b.empty, node.side), expected) << "node " << checked_;
  }

  static Node nodeOf(const Board& board, int side) {
    const BitBoard bits = toBits(board);
    return {board, bits, side, patternIndicesOf(bits.black, bits.white)};
  }

  std::map<int, testing::StageData> stages_;
  reference::Tables tables_;
  std::unique_ptr<PatternEvaluator> evaluator_;
  long checked_ = 0;
  long walls_ = 0;
  std::array<bool, 24> stagesSeen_{};
};

// A random board with this many empty squares, some walls and discs of
// either colour on the rest.
Board wallBoard(std::mt19937& rng, int empties) {
  std::array<int, kSquareCount> squares;
  for (int s = 0; s < kSquareCount; ++s) squares[s] = s;
  std::shuffle(squares.begin(), squares.end(), rng);
  const int walls = static_cast<int>(rng() % 12);
  Board b;
  for (int i = 0; i < kSquareCount; ++i) {
    b[squares[i]] = static_cast<std::int8_t>(i < empties ? kEmpty : i < empties + walls ? kWall : rng() % 2);
  }
  return b;
}

TEST_F(IncrementalIndices, MatchTheBoardReadSquareBySquareThroughEveryStage) {
  std::mt19937 rng(24);
  for (int round = 0; round < 7; ++round) {
    for (int plies = 8; plies < 96; plies += 2) {
      int side;
      const Board game = plain::randomGame(rng, plies, &side);
      walk(nodeOf(game, side), 2);
      ASSERT_FALSE(HasFatalFailure());
      walk(nodeOf(wallBoard(rng, std::max(1, 96 - plies - static_cast<int>(rng() % 8))), static_cast<int>(rng() % 2)),
           2);
      ASSERT_FALSE(HasFatalFailure());
    }
  }
  EXPECT_GE(checked_, 100000);
  EXPECT_GE(walls_, 1000);
  for (int s = kFirstStageFile; s < kFirstStageFile + kStageFileCount; ++s) EXPECT_TRUE(stagesSeen_[s]) << s;
}

}  // namespace
}  // namespace kaimo
